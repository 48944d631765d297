// SPDX-License-Identifier: MIT
#include "editor/overlaydrawing.h"
#include "editor/surface.h"
#include "editor/wiredrawing.h"
#include "router/router.h"
#include "tools/gen/schematicgen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr QRgb WhitePx = 0xFFFFFFFFu;
constexpr QRgb BlackPx = 0xFF000000u;
constexpr QRgb BluePx = 0xFF0000FFu;

struct Field {
    explicit Field(int scale, int32_t desktop = 0x00FFFFFF) : scale(scale), desktop(desktop) {
        PaintDesktop(surface, scale, desktop, desktop); // grid dots in the desktop colour: a plain field
    }
    void Draw(int hoverNet = -1, bool highlight = false) {
        DrawField(surface, wires, nets, scale, hoverNet, highlight, desktop);
    }
    int scale;
    int32_t desktop;
    QImage surface;
    TGrid wires{WireFree};
    TGrid nets{NoNet};
};

bool AllOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

// Columns of row `y` (or rows of column `x`) that hold `colour`.
std::vector<int> RowRun(const QImage& img, int y, QRgb colour) {
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) == colour) xs.push_back(x);
    return xs;
}
std::vector<int> ColumnRun(const QImage& img, int x, QRgb colour) {
    std::vector<int> ys;
    for (int y = 0; y < img.height(); ++y)
        if (img.pixel(x, y) == colour) ys.push_back(y);
    return ys;
}
std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

struct StraightCase {
    int scale;
    std::vector<int> columns; // inverted pixels of a horizontal cell at (10, 10) on row 10 * scale
    std::vector<int> rows;    // inverted rows in column 10 * scale
};

class StraightWire : public ::testing::TestWithParam<StraightCase> {};

TEST_P(StraightWire, CoversHalfACellEachSideWithThePenWidth) {
    const StraightCase& c = GetParam();
    Field f(c.scale);
    f.wires.at(10, 10) = WireHorizontal;
    f.Draw();
    const int p = 10 * c.scale;
    EXPECT_EQ(RowRun(f.surface, p, BlackPx), c.columns);
    EXPECT_EQ(ColumnRun(f.surface, p, BlackPx), c.rows);
    EXPECT_TRUE(AllOpaque(f.surface));
}

INSTANTIATE_TEST_SUITE_P(Scales, StraightWire,
                         ::testing::Values(StraightCase{10, Range(95, 104), {99, 100}},
                                           StraightCase{3, {29, 30}, {30}},
                                           StraightCase{5, Range(48, 51), {50}},
                                           StraightCase{15, Range(143, 156), {149, 150, 151}},
                                           StraightCase{20, Range(190, 209), {198, 199, 200, 201}}),
                         [](const auto& info) { return "scale" + std::to_string(info.param.scale); });

TEST(DrawField, JunctionDotIsFivePenWidthsAcross) {
    Field f(10);
    f.wires.at(10, 10) = WireJunction;
    f.Draw();
    EXPECT_EQ(RowRun(f.surface, 100, BlackPx), Range(95, 104));
    EXPECT_EQ(ColumnRun(f.surface, 100, BlackPx), Range(95, 104));
    EXPECT_EQ(f.surface.pixel(95, 95), WhitePx); // round, not square

    Field small(3);
    small.wires.at(10, 10) = WireJunction;
    small.Draw();
    EXPECT_EQ(RowRun(small.surface, 30, BlackPx), std::vector<int>{30});
    EXPECT_EQ(ColumnRun(small.surface, 30, BlackPx), std::vector<int>{30});
}

struct ShapeCase {
    int32_t code;
    std::vector<QPoint> on;  // offsets from the grid point that are inverted
    std::vector<QPoint> off; // offsets that are not
};

class WireShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(WireShape, DrawsTheArmsOfItsCode) {
    const ShapeCase& c = GetParam();
    Field f(10);
    f.wires.at(10, 10) = c.code;
    f.Draw();
    for (QPoint d : c.on)
        EXPECT_EQ(f.surface.pixel(100 + d.x(), 100 + d.y()), BlackPx) << d.x() << "," << d.y();
    for (QPoint d : c.off)
        EXPECT_EQ(f.surface.pixel(100 + d.x(), 100 + d.y()), WhitePx) << d.x() << "," << d.y();
}

const QPoint L{-5, 0}, R{4, 0}, U{0, -5}, D{0, 4}, C{0, 0};
INSTANTIATE_TEST_SUITE_P(
    Codes, WireShape,
    ::testing::Values(ShapeCase{WireHorizontal, {L, C, R}, {U, D}},
                      ShapeCase{WireVertical, {U, C, D}, {L, R}}, ShapeCase{WireLeftUp, {L, C, U}, {R, D}},
                      ShapeCase{WireLeftDown, {L, C, D}, {R, U}}, ShapeCase{WireRightUp, {R, C, U}, {L, D}},
                      ShapeCase{WireRightDown, {R, C, D}, {L, U}},
                      ShapeCase{WireCrossing, {L, R, U, D, C, {-1, -1}}, {{-3, -3}}},
                      ShapeCase{10007, {}, {L, R, U, D, C}}, ShapeCase{WireBody, {}, {L, R, U, D, C}}));

TEST(DrawField, NeighbouringCellsMeetWithoutGapOrOverlap) {
    Field f(10);
    for (int x = 10; x <= 12; ++x)
        f.wires.at(x, 10) = WireHorizontal;
    f.wires.at(13, 10) = WireLeftDown;
    f.wires.at(13, 11) = WireVertical;
    f.Draw();
    EXPECT_EQ(RowRun(f.surface, 100, BlackPx), Range(95, 130));
    EXPECT_EQ(ColumnRun(f.surface, 130, BlackPx), Range(99, 114));
}

TEST(DrawField, TwiceRestoresTheSurfaceAtEveryScale) {
    Schematic s;
    GenerateSchematic(s, 7, GenOptions{.elements = 40, .nets = 60});
    RoutingGrids g;
    RouteWires(s, g);
    for (int scale : {3, 4, 7, 10, 13, 20}) {
        Field f(scale, 0x00C08040);
        f.wires = g.WireMap;
        f.nets = g.NetMap;
        const QImage before = f.surface.copy();
        f.Draw(3, true);
        EXPECT_NE(f.surface, before) << scale;
        EXPECT_TRUE(AllOpaque(f.surface)) << scale;
        f.Draw(3, true);
        EXPECT_EQ(f.surface, before) << scale;
    }
}

// Runs of cells are filled together; the pixels must be those of every cell drawn on its own.
TEST(DrawField, WholeFieldEqualsEveryCellDrawnAlone) {
    Schematic s;
    GenerateSchematic(s, 5, GenOptions{.elements = 12, .nets = 10});
    RoutingGrids g;
    RouteWires(s, g);
    for (int scale : {3, 10, 17}) {
        Field whole(scale), single(scale);
        whole.wires = g.WireMap;
        whole.nets = g.NetMap;
        whole.Draw(1, true);
        int cells = 0;
        for (int x = 0; x <= GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y) {
                if (g.WireMap.at(x, y) < WireHorizontal || g.WireMap.at(x, y) > WireJunction) continue;
                single.wires.fill(WireFree);
                single.wires.at(x, y) = g.WireMap.at(x, y);
                single.nets.at(x, y) = g.NetMap.at(x, y);
                single.Draw(1, true);
                ++cells;
            }
        EXPECT_GT(cells, 100);
        EXPECT_EQ(whole.surface, single.surface) << scale;
    }
}

struct HighlightCase {
    const char* name;
    int32_t desktop;
    bool highlight;
};

class Highlight : public ::testing::TestWithParam<HighlightCase> {};

TEST_P(Highlight, HoveredNetIsPureBlueOthersInverse) {
    const HighlightCase& c = GetParam();
    Field f(10, c.desktop);
    for (int x = 10; x <= 20; ++x) {
        f.wires.at(x, 10) = f.wires.at(x, 20) = WireHorizontal;
        f.nets.at(x, 10) = 2;
        f.nets.at(x, 20) = 5;
    }
    f.Draw(5, c.highlight);
    const QRgb inverse = ~ColorFromInt(c.desktop).rgb() | 0xFF000000u;
    EXPECT_EQ(f.surface.pixel(150, 100), inverse);
    EXPECT_EQ(f.surface.pixel(150, 200), c.highlight ? BluePx : inverse);
    EXPECT_TRUE(AllOpaque(f.surface));
}

INSTANTIATE_TEST_SUITE_P(Desktops, Highlight,
                         ::testing::Values(HighlightCase{"white_on", 0x00FFFFFF, true},
                                           HighlightCase{"white_off", 0x00FFFFFF, false},
                                           HighlightCase{"teal_on", 0x00808000, true},
                                           HighlightCase{"teal_off", 0x00808000, false}),
                         [](const auto& info) { return info.param.name; });

TEST(DrawSelectionRectangle, DashedOutlineRemovedByASecondDraw) {
    Field f(10);
    const QImage before = f.surface.copy();
    DrawSelectionRectangle(f.surface, {300, 200}, {120, 80});
    EXPECT_NE(f.surface, before);
    EXPECT_EQ(f.surface.pixel(200, 140), WhitePx); // inside stays
    const std::vector<int> top = RowRun(f.surface, 80, BlackPx);
    EXPECT_GT(top.size(), 30u);
    EXPECT_LT(top.size(), 170u); // dashed
    EXPECT_GE(top.front(), 120);
    EXPECT_LE(top.back(), 300);
    EXPECT_TRUE(AllOpaque(f.surface));
    DrawSelectionRectangle(f.surface, {300, 200}, {120, 80});
    EXPECT_EQ(f.surface, before);
}

struct MarkerCase {
    const char* name;
    TLeg leg;
    QPoint centre;
};

class LegMarker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(LegMarker, RedDotHalfACellInsideThatASecondDrawRemoves) {
    const MarkerCase& c = GetParam();
    QImage picture(40, 50, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(20, 20, qRgb(10, 20, 30));
    const QImage before = picture.copy();
    DrawLegMarker(picture, c.leg, 0x00FFFFFF);
    EXPECT_EQ(picture.pixel(c.centre), 0xFFFF0000u);
    EXPECT_EQ(RowRun(picture, c.centre.y(), 0xFFFF0000u).size(), 10u);
    EXPECT_TRUE(AllOpaque(picture));
    DrawLegMarker(picture, c.leg, 0x00FFFFFF);
    EXPECT_EQ(picture, before);
}

INSTANTIATE_TEST_SUITE_P(Sides, LegMarker,
                         ::testing::Values(MarkerCase{"left", TLeg{.X = 0, .Y = 2}, {5, 20}},
                                           MarkerCase{"right", TLeg{.X = 4, .Y = 3}, {35, 30}}),
                         [](const auto& info) { return info.param.name; });

} // namespace

// SPDX-License-Identifier: MIT
// Copied parts and pasting them: the clipboard format read back (and refused when damaged), a paste
// as one step that lists new chips and special elements, and a drag taken back before its end.
#include "tests/document/historyfixture.h"

#include "document/clippart.h"
#include "model/freespot.h"
#include "model/netlist.h"

#include <QDataStream>
#include <QTemporaryDir>

#include <numeric>

namespace {

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        d.setPlacementSource(TestPlacement());
        // Chip K1 with two elements, both placed, and a switch and a probe.
        QStandardItem* chip = d.ListChip(QStringLiteral("K1"), 2);
        d.PlaceNode(chip->child(0), false);
        d.PlaceNode(chip->child(1), false);
        d.PlaceNode(d.ListSpecial(ElementKind::Switch), false);
        d.PlaceNode(d.ListSpecial(ElementKind::Probe), false);
        d.MoveElements({{1, {10, 10}}, {2, {20, 10}}, {3, {2, 12}}, {4, {30, 10}}});
        // Switch -> first gate -> second gate -> probe; one more net leaves the part (gate 2 to
        // a third gate that is not copied).
        d.ConnectPins({3, 0}, {1, 0});
        d.ConnectPins({1, 2}, {2, 0});
        d.ConnectPins({2, 2}, {4, 0});
    }

    void Select(const std::vector<int>& elements) {
        s().DeselectAll();
        for (int k : elements)
            s().SelectElement(k);
    }
    TClipPart Copy(const std::vector<int>& elements) {
        Select(elements);
        return CopySelection(s(), TestPlacement());
    }
    Schematic& s() { return d.schematic(); }
    QTemporaryDir dir;
    bool HasWire(int net) const {
        for (int x = 0; x <= GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y)
                if (d.grids().NetMap.at(x, y) == net) return true;
        return false;
    }

    SchematicDocument d;
};

TEST_F(Clipboard, ACopyKeepsTheNetsWhosePinsAreAllCopied) {
    const TClipPart part = Copy({1, 2, 3});
    ASSERT_EQ(part.elements.size(), 3u);
    EXPECT_EQ(part.elements[0].mark, QStringLiteral("K1"));
    EXPECT_EQ(part.elements[1].chipSlot, 2);
    EXPECT_TRUE(part.elements[2].mark.isEmpty());
    // The net to the probe (element 4) is left out.
    ASSERT_EQ(part.nets.size(), 2u);
    EXPECT_EQ(part.nets[0], (TConns{{3, 0}, {1, 0}}));
    EXPECT_EQ(part.nets[1], (TConns{{1, 2}, {2, 0}}));
    // The picture is the catalogue's, without the designator written on the placed one.
    EXPECT_EQ(part.elements[0].data.picture, TestChipData().picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(part.elements[0].data.picture, s().element(1).Bitmap);
}

TEST_F(Clipboard, TheOwnFormatReadsBackAndTheTextIsANetlist) {
    const TClipPart part = Copy({1, 2, 3, 4});
    const std::optional<TClipPart> back = DecodeClipPart(EncodeClipPart(part));
    ASSERT_TRUE(back);
    EXPECT_EQ(EncodeClipPart(*back), EncodeClipPart(part));
    EXPECT_EQ(back->nets, part.nets);

    // The text form reads back as the same elements and nets.
    Schematic read;
    const NetlistResult r = ReadNetlist(ClipPartText(part), read);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(read.ElementCount(), 4);
    EXPECT_EQ(read.element(1).Name, QStringLiteral("D1.1"));
    EXPECT_EQ(read.element(1).Coord, (TPoint32{10, 10}));
    EXPECT_EQ(read.Conns(), part.nets);
}

TEST_F(Clipboard, DamagedDataIsRefused) {
    const QByteArray good = EncodeClipPart(Copy({1, 2, 3}));
    // A pin beyond the copied elements, written as a well-formed part.
    TClipPart badPin = Copy({1, 2});
    badPin.nets.push_back({{1, 0}, {3, 0}});
    TClipPart badLeg = Copy({1, 2});
    badLeg.nets.push_back({{1, 0}, {2, 9}});
    TClipPart badSlot = Copy({1});
    badSlot.elements[0].chipSlot = 3;
    TClipPart offField = Copy({1});
    offField.elements[0].coord = {GridMax - 1, 0};
    TClipPart badPins = Copy({1});
    badPins.elements[0].data.leftPins = QStringLiteral("01x");
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"cut short", good.left(good.size() / 2)},
        {"one byte more", good + '\0'},
        {"other magic", QByteArray(good).replace(0, 1, "X")},
        {"pin of no copied element", EncodeClipPart(badPin)},
        {"leg the element lacks", EncodeClipPart(badLeg)},
        {"element beyond its chip", EncodeClipPart(badSlot)},
        {"element off the field", EncodeClipPart(offField)},
        {"pin string with other characters", EncodeClipPart(badPins)},
        {"no elements", EncodeClipPart(TClipPart{})},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(DecodeClipPart(bytes)) << name;
}

TEST_F(Clipboard, APasteListsANewChipAndNewSpecialsAndIsOneStep) {
    const TClipPart part = Copy({1, 2, 3});
    const Snapshot before = TakeSnapshot(d);
    const int steps = d.undoStack().count();
    ASSERT_EQ(d.Paste(part, TPoint32{50, 40}), PasteFault::None);
    EXPECT_EQ(d.undoStack().count(), steps + 1);
    EXPECT_EQ(d.undoKind(), StepKind::Paste);
    ASSERT_EQ(s().ElementCount(), 7);
    // A second chip, numbered as the add-chip dialog numbers it, and the next switch.
    EXPECT_EQ(s().ChipCount(), 2);
    EXPECT_EQ(s().element(5).Name, QStringLiteral("D2.1"));
    EXPECT_EQ(s().element(6).Name, QStringLiteral("D2.2"));
    EXPECT_EQ(s().element(7).Name, QStringLiteral("Переключатель2"));
    const QStandardItem* group = s().navigator().model().item(0);
    EXPECT_EQ(group->text(), QStringLiteral("K1"));
    EXPECT_EQ(Navigator::dataRef(group), 2);
    EXPECT_EQ(Navigator::imageIndex(group->child(1)), Navigator::ImagePlaced);
    // The part's top-left cell (2, 10) lands on (50, 40), the others keep their offsets.
    EXPECT_EQ(s().element(7).Coord, (TPoint32{50, 42}));
    EXPECT_EQ(s().element(5).Coord, (TPoint32{58, 40}));
    EXPECT_EQ(s().element(6).Coord, (TPoint32{68, 40}));
    // The nets among them, anew; only the pasted elements are selected; the wires are routed.
    ASSERT_EQ(s().Conns().size(), 5u);
    EXPECT_EQ(s().Conns()[3], (TConns{{7, 0}, {5, 0}}));
    EXPECT_EQ(s().Conns()[4], (TConns{{5, 2}, {6, 0}}));
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(s().element(k).Selected, k >= 5) << k;
    EXPECT_TRUE(HasWire(4));
    EXPECT_TRUE(CheckInvariants(s()).empty());

    d.Undo();
    EXPECT_EQ(TakeSnapshot(d).DifferenceFrom(before), "");
    d.Redo();
    EXPECT_EQ(s().ElementCount(), 7);
    EXPECT_EQ(s().element(6).Name, QStringLiteral("D2.2"));
}

// Regression: the chip groups of a loaded tree carry no chip number, and the elements of two chips
// were pasted as one chip.
TEST_F(Clipboard, ChipsOfALoadedTreeStayApart) {
    QStandardItem* second = d.ListChip(QStringLiteral("K2"), 1);
    d.PlaceNode(second->child(0), false);
    const TSchematicFileNames names = SchematicFileNames(dir.filePath(QStringLiteral("t.tsv")));
    ASSERT_EQ(d.Save(names), QString());
    ASSERT_TRUE(d.Load(names).complete);
    const int n = s().ElementCount();
    std::vector<int> all(static_cast<size_t>(n));
    std::iota(all.begin(), all.end(), 1);
    const TClipPart part = Copy(all);
    ASSERT_EQ(d.Paste(part, TPoint32{100, 100}), PasteFault::None);
    QStringList marks;
    for (int r = 0; r < s().navigator().model().rowCount(); ++r)
        marks << s().navigator().model().item(r)->text();
    EXPECT_EQ(marks.count(QStringLiteral("K1")), 2) << marks.join(u' ').toStdString();
    EXPECT_EQ(marks.count(QStringLiteral("K2")), 2) << marks.join(u' ').toStdString();
}

TEST_F(Clipboard, WithoutAPlaceThePasteLandsBesideTheOriginals) {
    const TClipPart part = Copy({1, 2});
    ASSERT_EQ(d.Paste(part, std::nullopt), PasteFault::None);
    const TCellBox first = CellBoxOf(s().element(5)), second = CellBoxOf(s().element(6));
    // The originals' offsets, on no other element.
    EXPECT_EQ(second.left - first.left, 10);
    EXPECT_EQ(second.top, first.top);
    for (int pasted : {5, 6})
        for (int k = 1; k <= 4; ++k) {
            const TCellBox a = CellBoxOf(s().element(pasted)), b = CellBoxOf(s().element(k));
            EXPECT_TRUE(a.right < b.left || b.right < a.left || a.bottom < b.top || b.bottom < a.top)
                << pasted << " on " << k;
        }
}

TEST_F(Clipboard, ASixthProbeRefusesThePasteAndLeavesNothing) {
    for (int i = 0; i < 4; ++i)
        d.PlaceNode(d.ListSpecial(ElementKind::Probe), false);
    ASSERT_EQ(s().OscCount(), 5);
    const TClipPart part = Copy({1, 2, 4});
    const Snapshot before = TakeSnapshot(d);
    const int steps = d.undoStack().count();
    EXPECT_EQ(d.Paste(part, TPoint32{60, 60}), PasteFault::SixthProbe);
    EXPECT_EQ(TakeSnapshot(d).DifferenceFrom(before), "");
    EXPECT_EQ(d.undoStack().count(), steps);
    EXPECT_EQ(s().ChipCount(), 1);
}

TEST_F(Clipboard, AnElementNoNodeListsIsPastedAsItWas) {
    // As a netlist loads them: in the table, not in the navigator.
    TElement e = s().element(1);
    e.Name = QStringLiteral("D9.1");
    e.Coord = {40, 40};
    ASSERT_EQ(s().AddElement(e), 5);
    const TClipPart part = Copy({5});
    EXPECT_TRUE(part.elements[0].mark.isEmpty());
    ASSERT_EQ(d.Paste(part, TPoint32{60, 40}), PasteFault::None);
    EXPECT_EQ(s().element(6).Name, QStringLiteral("D9.1"));
    EXPECT_EQ(s().element(6).Bitmap, s().element(5).Bitmap);
    EXPECT_EQ(s().element(6).Legs.size(), s().element(5).Legs.size());
    EXPECT_EQ(s().element(6).Coord, (TPoint32{60, 40}));
    EXPECT_EQ(s().ChipCount(), 1);
}

TEST_F(Clipboard, AGeneratorKeepsItsDurations) {
    const int gen = d.PlaceNode(d.ListSpecial(ElementKind::Generator), false);
    d.SetGeneratorDurations(gen, 7, 9);
    const TClipPart part = Copy({3, gen});
    ASSERT_EQ(d.Paste(*DecodeClipPart(EncodeClipPart(part)), TPoint32{80, 80}), PasteFault::None);
    const int n = s().ElementCount();
    EXPECT_EQ(s().element(n).Reaction_HL, 7);
    EXPECT_EQ(s().element(n).Reaction_LH, 9);
    d.Undo();
    EXPECT_EQ(s().ElementCount(), n - 2);
    d.Redo();
    EXPECT_EQ(s().element(n).Reaction_HL, 7);
}

TEST(CancelMove, ADragTakenBackLeavesPositionsWiresAndHistoryAsBefore) {
    SchematicDocument d;
    d.setPlacementSource(TestPlacement());
    QStandardItem* chip = d.ListChip(QStringLiteral("K1"), 2);
    d.PlaceNode(chip->child(0), false);
    d.PlaceNode(chip->child(1), false);
    d.MoveElements({{2, {20, 8}}});
    d.ConnectPins({1, 2}, {2, 0});
    const Snapshot before = TakeSnapshot(d);
    const int steps = d.undoStack().count();
    // A drag that routed on its way.
    d.MoveElement(1, {5, 30});
    d.Reroute();
    d.MoveElement(1, {6, 31});
    d.Reroute();
    ASSERT_NE(TakeSnapshot(d).DifferenceFrom(before), "");
    EXPECT_TRUE(d.CancelMove());
    EXPECT_EQ(TakeSnapshot(d).DifferenceFrom(before), "");
    EXPECT_EQ(d.undoStack().count(), steps);
    EXPECT_FALSE(d.moving());
    EXPECT_FALSE(d.CancelMove());
    // The history goes on as if the drag never was.
    d.Undo();
    EXPECT_TRUE(d.schematic().Conns().empty());
}

} // namespace

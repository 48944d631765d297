// SPDX-License-Identifier: MIT
// A first schematic built by hand as a new user builds it: chips from the default catalogue
// through the add-chip dialog, an inverter and a NAND placed from the navigator, moved apart and
// wired with the mouse, then simulated.
#include "app/navigatorpanel.h"
#include "catalogue/catalogue.h"
#include "editor/workspaceframe.h"
#include "sim/timescaledialog.h"
#include "tests/app/appfixture.h"
#include "tools/userscript/userscript.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace {

class FirstSchematic : public CatalogueAppFixture {
protected:
    void SetUp() override {
        CatalogueAppFixture::SetUp();
        if (HasFatalFailure()) return;
        QTest::mouseMove(form->windowHandle(), QPoint(1, 1));
    }
};

TEST_F(FirstSchematic, AnInverterDrivingBothInputsOfANandSettlesAfterTheirDelays) {
    TForm1& f = *form;
    Schematic& s = f.model();
    using namespace UserScript;

    AddChips(f, {QStringLiteral("К155ЛН1"), QStringLiteral("К155ЛА3")});
    const QStandardItemModel& tree = s.navigator().model();
    ASSERT_EQ(tree.rowCount(), 2);
    EXPECT_EQ(tree.item(0)->text(), QStringLiteral("К155ЛА3"));
    EXPECT_EQ(tree.item(0)->rowCount(), 4);
    EXPECT_EQ(tree.item(1)->text(), QStringLiteral("К155ЛН1"));
    EXPECT_EQ(tree.item(1)->rowCount(), 6);

    PlaceNode(f, QStringLiteral("D1.1"));
    PlaceNode(f, QStringLiteral("D2.1"));
    ASSERT_EQ(s.ElementCount(), 2);
    const int inv = 1, nand = 2;
    // The first lands on the top-left corner, the second beside it.
    EXPECT_EQ(s.element(inv).Coord, (TPoint32{0, 0}));
    EXPECT_EQ(s.element(nand).Coord, (TPoint32{s.element(inv).CellWidth + 2, 0}));

    MoveElement(f, nand, {22, 6});
    MoveElement(f, inv, {6, 8});
    EXPECT_EQ(s.element(nand).Coord, (TPoint32{22, 6}));
    EXPECT_EQ(s.element(inv).Coord, (TPoint32{6, 8}));

    const QList<int> invIn = LeftLegs(f, inv), invOut = RightLegs(f, inv);
    const QList<int> nandIn = LeftLegs(f, nand), nandOut = RightLegs(f, nand);
    ASSERT_EQ(invIn.size(), 1);
    ASSERT_EQ(invOut.size(), 1);
    ASSERT_EQ(nandIn.size(), 2);
    ASSERT_EQ(nandOut.size(), 1);
    const TPinRef y{inv, invOut[0]}, a{nand, nandIn[0]}, b{nand, nandIn[1]}, q{nand, nandOut[0]};

    DragWire(f, y, a);
    EXPECT_EQ(f.NavPanel->Label1->text(), QStringLiteral("1"));
    DragWire(f, b, y);
    ASSERT_EQ(s.Conns(), (std::vector<TConns>{{y, a, b}}));
    EXPECT_EQ(f.NavPanel->Label1->text(), QStringLiteral("1"));
    // The wire is routed: cells between the two chips belong to the net.
    int wired = 0;
    for (int x = 11; x < 22; ++x)
        for (int row = 0; row <= GridMax; ++row)
            wired += f.Frame21->grids().NetMap.at(x, row) == 0;
    EXPECT_GE(wired, 11);

    // One unit per cycle; the NAND's output is watched unit by unit.
    f.window<TForm15>()->TrackBar1->setValue(1);
    std::vector<uint8_t> q_levels;
    f.simulationRun().onCycle = [&] {
        q_levels.push_back(s.element(nand).Legs[static_cast<size_t>(q.Leg)].Level);
        if (f.simulator().SimTime >= 60 || q_levels.size() > 1000) f.ToolButton7Click();
    };
    QTest::mouseClick(f.ToolButton6, Qt::LeftButton); // the run stays inside this click
    f.simulationRun().onCycle = nullptr;

    EXPECT_EQ(f.simulator().SimTime, 60);
    EXPECT_EQ(s.element(inv).Legs[static_cast<size_t>(y.Leg)].Level, 1);
    ASSERT_EQ(f.simulator().NetLevels.size(), 1u);
    EXPECT_EQ(f.simulator().NetLevels[0], 1);
    // With both inputs low the NAND rose first; once the inverter's high reached them it fell.
    const auto rose = std::find(q_levels.begin(), q_levels.end(), 1);
    ASSERT_NE(rose, q_levels.end());
    EXPECT_NE(std::find(rose, q_levels.end(), 0), q_levels.end());
    EXPECT_EQ(q_levels.back(), 0);
    EXPECT_EQ(s.element(nand).Legs[static_cast<size_t>(q.Leg)].Level, 0);
}

} // namespace

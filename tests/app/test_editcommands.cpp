// SPDX-License-Identifier: MIT
// The "Правка" selection commands, "Удалить выделенные элементы" and the hidden "Destroy" button.
#include "app/mainwindow.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "sim/oscilloscopeframe.h"
#include "sim/oscilloscopewindow.h"
#include "tests/app/appfixture.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <set>
#include <vector>

namespace {

class EditCommands : public AppFixture {
protected:
    void SetUp() override {
        start();
        for (int i = 1; i <= 4; ++i) {
            TElement e;
            e.Name = QStringLiteral("D%1").arg(i);
            e.Coord = {5 + 10 * i, 5};
            e.CellWidth = 4;
            e.CellHeight = 3;
            e.Legs = BuildLegs(QStringLiteral("01"), QStringLiteral("01"), 4);
            ASSERT_EQ(s().AddElement(e), i);
        }
    }

    Schematic& s() { return form->model(); }

    std::set<int> selection() {
        std::set<int> sel;
        for (int i = 1; i <= s().ElementCount(); ++i)
            if (s().element(i).Selected) sel.insert(i);
        return sel;
    }

    // Button4Click replaces the routing log: a mark left in it shows that no re-route ran.
    void markLog() { form->Memo2->setPlainText(QStringLiteral("unrouted")); }
    bool rerouted() const { return form->Memo2->toPlainText() != QStringLiteral("unrouted"); }
};

TEST_F(EditCommands, SelectionCommandsThroughTheMenuDoNotReroute) {
    struct Step {
        QAction* TForm1::*action;
        std::set<int> after;
    };
    s().SelectElement(2);
    markLog();
    const std::vector<Step> steps = {{&TForm1::ActInvert, {1, 3, 4}},
                                     {&TForm1::ActSelectAll, {1, 2, 3, 4}},
                                     {&TForm1::ActDeselect, {}},
                                     {&TForm1::ActInvert, {1, 2, 3, 4}}};
    for (const Step& step : steps) {
        (form.get()->*step.action)->trigger();
        EXPECT_EQ(selection(), step.after) << (form.get()->*step.action)->text().toStdString();
    }
    EXPECT_FALSE(rerouted());
}

TEST_F(EditCommands, DeleteSelectedRelinksTheNavigatorThenReroutes) {
    ASSERT_TRUE(s().AddNet({{1, 1}, {2, 0}, {4, 1}}));
    ASSERT_TRUE(s().AddNet({{2, 1}, {3, 0}}));
    form->Button4Click();
    ASSERT_NE(form->Frame21->grids().NetMap.at(30, 7), NoNet); // the wire of net 1 into element 3
    markLog();
    // Two placed nodes in the navigator: the deleted element's goes back to listed, the other follows
    // its element to the new slot.
    QStandardItem* group = s().ListChip(QStringLiteral("K"), 0);
    for (int i : {2, 3}) {
        QStandardItem* node = Navigator::makeNode(QStringLiteral("D%1").arg(i), Navigator::ImagePlaced);
        Navigator::setDataRef(node, i);
        group->appendRow(node);
    }
    s().SelectElement(2);
    form->ActDeleteSelected->trigger();
    EXPECT_EQ(s().ElementCount(), 3);
    EXPECT_EQ(Navigator::imageIndex(group->child(0)), Navigator::ImageListed);
    EXPECT_EQ(Navigator::dataRef(group->child(1)), 2);
    EXPECT_TRUE(rerouted());
    ASSERT_EQ(s().Conns().size(), 1u);
    EXPECT_EQ(s().Conns()[0], (TConns{{1, 1}, {3, 1}}));
    RoutingGrids expected;
    RouteWires(s(), expected);
    EXPECT_EQ(form->Frame21->grids().WireMap, expected.WireMap);
    EXPECT_EQ(form->Frame21->grids().NetMap, expected.NetMap);
}

TEST_F(EditCommands, DestroyDeletesTheSelectionAndNothingElse) {
    ASSERT_TRUE(s().AddNet({{2, 1}, {3, 0}}));
    form->Button4Click();
    const RoutingGrids before = form->Frame21->grids();
    markLog();
    QStandardItem* group = s().ListChip(QStringLiteral("K"), 0);
    QStandardItem* node = Navigator::makeNode(QStringLiteral("D4"), Navigator::ImagePlaced);
    Navigator::setDataRef(node, 4);
    group->appendRow(node);
    EXPECT_FALSE(form->DestroyButton->isVisible());
    EXPECT_EQ(form->DestroyButton->text(), QStringLiteral("Destroy"));
    s().SelectElement(3);
    form->DestroyButton->click();
    EXPECT_EQ(s().ElementCount(), 3);
    EXPECT_TRUE(s().Conns().empty());
    EXPECT_EQ(Navigator::dataRef(node), 4); // not re-linked
    EXPECT_FALSE(rerouted());
    EXPECT_EQ(form->Frame21->grids().NetMap, before.NetMap); // the old wires stay until a re-route
    // Nothing selected: nothing happens.
    form->DestroyButton->click();
    EXPECT_EQ(s().ElementCount(), 3);
}

// A deletion changes the channels: a visible oscilloscope window lays its panels out anew, a
// hidden one waits for its next opening.
TEST_F(EditCommands, AVisibleOscilloscopeWindowFollowsADeletionOfAProbe) {
    auto* scope = form->window<TForm17>();
    ASSERT_NE(scope, nullptr);
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(s().ListSpecial(ElementKind::Probe), nullptr);
    ASSERT_TRUE(s().SetOscChannel(2, 2));
    ASSERT_TRUE(s().SetOscChannel(3, 4));
    s().SelectElement(1);
    form->ActDeleteSelected->trigger();
    EXPECT_FALSE(scope->isVisible());
    EXPECT_EQ(s().OscChannel(2), 1);
    EXPECT_EQ(s().OscChannel(3), 3);

    form->ActOscilloscopes->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scope));
    EXPECT_FALSE(scope->Frame181->PanelShown(1)); // no probe on channel 1
    EXPECT_EQ(scope->Frame181->channel(3).Panel->y(), 60);
    s().SelectElement(1); // the probe of channel 2 (old element 2)
    form->ActDeleteSelected->trigger();
    QApplication::processEvents();
    EXPECT_EQ(s().OscChannel(2), 0);
    EXPECT_EQ(s().OscChannel(3), 2); // old element 4, two deletions below it
    EXPECT_EQ(scope->CheckListBox1->item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(scope->Frame181->PanelShown(2));
    EXPECT_EQ(scope->Frame181->channel(3).Panel->y(), 0);
    EXPECT_EQ(scope->OuterHeight(), 125);
    scope->hide();
}

} // namespace

// SPDX-License-Identifier: MIT
// The navigator panel in a running main window: selecting through the tree, placing a listed chip
// element with a double click, "Удалить".
#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "tests/app/appfixture.h"
#include "tests/catalogue/catalogue_fixture.h"
#include "tests/common/testutil.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTreeView>

namespace {

class NavigatorPanelTest : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString bases = dir.filePath(QStringLiteral("bases"));
        QDir().mkpath(bases);
        WriteCatalogue(bases, {{"P", 40, 50}}, {{"NAND", "P", "0110", "0001"}},
                       {{"K1", "t", "NAND", 1},
                        {"K2", "t", "NAND", 2},
                        {"K3", "t", "NAND", 4},
                        {"BAD", "t", "NAND", 1}});
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("delays"));
            db.setDatabaseName(QDir(bases).filePath(QStringLiteral("microchips.db")));
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(
                q.exec(QStringLiteral("UPDATE microchips SET React_Time_LH = 11, React_Time_HL = 7")));
            ASSERT_TRUE(
                q.exec(QStringLiteral("UPDATE microchips SET React_Time_LH = 'abc' WHERE Mark = 'BAD'")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("delays"));
        start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    Schematic& s() { return form->model(); }
    QTreeView* tree() { return form->NavPanel->TreeView1; }

    // Makes `node` current and double clicks it in the tree view.
    void DoubleClick(QStandardItem* node) {
        const QModelIndex index = form->NavPanel->viewIndex(node);
        tree()->expandAll();
        tree()->scrollTo(index);
        const QPoint at = tree()->visualRect(index).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
    }
    void Click(QStandardItem* node) {
        tree()->expandAll();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualRect(form->NavPanel->viewIndex(node)).center());
    }
};

TEST_F(NavigatorPanelTest, ADoubleClickPlacesTheListedElementAtTheTopLeftCorner) {
    s().ListChip(QStringLiteral("K1"), 1);
    s().ListChip(QStringLiteral("K2"), 2);
    QStandardItem* group = s().ListChip(QStringLiteral("K3"), 4);
    ASSERT_EQ(group->child(1)->text(), QStringLiteral("D3.2"));

    DoubleClick(group->child(1));
    ASSERT_EQ(s().ElementCount(), 1);
    const TElement& e = s().element(1);
    EXPECT_EQ(e.Name, QStringLiteral("D3.2"));
    ASSERT_EQ(e.Legs.size(), 3u);
    EXPECT_EQ(e.Legs[2].X, e.CellWidth);
    EXPECT_EQ(e.Legs[2].Y, 4);
    EXPECT_EQ(e.Reaction_LH, 11);
    EXPECT_EQ(Navigator::imageIndex(group->child(1)), Navigator::ImagePlaced);
    ElementPicture* picture = form->Frame21->picture(1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(2, 2, 40, 50));
    EXPECT_TRUE(form->Memo1->toPlainText().endsWith(QStringLiteral("legs1 0110\nlegs2 0001")));

    // A group or a placed node places nothing.
    DoubleClick(group);
    DoubleClick(group->child(1));
    EXPECT_EQ(s().ElementCount(), 1);

    // Clicking the placed node selects its element.
    Click(group->child(1));
    EXPECT_TRUE(s().element(1).Selected);
}

TEST_F(NavigatorPanelTest, ABadDelayRefusesThePlacingWithItsText) {
    QStandardItem* group = s().ListChip(QStringLiteral("BAD"), 1);
    AcceptNextMessageBox();
    DoubleClick(group->child(0));
    EXPECT_EQ(LastMessageBoxText().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_EQ(Navigator::imageIndex(group->child(0)), Navigator::ImageListed);
}

TEST_F(NavigatorPanelTest, RemoveLeavesThePlacedNodeListedAndItPlacesAgain) {
    QStandardItem* group = s().ListChip(QStringLiteral("K2"), 2);
    DoubleClick(group->child(0));
    DoubleClick(group->child(1));
    ASSERT_EQ(s().ElementCount(), 2);
    s().SetCoord(1, {20, 30});

    Click(group->child(0));
    form->NavPanel->Button5->click();
    EXPECT_EQ(s().ElementCount(), 1);
    EXPECT_EQ(Navigator::imageIndex(group->child(0)), Navigator::ImageListed);
    EXPECT_EQ(Navigator::dataRef(group->child(1)), 1);

    DoubleClick(group->child(0));
    ASSERT_EQ(s().ElementCount(), 2);
    EXPECT_EQ(s().element(2).Name, QStringLiteral("D1.1"));
    EXPECT_EQ(s().element(2).Coord, (TPoint32{0, 0}));

    // "Удалить" on the group removes it with every element.
    Click(group);
    form->NavPanel->Button5->click();
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_EQ(s().navigator().model().rowCount(), 0);
}

TEST_F(NavigatorPanelTest, TheAddMenuListsSpecialElementsThatPlaceWithTheirPictures) {
    form->NavPanel->PopupIndicator->trigger();
    form->NavPanel->PopupProbe->trigger();
    form->ActAddIndicator->trigger();
    form->ActAddSwitch->trigger(); // no action
    QStandardItem* group = s().navigator().model().item(0);
    ASSERT_EQ(group->text(), QStringLiteral("Спец. элементы"));
    ASSERT_EQ(group->rowCount(), 3);
    EXPECT_EQ(group->child(1)->text(), QStringLiteral("Индикатор2"));
    EXPECT_EQ(s().OscCount(), 1);

    DoubleClick(group->child(2)); // Осциллограф1
    ASSERT_EQ(s().ElementCount(), 1);
    EXPECT_EQ(s().element(1).Bitmap.size(), QSize(71, 81));
    EXPECT_EQ(s().OscChannel(1), 1);
    EXPECT_EQ(form->Frame21->picture(1)->geometry(), QRect(2, 2, 71, 81));
}

} // namespace

// SPDX-License-Identifier: MIT
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementswindow.h"
#include "catalogue/pictureswindow.h"
#include "tests/catalogue/catalogue_fixture.h"
#include "tests/common/testutil.h"
#include "ui/windowregistry.h"

#include <QAction>
#include <QPushButton>

namespace {

// The main window opens the catalogue from programDir/bases and shows its windows from the menus.
TEST(MainWindowCatalogue, MenusOpenTheCatalogueWindowsAndAddChipListsIntoTheNavigator) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bases")));
    WriteSmallCatalogue(dir.filePath(QStringLiteral("bases")));
    TForm1 form1(dir.path());
    form1.CreateWindows();
    EXPECT_EQ(form1.catalogueUi().catalogue().chips().count(), 3);
    EXPECT_EQ(form1.catalogueUi().windows().get<TForm13>(), form1.window<TForm13>());

    struct Case {
        QAction* action;
        QWidget* window;
    };
    for (const Case& c :
         {Case{form1.ActPictures, form1.window<TForm5>()}, Case{form1.ActElements, form1.window<TForm7>()},
          Case{form1.ActChips, form1.window<TForm10>()}}) {
        QWidget* shown = nullptr;
        WhenModalShown([&](QWidget* w) {
            shown = w;
            static_cast<QDialog*>(w)->accept();
        });
        c.action->trigger();
        EXPECT_EQ(shown, c.window) << c.window->windowTitle().toStdString();
    }

    for (QAction* action : {form1.ActAddChip, form1.NavPanel->PopupChip}) {
        WhenModalShown([](QWidget* w) {
            auto* dlg = qobject_cast<TForm13*>(w);
            ASSERT_NE(dlg, nullptr);
            dlg->Button3->click();
            dlg->Button4->click();
        });
        action->trigger();
    }
    EXPECT_EQ(form1.model().ChipCount(), 2);
    const QStandardItemModel& tree = form1.model().navigator().model();
    ASSERT_EQ(tree.rowCount(), 2);
    EXPECT_EQ(tree.item(0)->text(), QStringLiteral("K1"));
    EXPECT_EQ(tree.item(0)->child(0)->text(), QStringLiteral("D2.1"));
}

TEST(MainWindowCatalogue, MissingCatalogueFolderStartsWithEmptyTables) {
    QTemporaryDir dir;
    TForm1 form1(dir.path());
    form1.CreateWindows();
    EXPECT_TRUE(form1.catalogueUi().catalogue().chips().isOpen());
    EXPECT_EQ(form1.catalogueUi().catalogue().chips().count(), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("bases/microchips.db"))));
    // Adding from an empty table lists nothing.
    form1.window<TForm13>()->Button3->click();
    EXPECT_EQ(form1.model().ChipCount(), 0);
    EXPECT_EQ(form1.model().navigator().model().rowCount(), 0);
}

} // namespace

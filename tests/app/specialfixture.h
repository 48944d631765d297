// SPDX-License-Identifier: MIT
#pragma once

#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "tests/app/appfixture.h"

#include <QTest>
#include <QTreeView>

// A started main window in which special elements are listed and placed through the navigator
// and double clicked on the workspace, as a user does.
class SpecialFixture : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    Schematic& s() { return form->model(); }

    // A double click on the listed node in the tree; returns the new element's index (0 when
    // nothing was placed).
    int Place(QStandardItem* node) {
        QTreeView* tree = form->NavPanel->TreeView1;
        tree->expandAll();
        const QModelIndex index = form->NavPanel->viewIndex(node);
        tree->scrollTo(index);
        const QPoint at = tree->visualRect(index).center();
        const int before = s().ElementCount();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        return s().ElementCount() > before ? s().ElementCount() : 0;
    }

    // Lists an element of the kind and places it at cell `at` (placing puts it at 0, 0).
    int ListAndPlace(ElementKind kind, TPoint32 at) {
        QStandardItem* node = s().ListSpecial(kind);
        if (!node) return 0;
        const int index = Place(node);
        if (index) s().SetCoord(index, at);
        return index;
    }

    ElementPicture* picture(int index) { return form->Frame21->picture(index); }

    // What the platform delivers for a double click: press, release, double click, release, away
    // from the pins.
    void DoubleClick(int index) {
        ElementPicture* p = picture(index);
        const QPoint at = p->rect().center();
        QTest::mouseClick(p, Qt::LeftButton, {}, at);
        QTest::mouseDClick(p, Qt::LeftButton, {}, at);
        QTest::mouseRelease(p, Qt::LeftButton, {}, at);
    }
};

// SPDX-License-Identifier: MIT
// "Отменить" and "Повторить" in a running main window, driven with the mouse and the keyboard.
#include "app/navigatorpanel.h"
#include "editor/workspaceframe.h"
#include "model/schematicfiles.h"
#include "tests/app/appfixture.h"
#include "tools/userscript/userscript.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <functional>
#include <vector>

namespace {

class UndoRedo : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    Schematic& s() { return form->model(); }

    // What a step leaves on screen: the workspace's pixels with nothing selected and the pointer
    // resting on the free field (selection is no edit), and the schematic as saved.
    struct Seen {
        QImage pixels;
        QByteArray files;
        QString undo, redo;
    };
    Seen Look() {
        UserScript::Click(*form, QPoint(300, 300));
        QApplication::processEvents();
        return {form->Frame21->viewport()->grab().toImage(),
                WriteTreeFile(s().navigator()) + WriteElementFile(s()) + WriteNetFile(s()),
                form->ActUndo->text(), form->ActRedo->text()};
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(form.get(), key, modifiers);
        QApplication::processEvents();
    }
    // Clicks the navigator node with this text.
    void ClickNode(const QString& text) {
        QTreeView* tree = form->NavPanel->TreeView1;
        tree->expandAll();
        const QList<QStandardItem*> found =
            s().navigator().model().findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualRect(form->NavPanel->viewIndex(found.first())).center());
    }
};

// Place, wire, move and delete with the mouse, then Ctrl+Z back to the empty schematic and Ctrl+Y
// (and Ctrl+Shift+Z) forward: at every step the workspace shows the pixels and the files hold the
// bytes seen at the same step on the way, and the menu names the step each key takes.
TEST_F(UndoRedo, CtrlZBackToTheEmptySchematicAndCtrlYForwardShowEveryStepAgain) {
    using namespace UserScript;
    const int sw = 1, lamp = 2;
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"добавление элемента", [this] { form->NavPanel->PopupSwitch->trigger(); }},
        {"добавление элемента", [this] { form->NavPanel->PopupIndicator->trigger(); }},
        {"размещение", [this] { PlaceNode(*form, QStringLiteral("Переключатель1")); }},
        {"размещение", [this] { PlaceNode(*form, QStringLiteral("Индикатор1")); }},
        {"перемещение",
         [this] {
             MoveElement(*form, lamp, {14, 6});
         }},
        {"перемещение",
         [this] {
             MoveElement(*form, sw, {3, 9});
         }},
        {"соединение",
         [this] {
             DragWire(*form, {sw, 0}, {lamp, 0});
         }},
        {"удаление",
         [this] {
             ClickNode(QStringLiteral("Индикатор1"));
             QTest::mouseClick(form->NavPanel->Button5, Qt::LeftButton);
         }},
    };
    std::vector<Seen> seen{Look()};
    EXPECT_FALSE(form->ActUndo->isEnabled());
    for (const auto& [name, step] : steps) {
        step();
        seen.push_back(Look());
        EXPECT_EQ(seen.back().undo, QStringLiteral("Отменить: ") + QString::fromUtf8(name));
        EXPECT_TRUE(form->ActUndo->isEnabled());
        EXPECT_FALSE(form->ActRedo->isEnabled());
    }
    // With TARNWELL_SHOT_DIR set the steps' pictures are saved there to look at.
    if (const QString out = qEnvironmentVariable("TARNWELL_SHOT_DIR"); !out.isEmpty()) {
        for (size_t k = 0; k < seen.size(); ++k)
            seen[k].pixels.save(QDir(out).filePath(QStringLiteral("undo-step-%1.png").arg(k)));
        form->MenuEdit->popup(form->mapToGlobal(QPoint(60, 20)));
        QApplication::processEvents();
        form->MenuEdit->grab().save(QDir(out).filePath(QStringLiteral("undo-menu.png")));
        form->MenuEdit->hide();
    }
    // The steps did what they say: a wire was drawn, then the lamp went with it.
    EXPECT_EQ(s().ElementCount(), 1);
    EXPECT_NE(seen[7].pixels, seen[6].pixels);
    EXPECT_NE(seen[8].pixels, seen[7].pixels);

    for (size_t k = steps.size(); k > 0; --k) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        const Seen now = Look();
        EXPECT_EQ(now.pixels, seen[k - 1].pixels) << "undo of " << steps[k - 1].first;
        EXPECT_EQ(now.files, seen[k - 1].files) << "undo of " << steps[k - 1].first;
        EXPECT_EQ(now.redo, QStringLiteral("Повторить: ") + QString::fromUtf8(steps[k - 1].first));
    }
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_EQ(s().navigator().count(), 0);
    EXPECT_FALSE(form->ActUndo->isEnabled());
    EXPECT_EQ(form->ActUndo->text(), QStringLiteral("Отменить"));
    EXPECT_FALSE(form->ToolButtonUndo->isEnabled());
    Key(Qt::Key_Z, Qt::ControlModifier); // nothing to undo: nothing happens
    EXPECT_EQ(Look().pixels, seen[0].pixels);

    for (size_t k = 1; k <= steps.size(); ++k) {
        if (k % 2)
            Key(Qt::Key_Y, Qt::ControlModifier);
        else
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        const Seen now = Look();
        EXPECT_EQ(now.pixels, seen[k].pixels) << "redo of " << steps[k - 1].first;
        EXPECT_EQ(now.files, seen[k].files) << "redo of " << steps[k - 1].first;
    }
    EXPECT_FALSE(form->ActRedo->isEnabled());
    EXPECT_FALSE(form->ToolButtonRedo->isEnabled());
}

// The toolbar's buttons take the steps as the menu does, and a new edit drops what could be redone.
TEST_F(UndoRedo, TheToolbarButtonsUndoAndRedoAndANewEditDropsTheRedo) {
    form->NavPanel->PopupGenerator->trigger();
    form->NavPanel->PopupProbe->trigger();
    ASSERT_EQ(s().navigator().count(), 3);
    QTest::mouseClick(form->ToolButtonUndo, Qt::LeftButton);
    EXPECT_EQ(s().navigator().count(), 2);
    EXPECT_EQ(s().OscCount(), 0);
    EXPECT_TRUE(form->ToolButtonRedo->isEnabled());
    EXPECT_EQ(form->ToolButtonRedo->toolTip(), QStringLiteral("Повторить: добавление элемента"));
    QTest::mouseClick(form->ToolButtonRedo, Qt::LeftButton);
    EXPECT_EQ(s().navigator().count(), 3);
    EXPECT_EQ(s().OscCount(), 1);
    QTest::mouseClick(form->ToolButtonUndo, Qt::LeftButton);
    form->NavPanel->PopupSwitch->trigger();
    EXPECT_FALSE(form->ToolButtonRedo->isEnabled());
    EXPECT_EQ(form->ActRedo->text(), QStringLiteral("Повторить"));
}

} // namespace

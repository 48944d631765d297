// SPDX-License-Identifier: MIT
// The main window's keys: Delete, Ctrl+A, the arrows that move the selection, Esc that cancels a
// gesture of the pointer, F10 and Alt to the menus; and where placed elements land.
#include "app/mainwindow.h"

#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/workspaceframe.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>

#include <utility>
#include <vector>

namespace {

// Sends the arrow keys pressed in the workspace to the main window, which moves the selection.
class ArrowKeys : public QObject {
public:
    ArrowKeys(TForm1* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        int dx = 0, dy = 0;
        switch (key->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            return false;
        }
        const int step = (key->modifiers() & Qt::ShiftModifier) ? 5 : 1;
        // Without a selection the arrows scroll the workspace as before.
        return form_->NudgeSelection(dx * step, dy * step);
    }

private:
    TForm1* form_;
};

// Alt pressed and released alone in the main window, with no key, click or wheel turn between,
// opens the first menu as F10 does.
class AltAlone : public QObject {
public:
    AltAlone(QWidget* window, QAction* menuKey) : QObject(window), window_(window), menuKey_(menuKey) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const auto* widget = qobject_cast<QWidget*>(watched);
            // A key event unhandled by a widget goes on to its parents: each sees the same press.
            if (key->key() == Qt::Key_Alt)
                armed_ = armed_ || (widget && widget->window() == window_);
            else
                armed_ = false;
            break;
        }
        case QEvent::KeyRelease:
            if (armed_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
                armed_ = false;
                if (!QApplication::activePopupWidget() && !QApplication::activeModalWidget())
                    menuKey_->trigger();
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride:
            if (event->type() != QEvent::ShortcutOverride ||
                static_cast<QKeyEvent*>(event)->key() != Qt::Key_Alt)
                armed_ = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget* window_;
    QAction* menuKey_;
    bool armed_ = false;
};

} // namespace

void TForm1::ConnectKeys() {
    ActDeleteSelected->setShortcut(QKeySequence(Qt::Key_Delete));
    ActSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

    // Esc belongs to the workspace, which a press there gives the focus: other windows (the time
    // scale window among them) keep their own Esc.
    ActCancelGesture = new QAction(Frame21);
    ActCancelGesture->setShortcut(QKeySequence(Qt::Key_Escape));
    ActCancelGesture->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Frame21->addAction(ActCancelGesture);
    connect(ActCancelGesture, &QAction::triggered, this, [this] { Pointer->Cancel(); });

    ActMenuKey = new QAction(this);
    ActMenuKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(ActMenuKey);
    connect(ActMenuKey, &QAction::triggered, this, [this] {
        QMenuBar* bar = menuBar();
        if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().first());
    });

    new AltAlone(this, ActMenuKey);

    Frame21->setFocusPolicy(Qt::StrongFocus);
    Frame21->installEventFilter(new ArrowKeys(this));

    document_->setLandingOrigin([this] { return VisibleTopLeftCell(); });
}

TPoint32 TForm1::VisibleTopLeftCell() const {
    const int scale = Frame21->view().Scale;
    // The first whole cell in view (a panel point lies 2 pixels right of and below the cell's).
    const int x = (Frame21->horizontalScrollBar()->value() + scale - 1) / scale;
    const int y = (Frame21->verticalScrollBar()->value() + scale - 1) / scale;
    return {x, y};
}

bool TForm1::NudgeSelection(int dx, int dy) {
    std::vector<std::pair<int, TPoint32>> moves;
    const Schematic& s = model();
    for (int k = 1; k <= s.ElementCount(); ++k) {
        const TElement& e = s.element(k);
        if (!e.Selected) continue;
        const TPoint32 to{e.Coord.x + dx, e.Coord.y + dy};
        // The selection moves whole or not at all; it stays on the field.
        if (to.x < 0 || to.y < 0 || to.x + e.CellWidth > GridMax || to.y + e.CellHeight > GridMax)
            return true;
        moves.emplace_back(k, to);
    }
    if (moves.empty()) return false;
    document_->MoveElements(moves);
    return true;
}

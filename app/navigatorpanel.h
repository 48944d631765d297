// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QPoint>

class QIdentityProxyModel;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeView;
class QMouseEvent;

// The navigator panel of the main window: the title bar that narrows and widens the panel, the
// "Добавить" and "Удалить" buttons with the add menu, the tree of the schematic's elements and the
// label with the number of nets.
class NavigatorPanel : public QFrame {
    Q_OBJECT
public:
    // `tree` is the navigator model of the schematic.
    NavigatorPanel(QStandardItemModel& tree, QWidget* parent = nullptr);

    // The tree's current node, null when there is none.
    QStandardItem* currentNode() const;
    // The index in the tree view that shows `node`.
    QModelIndex viewIndex(const QStandardItem* node) const;

    void NavigatorTitleClick(); // narrows the panel to 15 pixels
    void ExpandButtonClick();   // widens it back to its open width
    // The width of the open panel (150 at first); the panel takes it at once unless narrowed.
    int openWidth() const { return openWidth_; }
    void SetOpenWidth(int width);
    bool narrowed() const { return width() != openWidth_; }
    void Button2Click(); // pops up the add menu
    // The screen point the add menu opens at.
    QPoint AddMenuPoint() const;

    QLabel* NavigatorTitle = nullptr;
    QToolButton* ExpandButton = nullptr; // ">"
    QPushButton* Button2 = nullptr;      // "Добавить"
    QPushButton* Button5 = nullptr;      // "Удалить"
    QTreeView* TreeView1 = nullptr;
    QLabel* Label1 = nullptr; // the number of nets
    QMenu* PopupAdd = nullptr;
    QAction* PopupChip = nullptr;
    QAction* PopupIndicator = nullptr;
    QAction* PopupSwitch = nullptr;
    QAction* PopupGenerator = nullptr;
    QAction* PopupProbe = nullptr;

private:
    void ResizeNavigator(int from, int to);

    QStandardItemModel& tree_;
    QIdentityProxyModel* icons_ = nullptr;
    int openWidth_;
};

// The handle right of the navigator panel: dragging it sets the open panel's width within
// `min`..`max`; the release tells the width chosen.
class NavigatorHandle : public QWidget {
    Q_OBJECT
public:
    NavigatorHandle(NavigatorPanel& panel, int min, int max, QWidget* parent = nullptr);

Q_SIGNALS:
    void widthChosen(int width);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    NavigatorPanel& panel_;
    int min_, max_;
    int pressX_ = 0;
    int pressWidth_ = 0;
    bool dragging_ = false;
};

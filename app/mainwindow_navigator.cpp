// SPDX-License-Identifier: MIT
// The main window's navigator commands: selecting through the tree, placing a listed element,
// removing elements through their node.
#include "app/mainwindow.h"

#include "app/navigatorpanel.h"
#include "catalogue/chiplookup.h"

#include <QAction>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>

void TForm1::ConnectNavigator() {
    connect(NavPanel->TreeView1, &QTreeView::clicked, this, &TForm1::TreeView1Click);
    connect(NavPanel->TreeView1, &QTreeView::doubleClicked, this, &TForm1::TreeView1DblClick);
    connect(NavPanel->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    // Listing a special element; the main menu's "Переключатель" has no action.
    const auto list = [this](ElementKind kind) { return [this, kind] { document_->ListSpecial(kind); }; };
    connect(NavPanel->PopupIndicator, &QAction::triggered, this, list(ElementKind::Indicator));
    connect(NavPanel->PopupSwitch, &QAction::triggered, this, list(ElementKind::Switch));
    connect(NavPanel->PopupGenerator, &QAction::triggered, this, list(ElementKind::Generator));
    connect(NavPanel->PopupProbe, &QAction::triggered, this, list(ElementKind::Probe));
    connect(ActAddIndicator, &QAction::triggered, this, list(ElementKind::Indicator));
}

void TForm1::TreeView1Click() {
    model().SelectFromTree(NavPanel->currentNode());
}

void TForm1::TreeView1DblClick() {
    QStandardItem* node = NavPanel->currentNode();
    if (!node || Navigator::imageIndex(node) <= Navigator::ImagePlaced || !node->parent()) return;
    if (model().isFull()) {
        WarnTableFull();
        return;
    }
    // A catalogue table that could not be opened (a lock at start-up) is tried again.
    catalogueUi().catalogue().ReopenFailed();
    QStringList log;
    QString error;
    if (document_->PlaceNode(node, options_.SelectOnCreate, &log, &error) == 0) {
        if (!error.isEmpty()) QMessageBox::critical(this, QStringLiteral("Tarnwell"), error);
        return;
    }
    for (const QString& line : log)
        Memo1->appendPlainText(line);
}

bool TForm1::PlacementFor(const QStandardItem* node, TPlacementData* data, QString* error) {
    return LookUpPlacement(catalogueUi().catalogue(), node, data, error);
}

void TForm1::Button5Click() {
    document_->RemoveFromNavigator(NavPanel->currentNode());
}

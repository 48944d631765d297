// SPDX-License-Identifier: MIT
// The main window's navigator commands: selecting through the tree, placing a listed element,
// removing elements through their node.
#include "app/mainwindow.h"

#include "app/navigatorpanel.h"
#include "catalogue/chiplookup.h"
#include "model/specialelements.h"
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
    const auto list = [this](ElementKind kind) { return [this, kind] { model_->ListSpecial(kind); }; };
    connect(NavPanel->PopupIndicator, &QAction::triggered, this, list(ElementKind::Indicator));
    connect(NavPanel->PopupSwitch, &QAction::triggered, this, list(ElementKind::Switch));
    connect(NavPanel->PopupGenerator, &QAction::triggered, this, list(ElementKind::Generator));
    connect(NavPanel->PopupProbe, &QAction::triggered, this, list(ElementKind::Probe));
    connect(ActAddIndicator, &QAction::triggered, this, list(ElementKind::Indicator));
}

void TForm1::TreeView1Click() {
    model_->SelectFromTree(NavPanel->currentNode());
}

void TForm1::TreeView1DblClick() {
    QStandardItem* node = NavPanel->currentNode();
    if (!node || Navigator::imageIndex(node) <= Navigator::ImagePlaced || !node->parent()) return;
    if (model_->isFull()) {
        WarnTableFull();
        return;
    }
    // A catalogue table that could not be opened (a lock at start-up) is tried again.
    catalogueUi().catalogue().ReopenFailed();
    TPlacementData data;
    QString error;
    if (!PlacementFor(node, &data, &error)) {
        if (!error.isEmpty()) QMessageBox::critical(this, QStringLiteral("Tarnwell"), error);
        return;
    }
    QStringList log;
    if (model_->PlaceNode(node, data, options_.SelectOnCreate, &log) == 0) return;
    for (const QString& line : log)
        Memo1->appendPlainText(line);
    simulator().PrepareRun();
}

bool TForm1::PlacementFor(const QStandardItem* node, TPlacementData* data, QString* error) {
    const ElementKind kind = KindOfName(node->text());
    if (kind == ElementKind::Unknown || !node->parent()) return false;
    // Special elements bring their own set-up; a chip element's data come from the catalogue, and
    // the slot is taken only when every datum is at hand.
    if (kind != ElementKind::Chip) {
        *data = SpecialElements::Placement(kind);
        return true;
    }
    return LookUpChipElement(catalogueUi().catalogue(), node->parent()->text(), data, error);
}

void TForm1::Button5Click() {
    if (model_->navigator().model().rowCount() == 0) return;
    model_->RemoveFromTree(NavPanel->currentNode());
    Button4Click();
}

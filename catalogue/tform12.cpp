// SPDX-License-Identifier: MIT
#include "tform12.h"

#include "catalogueui.h"
#include "cursorgrid.h"
#include "placement.h"
#include "tform10.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TForm12::TForm12(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Выбор картинки"));
    ui_.Form12 = this;
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    DBGrid1 =
        new CursorGrid(ui_.catalogue().elements(), {{QStringLiteral("Name"), QStringLiteral("Name")}}, false);
    DBGrid1->setFixedSize(220, 260);
    top->addWidget(DBGrid1);
    auto* row = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("OK"));
    Button2 = new QPushButton(QStringLiteral("Отмена"));
    Button1->setDefault(true);
    Button2->setAutoDefault(false);
    row->addWidget(Button1);
    row->addWidget(Button2);
    top->addLayout(row);
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm12::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (ui_.Form10) move(ChooserPosition(ui_.Form10->pos()));
    DBGrid1->setFocus();
}

void TForm12::Button1Click() {
    Catalogue& cat = ui_.catalogue();
    CatalogueTable& chips = cat.chips();
    if (chips.row() >= 0 && cat.elements().row() >= 0) {
        chips.setField(QStringLiteral("Elem_name"), cat.elements().text(QStringLiteral("Name")));
        if (CatalogueUi::ShowError(this, chips.post())) return;
    }
    accept();
}

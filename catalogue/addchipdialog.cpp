// SPDX-License-Identifier: MIT
#include "catalogue/addchipdialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/fields.h"
#include "ui/windowregistry.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

TForm13::TForm13(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(tr("Добвление микросхемы"));
    ui_.add(this);
    CatalogueTable& table = ui_.catalogue().chips();
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    DBGrid1 = new CursorGrid(table,
                             {{ChipField::Mark, tr("Маркировка*")},
                              {ChipField::Type, tr("Тип")},
                              {ChipField::ElemName, tr("Описание")}},
                             false);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setFixedSize(520, 330);
    DBGrid1->setColumnWidth(table.fieldIndex(ChipField::Mark), 110);
    DBGrid1->setColumnWidth(table.fieldIndex(ChipField::Type), 260);
    top->addWidget(DBGrid1);
    auto* row = new QHBoxLayout;
    Button1 = new QPushButton(tr("Поиск..."));
    Button2 = new QPushButton(tr("ОК"));
    Button3 = new QPushButton(tr("Добавить"));
    Button4 = new QPushButton(tr("Отмена"));
    row->addWidget(Button1);
    row->addStretch();
    for (QPushButton* b : {Button2, Button3, Button4})
        row->addWidget(b);
    for (QPushButton* b : {Button1, Button3, Button4})
        b->setAutoDefault(false);
    Button2->setDefault(true);
    top->addLayout(row);

    connect(DBGrid1, &CursorGrid::titleClicked, this,
            [this](int column) { SortChips(ui_, DBGrid1, column); });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TForm13::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm13::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm13::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm13::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm13::AddChip() {
    CatalogueTable& chips = ui_.catalogue().chips();
    if (!ui_.listChip() || chips.row() < 0) return;
    ui_.listChip()(chips.text(ChipField::Mark), chips.number(ChipField::ElemCount));
}

void TForm13::Button1Click() {
    if (TForm14* search = ui_.windows().get<TForm14>()) search->exec();
    DBGrid1->setFocus();
}

void TForm13::Button2Click() {
    AddChip();
    accept();
}

void TForm13::Button3Click() {
    AddChip();
}

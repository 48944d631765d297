// SPDX-License-Identifier: MIT
#include "tform8.h"

#include "catalogueui.h"
#include "cursorgrid.h"
#include "placement.h"
#include "tform7.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TForm8::TForm8(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Выбор картинки"));
    ui_.Form8 = this;
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    DBGrid1 =
        new CursorGrid(ui_.catalogue().pictures(), {{QStringLiteral("Name"), QStringLiteral("Name")}}, false);
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
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
}

void TForm8::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (ui_.Form7) move(ChooserPosition(ui_.Form7->pos()));
    DBGrid1->setFocus();
}

void TForm8::Button1Click() {
    Catalogue& cat = ui_.catalogue();
    CatalogueTable& elements = cat.elements();
    if (elements.row() >= 0 && cat.pictures().row() >= 0) {
        elements.setField(QStringLiteral("Image_Name"), cat.pictures().text(QStringLiteral("Name")));
        if (CatalogueUi::ShowError(this, elements.post())) return;
    }
    accept();
}

void TForm8::Button2Click() {
    ui_.catalogue().FindPicture();
    QDialog::reject();
}

void TForm8::done(int result) {
    QDialog::done(result);
    ui_.catalogue().FindPicture();
}

// SPDX-License-Identifier: MIT
#include "catalogue/chooserdialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/linedialog.h"
#include "catalogue/placement.h"

#include <QPushButton>
#include <QVBoxLayout>

ChooserDialog::ChooserDialog(CatalogueUi& ui, CatalogueTable& source, QString nameField,
                             CatalogueTable& target, QString field, QWidget* parent)
    : QDialog(parent), ui_(ui), source_(source), nameField_(std::move(nameField)), target_(target),
      field_(std::move(field)) {
    setWindowTitle(tr("Выбор картинки"));
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    DBGrid1 = new CursorGrid(source_, {{nameField_, QStringLiteral("Name")}}, false);
    DBGrid1->setFixedSize(220, 260);
    top->addWidget(DBGrid1);
    AddOkCancelRow(this, top, QStringLiteral("OK"), false, &Button1, &Button2);
    connect(Button1, &QPushButton::clicked, this, &ChooserDialog::Button1Click);
}

void ChooserDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = ownerWindow()) move(ChooserPosition(owner->pos()));
    DBGrid1->setFocus();
}

void ChooserDialog::Button1Click() {
    if (target_.row() >= 0 && source_.row() >= 0) {
        target_.setField(field_, source_.text(nameField_));
        if (CatalogueUi::ShowPostError(this, target_, target_.post())) return;
    }
    accept();
}

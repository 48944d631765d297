// SPDX-License-Identifier: MIT
#include "catalogue/linedialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"

#include "ui/buttonrow.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

void AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, bool alignRight,
                    QPushButton** ok, QPushButton** cancel) {
    const OkCancelRow row = MakeOkCancelRow(dialog, okText, alignRight);
    row.cancel->setAutoDefault(false);
    top->addLayout(row.layout);
    *ok = row.ok;
    *cancel = row.cancel;
}

void BuildNameDialog(QDialog* dialog, const QString& group, QLineEdit** edit, QPushButton** ok,
                     QPushButton** cancel) {
    auto* top = new QVBoxLayout(dialog);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* box = new QGroupBox(group);
    auto* boxLayout = new QVBoxLayout(box);
    *edit = new QLineEdit;
    (*edit)->setMinimumWidth(260);
    boxLayout->addWidget(*edit);
    top->addWidget(box);
    AddOkCancelRow(dialog, top, QCoreApplication::translate("LineDialog", "ОК"), true, ok, cancel);
}

LineDialog::LineDialog(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {}

void LineDialog::ConnectOk() {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void LineDialog::AppendNamedRecord(CatalogueTable& table, const QString& field, const CatalogueTable& source,
                                   const QString& sourceField) {
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        ShowEmptyNameBox(this);
        return;
    }
    if (CatalogueUi::ShowError(this, table.append(name))) return;
    table.setField(field, source.text(sourceField));
    if (CatalogueUi::ShowPostError(this, table, table.post())) return;
    accept();
}

void LineDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->setSelection(0, 255);
}

void ShowEmptyNameBox(QDialog* dialog) {
    QMessageBox::warning(dialog, QCoreApplication::translate("LineDialog", "Внимание"),
                         QCoreApplication::translate("LineDialog", "Необходимо ввести тип элемента"),
                         QMessageBox::Ok);
}

// SPDX-License-Identifier: MIT
#include "catalogue/linedialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

void AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, bool stretch, QPushButton** ok,
                    QPushButton** cancel) {
    auto* row = new QHBoxLayout;
    if (stretch) row->addStretch();
    *ok = new QPushButton(okText);
    *cancel = new QPushButton(QStringLiteral("Отмена"));
    (*ok)->setDefault(true);
    (*cancel)->setAutoDefault(false);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    top->addLayout(row);
    QObject::connect(*cancel, &QPushButton::clicked, dialog, &QDialog::reject);
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
    AddOkCancelRow(dialog, top, QStringLiteral("ОК"), true, ok, cancel);
}

LineDialog::LineDialog(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {}

void LineDialog::ConnectOk() {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void LineDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->setSelection(0, 255);
}

void ShowEmptyNameBox(QDialog* dialog) {
    QMessageBox::warning(dialog, QStringLiteral("Внимание"), QStringLiteral("Необходимо ввести тип элемента"),
                         QMessageBox::Ok);
}

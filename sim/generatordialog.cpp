// SPDX-License-Identifier: MIT
#include "sim/generatordialog.h"

#include "ui/buttonrow.h"
#include "ui/digitedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm16::TForm16(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("Настройка генератора"));
    setModal(true);

    Edit1 = new QLineEdit(QStringLiteral("100"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(QStringLiteral("100"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    auto* label1 = new QLabel(QStringLiteral("Длительность периода высокого уровня:"));
    auto* label2 = new QLabel(QStringLiteral("Длительность периода низкого уровня:"));
    label1->setBuddy(Edit1);
    label2->setBuddy(Edit2);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setFixedWidth(80);
        MakeDigitsOnly(edit);
    }

    const OkCancelRow buttons = MakeOkCancelRow(this, QStringLiteral("ОК"), true);
    Button1 = buttons.ok;
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = buttons.cancel;
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addLayout(buttons.layout, 2, 0, 1, 2);
    setFixedSize(sizeHint());

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm16::SetDurations(int32_t high, int32_t low) {
    Edit1->setText(QString::number(high));
    Edit2->setText(QString::number(low));
}

void TForm16::StoreDurations(int32_t& high, int32_t& low) const {
    bool ok = false;
    const int32_t h = Edit1->text().toInt(&ok, 10);
    if (!ok) return;
    high = h;
    const int32_t l = Edit2->text().toInt(&ok, 10);
    if (!ok) return;
    low = l;
}

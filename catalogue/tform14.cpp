// SPDX-License-Identifier: MIT
#include "tform14.h"

#include "catalogueui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TForm14::TForm14(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Поиск микросхемы"));
    ui_.Form14 = this;
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    top->addWidget(new QLabel(QStringLiteral("Введите образец для поиска")));
    Edit1 = new QLineEdit;
    Edit1->setMinimumWidth(260);
    top->addWidget(Edit1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    Button1 = new QPushButton(QStringLiteral("ОК"));
    Button2 = new QPushButton(QStringLiteral("Отмена"));
    Button1->setDefault(true);
    Button2->setAutoDefault(false);
    row->addWidget(Button1);
    row->addWidget(Button2);
    top->addLayout(row);
    connect(Button1, &QPushButton::clicked, this, &TForm14::Button1Click);
    // "Отмена" and Esc just close the dialog without searching.
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm14::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->setSelection(0, 255);
}

void TForm14::Button1Click() {
    CatalogueTable& chips = ui_.catalogue().chips();
    const QString pattern = Edit1->text();
    chips.first();
    const int n = chips.count();
    for (int i = 0; i < n && !pattern.isEmpty(); ++i) {
        if (chips.text(QStringLiteral("Mark")).contains(pattern, Qt::CaseSensitive)) {
            accept();
            return;
        }
        chips.next();
    }
    chips.first();
    QMessageBox::information(this, QStringLiteral("Внимание!"), QStringLiteral("Элемент не найден"),
                             QMessageBox::Ok);
    accept();
}

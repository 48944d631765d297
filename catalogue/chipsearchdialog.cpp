// SPDX-License-Identifier: MIT
#include "catalogue/chipsearchdialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/fields.h"
#include "catalogue/linedialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TForm14::TForm14(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(tr("Поиск микросхемы"));
    ui_.add(this);
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    top->addWidget(new QLabel(tr("Введите образец для поиска")));
    Edit1 = new QLineEdit;
    Edit1->setMinimumWidth(260);
    top->addWidget(Edit1);
    // "Отмена" and Esc just close the dialog without searching.
    AddOkCancelRow(this, top, tr("ОК"), true, &Button1, &Button2);
    ConnectOk();
}

void TForm14::Button1Click() {
    CatalogueTable& chips = ui_.catalogue().chips();
    const QString pattern = Edit1->text();
    chips.first();
    const int n = chips.count();
    for (int i = 0; i < n && !pattern.isEmpty(); ++i) {
        if (chips.text(ChipField::Mark).contains(pattern, Qt::CaseSensitive)) {
            accept();
            return;
        }
        chips.next();
    }
    chips.first();
    QMessageBox::information(this, tr("Внимание!"), tr("Элемент не найден"), QMessageBox::Ok);
    accept();
}

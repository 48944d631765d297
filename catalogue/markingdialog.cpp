// SPDX-License-Identifier: MIT
#include "catalogue/markingdialog.h"

#include "catalogue/catalogueui.h"
#include "catalogue/linedialog.h"

#include <QLineEdit>
#include <QPushButton>

TForm11::TForm11(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Вводмаркировки"));
    ui_.Form11 = this;
    BuildNameDialog(this, QStringLiteral("Введите маркировку микросхемы"), &Edit1, &Button1, &Button2);
    Edit1->setMaxLength(20);
    ConnectOk();
}

void TForm11::Button1Click() {
    const QString mark = Edit1->text();
    if (mark.isEmpty()) {
        ShowEmptyNameBox(this);
        return;
    }
    Catalogue& cat = ui_.catalogue();
    CatalogueTable& chips = cat.chips();
    if (CatalogueUi::ShowError(this, chips.append(mark))) return;
    chips.setField(QStringLiteral("Elem_name"), cat.elements().text(QStringLiteral("Name")));
    if (CatalogueUi::ShowError(this, chips.post())) return;
    accept();
}

// SPDX-License-Identifier: MIT
#include "catalogue/markingdialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/fields.h"
#include "catalogue/linedialog.h"

#include <QLineEdit>

TForm11::TForm11(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(tr("Вводмаркировки"));
    ui_.add(this);
    BuildNameDialog(this, tr("Введите маркировку микросхемы"), &Edit1, &Button1, &Button2);
    Edit1->setMaxLength(20);
    ConnectOk();
}

void TForm11::Button1Click() {
    Catalogue& cat = ui_.catalogue();
    AppendNamedRecord(cat.chips(), ChipField::ElemName, cat.elements(), ElementField::Name);
}

// SPDX-License-Identifier: MIT
#include "catalogue/elementnamedialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/fields.h"
#include "catalogue/linedialog.h"

TForm9::TForm9(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(tr("Ввод имени"));
    ui_.add(this);
    BuildNameDialog(this, tr("Введите тип элемента"), &Edit1, &Button1, &Button2);
    ConnectOk();
}

void TForm9::Button1Click() {
    Catalogue& cat = ui_.catalogue();
    AppendNamedRecord(cat.elements(), ElementField::ImageName, cat.pictures(), PictureField::Name);
}

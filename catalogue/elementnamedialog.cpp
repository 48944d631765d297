// SPDX-License-Identifier: MIT
#include "catalogue/elementnamedialog.h"

#include "catalogue/catalogueui.h"
#include "catalogue/linedialog.h"

#include <QLineEdit>
#include <QPushButton>

TForm9::TForm9(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Ввод имени"));
    ui_.Form9 = this;
    BuildNameDialog(this, QStringLiteral("Введите тип элемента"), &Edit1, &Button1, &Button2);
    ConnectOk();
}

void TForm9::Button1Click() {
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        ShowEmptyNameBox(this);
        return;
    }
    Catalogue& cat = ui_.catalogue();
    CatalogueTable& elements = cat.elements();
    if (CatalogueUi::ShowError(this, elements.append(name))) return;
    elements.setField(QStringLiteral("Image_Name"), cat.pictures().text(QStringLiteral("Name")));
    if (CatalogueUi::ShowError(this, elements.post())) return;
    accept();
}

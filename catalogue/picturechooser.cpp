// SPDX-License-Identifier: MIT
#include "catalogue/picturechooser.h"

#include "catalogue/catalogueui.h"
#include "catalogue/elementswindow.h"

TForm8::TForm8(CatalogueUi& ui, QWidget* parent)
    : ChooserDialog(ui, ui.catalogue().pictures(), ui.catalogue().elements(), QStringLiteral("Image_Name"),
                    parent) {
    setObjectName(QStringLiteral("Form8"));
    ui_.Form8 = this;
}

QWidget* TForm8::ownerWindow() const {
    return ui_.Form7;
}

void TForm8::Button2Click() {
    ui_.catalogue().FindPicture();
    QDialog::reject();
}

void TForm8::done(int result) {
    QDialog::done(result);
    ui_.catalogue().FindPicture();
}

// SPDX-License-Identifier: MIT
#include "catalogue/picturechooser.h"

#include "catalogue/catalogueui.h"
#include "catalogue/elementswindow.h"
#include "catalogue/fields.h"
#include "ui/windowregistry.h"

TForm8::TForm8(CatalogueUi& ui, QWidget* parent)
    : ChooserDialog(ui, ui.catalogue().pictures(), PictureField::Name, ui.catalogue().elements(),
                    ElementField::ImageName, parent) {
    setObjectName(QStringLiteral("Form8"));
    ui_.add(this);
}

QWidget* TForm8::ownerWindow() const {
    return ui_.windows().get<TForm7>();
}

void TForm8::Button2Click() {
    ui_.catalogue().FindPicture();
    QDialog::reject();
}

void TForm8::done(int result) {
    QDialog::done(result);
    ui_.catalogue().FindPicture();
}

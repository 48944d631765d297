// SPDX-License-Identifier: MIT
#include "catalogue/elementchooser.h"

#include "catalogue/catalogueui.h"
#include "catalogue/chipswindow.h"
#include "catalogue/fields.h"
#include "ui/windowregistry.h"

TForm12::TForm12(CatalogueUi& ui, QWidget* parent)
    : ChooserDialog(ui, ui.catalogue().elements(), ElementField::Name, ui.catalogue().chips(),
                    ChipField::ElemName, parent) {
    setObjectName(QStringLiteral("Form12"));
    ui_.add(this);
}

QWidget* TForm12::ownerWindow() const {
    return ui_.windows().get<TForm10>();
}

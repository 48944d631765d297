// SPDX-License-Identifier: MIT
#include "catalogue/elementchooser.h"

#include "catalogue/catalogueui.h"
#include "catalogue/chipswindow.h"

TForm12::TForm12(CatalogueUi& ui, QWidget* parent)
    : ChooserDialog(ui, ui.catalogue().elements(), ui.catalogue().chips(), QStringLiteral("Elem_name"),
                    parent) {
    setObjectName(QStringLiteral("Form12"));
    ui_.Form12 = this;
}

QWidget* TForm12::ownerWindow() const {
    return ui_.Form10;
}

// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/chooserdialog.h"

// The element chooser of the chips catalogue: "OK" gives the current chip the current element type.
class TForm12 : public ChooserDialog {
    Q_OBJECT
public:
    TForm12(CatalogueUi& ui, QWidget* parent = nullptr);

protected:
    QWidget* ownerWindow() const override;
};

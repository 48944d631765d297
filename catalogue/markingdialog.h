// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/linedialog.h"

// The marking dialog: adds a chip of the current element type.
class TForm11 : public LineDialog {
    Q_OBJECT
public:
    TForm11(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click() override; // "ОК"
};

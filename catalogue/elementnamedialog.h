// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/linedialog.h"

// The element name dialog: adds an element type that uses the current picture.
class TForm9 : public LineDialog {
    Q_OBJECT
public:
    TForm9(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click() override; // "ОК"
};

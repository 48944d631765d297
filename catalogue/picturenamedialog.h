// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/linedialog.h"

// The picture name dialog: names a new picture and loads it from a BMP file.
class TForm6 : public LineDialog {
    Q_OBJECT
public:
    TForm6(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click() override; // "ОК"
};

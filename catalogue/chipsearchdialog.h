// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/linedialog.h"

// The chip search: finds the first chip, in the table's current order, whose marking contains the
// pattern (letter case significant).
class TForm14 : public LineDialog {
    Q_OBJECT
public:
    TForm14(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click() override; // "ОК"
};

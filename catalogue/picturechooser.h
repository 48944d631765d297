// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/chooserdialog.h"

// The picture chooser of the elements catalogue: browsing moves the pictures table, "OK" gives the
// current element that picture; closing it any other way shows the element's own picture again.
class TForm8 : public ChooserDialog {
    Q_OBJECT
public:
    TForm8(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button2Click(); // "Отмена"

    void done(int result) override;
    void reject() override { Button2Click(); }

protected:
    QWidget* ownerWindow() const override;
};

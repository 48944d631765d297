// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class CursorGrid;
class QPushButton;

// The element chooser of the chips catalogue: "OK" gives the current chip the current element type.
class TForm12 : public QDialog {
    Q_OBJECT
public:
    TForm12(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "OK"

    CursorGrid* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

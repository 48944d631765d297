// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class CursorGrid;
class QPushButton;

// The add-chip dialog: picks a chip of the catalogue and lists it with its logic elements in the
// navigator tree.
class TForm13 : public QDialog {
    Q_OBJECT
public:
    TForm13(CatalogueUi& ui, QWidget* parent = nullptr);

    // Lists the current chip: ChipCount + 1 = n, a group node first among the roots, and the
    // element nodes D n (one element) or D n.1 … D n.c.
    void AddChip();

    void Button1Click(); // "Поиск..."
    void Button2Click(); // "ОК"
    void Button3Click(); // "Добавить"

    CursorGrid* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

private:
    CatalogueUi& ui_;
};

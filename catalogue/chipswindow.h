// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogueeditor.h"

#include <QImage>

class CatalogueUi;
class CursorGrid;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// Orders the chips table by the grid's column (0 "Mark", 1 "Type") and moves that grid's star;
// other columns do nothing.
void SortChips(CatalogueUi& ui, CursorGrid* grid, int column);

// The chips catalogue: markings, types, element type and count, pins and delays. "Добавить..." runs
// the marking dialog.
class TForm10 : public CatalogueEditor {
    Q_OBJECT
public:
    TForm10(CatalogueUi& ui, QWidget* parent = nullptr);

    // The fixed illustration: a two-input NAND symbol, 81 × 81.
    static QImage NandPicture();

    void Button3Click(); // "OK"
    void Button4Click(); // "Выбрать из базы элементов..."

    CursorGrid* DBGrid1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* DBEdit1 = nullptr; // Elem_name
    QLineEdit* DBEdit2 = nullptr; // Elem_Count
    QLineEdit* DBEdit3 = nullptr; // Legs_Count
    QLineEdit* DBEdit4 = nullptr; // React_Time_LH
    QLineEdit* DBEdit5 = nullptr; // React_Time_HL
    QLineEdit* DBEdit6 = nullptr; // Image_name
    QLabel* Image1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

    void reject() override { Button3Click(); }

protected:
    QDialog* addDialog() const override;
};

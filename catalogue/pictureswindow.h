// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogueeditor.h"

class CursorGrid;
class DbImage;
class QFileDialog;
class QPushButton;
class QString;

// The element pictures catalogue: named bitmaps that draw logic elements. "Добавить" runs the
// picture name dialog.
class TForm5 : public CatalogueEditor {
    Q_OBJECT
public:
    TForm5(CatalogueUi& ui, QWidget* parent = nullptr);

    // Runs the BMP file dialog; the chosen file, or empty when cancelled.
    QString RunOpenDialog();
    // The picture file dialog, made when first needed.
    QFileDialog* pictureDialog();

    void Button3Click(); // "Сменить картинку"
    void Button4Click(); // "ОК"

    CursorGrid* DBGrid1 = nullptr;
    DbImage* DBImage1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QFileDialog* OpenPictureDialog1 = nullptr; // null until pictureDialog() first runs

    void reject() override { Button4Click(); }

protected:
    QDialog* addDialog() const override;
};

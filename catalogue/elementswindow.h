// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogueeditor.h"

#include <QImage>

class CursorGrid;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The elements catalogue: element types with their pin patterns, picture and script, and a live
// preview of the picture with its pins. "Добавить..." runs the element name dialog.
class TForm7 : public CatalogueEditor {
    Q_OBJECT
public:
    TForm7(CatalogueUi& ui, QWidget* parent = nullptr);

    // Redraws the preview: the current picture with a red mark at every pin the two define boxes
    // name ("1" at position i = a pin 10·i pixels below the top).
    void DrawLegs();
    // Pictures table moved: new preview, pins, and the define boxes' length limit.
    void PicturesScrolled();
    // Longest define string the boxes accept: preview height div 10 − 1. A picture under 20 pixels
    // high, or one that cannot be decoded, allows no pins (0), and NoPinsLabel says so.
    int DefineLimit() const { return defineLimit_; }

    void Button3Click(); // "OK"
    void Button4Click(); // "Выбрать из базы..."
    void Button5Click(); // "Сохранить в базе"

    CursorGrid* DBGrid1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* DBEdit1 = nullptr; // Int_Define
    QLineEdit* DBEdit2 = nullptr; // Ext_Define
    QLabel* NoPinsLabel = nullptr;
    QLineEdit* DBEdit3 = nullptr; // Image_Name
    QPushButton* Button4 = nullptr;
    QLabel* Image1 = nullptr; // preview
    QPlainTextEdit* DBMemo1 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QImage Preview;

    void reject() override { Button3Click(); }

protected:
    bool event(QEvent* event) override;
    QDialog* addDialog() const override;

private:
    int defineLimit_ = 32767;
};

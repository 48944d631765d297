// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class QLineEdit;
class QPushButton;

// The picture name dialog: names a new picture and loads it from a BMP file.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    TForm6(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "ОК"

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class QLineEdit;
class QPushButton;

// The element name dialog: adds an element type that uses the current picture.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    TForm9(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "ОК"

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

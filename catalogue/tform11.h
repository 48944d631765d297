// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class QLineEdit;
class QPushButton;

// The marking dialog: adds a chip of the current element type.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    TForm11(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "ОК"

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

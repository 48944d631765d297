// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class QLineEdit;
class QPushButton;

// The chip search: finds the first chip, in the table's current order, whose marking contains the
// pattern (letter case significant).
class TForm14 : public QDialog {
    Q_OBJECT
public:
    TForm14(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "ОК"

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

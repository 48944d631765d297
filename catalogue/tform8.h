// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueUi;
class CursorGrid;
class QPushButton;

// The picture chooser of the elements catalogue: browsing moves the pictures table, "OK" gives the
// current element that picture.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(CatalogueUi& ui, QWidget* parent = nullptr);

    void Button1Click(); // "OK"
    void Button2Click(); // "Отмена"

    CursorGrid* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    void done(int result) override;
    void reject() override { Button2Click(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CatalogueUi& ui_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class CatalogueTable;
class CatalogueUi;
class CursorGrid;
class QPushButton;

// A chooser of a catalogue window: a grid of the names (`nameField`) in `source` (browsing moves its
// cursor), "OK" stores the chosen name into `field` of the owner's current record, "Отмена" closes.
// It opens 16 pixels right of and above its owner window.
class ChooserDialog : public QDialog {
    Q_OBJECT
public:
    void Button1Click(); // "OK"

    CursorGrid* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    ChooserDialog(CatalogueUi& ui, CatalogueTable& source, QString nameField, CatalogueTable& target,
                  QString field, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    // The catalogue window the chooser belongs to; null while it does not exist.
    virtual QWidget* ownerWindow() const = 0;

    CatalogueUi& ui_;

private:
    CatalogueTable& source_;
    QString nameField_;
    CatalogueTable& target_;
    QString field_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class CatalogueTable;
class CatalogueUi;
class QDataWidgetMapper;
class QPushButton;
class QVBoxLayout;

// The pictures, elements and chips catalogue windows: each edits one table through bound boxes,
// adds a record through its name dialog and asks before deleting the current record.
class CatalogueEditor : public QDialog {
    Q_OBJECT
public:
    void Button1Click(); // "Добавить": runs the add dialog
    void Button2Click(); // "Удалить"

    // Follows the table's current record; set by the window once its boxes exist.
    QDataWidgetMapper* Mapper = nullptr;

protected:
    struct DeleteQuestion {
        QString caption;
        QString question;
    };
    CatalogueEditor(CatalogueUi& ui, CatalogueTable& table, DeleteQuestion deleteQuestion, QWidget* parent);

    // Appends the right-aligned row "Добавить...", "Удалить", "OK" to `top` and connects the first
    // two; neither takes Enter. The window connects "OK" and decides whether it is the default.
    void AddRecordButtons(QVBoxLayout* top, QPushButton** add, QPushButton** remove, QPushButton** ok);
    // The dialog "Добавить" runs; null while it does not exist.
    virtual QDialog* addDialog() const = 0;
    // "OK" of a window whose boxes edit the record: stores the pending edit and closes, showing an
    // engine error. A refused number is shown and the window stays open.
    void CloseAndStore();

    CatalogueUi& ui_;
    CatalogueTable& table_;

private:
    DeleteQuestion deleteQuestion_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class CatalogueTable;
class CatalogueUi;
class QLineEdit;
class QPushButton;
class QString;
class QVBoxLayout;

// The one-line input dialogs of the catalogue (a name, a marking, a search pattern): an edit box,
// "ОК" running Button1Click and "Отмена". Each showing focuses the edit with its text selected.
class LineDialog : public QDialog {
    Q_OBJECT
public:
    virtual void Button1Click() = 0; // "ОК"

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    LineDialog(CatalogueUi& ui, QWidget* parent);
    // Connects "ОК" to Button1Click, once the layout has made the buttons.
    void ConnectOk();
    // "ОК" of a dialog that adds a record named by the edit: refuses an empty name, appends the
    // record to `table` with `field` set to `source`'s current `sourceField`, and closes. An engine
    // error is shown and keeps the dialog open.
    void AppendNamedRecord(CatalogueTable& table, const QString& field, const CatalogueTable& source,
                           const QString& sourceField);
    void showEvent(QShowEvent* event) override;

    CatalogueUi& ui_;
};

// Appends the dialog's button row to `top`: `okText` (the default button) and "Отмена", which
// rejects the dialog; `alignRight` pushes the buttons to the right. Enter means `okText` even while
// "Отмена" has the focus.
void AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, bool alignRight,
                    QPushButton** ok, QPushButton** cancel);
// Lays out the small one-line input dialogs: a group holding an edit box, then "ОК" (Enter) and
// "Отмена" (Esc). The edit keeps its text between showings.
void BuildNameDialog(QDialog* dialog, const QString& group, QLineEdit** edit, QPushButton** ok,
                     QPushButton** cancel);
// The "Внимание" box for an empty name.
void ShowEmptyNameBox(QDialog* dialog);

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

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
    void showEvent(QShowEvent* event) override;

    CatalogueUi& ui_;
};

// Appends the dialog's button row to `top`: `okText` (the default button) and "Отмена", which
// rejects the dialog; `stretch` pushes the buttons to the right.
void AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, bool stretch, QPushButton** ok,
                    QPushButton** cancel);
// Lays out the small one-line input dialogs: a group holding an edit box, then "ОК" (Enter) and
// "Отмена" (Esc). The edit keeps its text between showings.
void BuildNameDialog(QDialog* dialog, const QString& group, QLineEdit** edit, QPushButton** ok,
                     QPushButton** cancel);
// The "Внимание" box for an empty name.
void ShowEmptyNameBox(QDialog* dialog);

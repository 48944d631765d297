// SPDX-License-Identifier: MIT
#pragma once

class QDialog;
class QLineEdit;
class QPushButton;
class QString;
class QVBoxLayout;

// Appends the dialog's button row to `top`: `okText` (the default button) and "Отмена", which
// rejects the dialog; `stretch` pushes the buttons to the right.
void AddOkCancelRow(QDialog* dialog, QVBoxLayout* top, const QString& okText, bool stretch, QPushButton** ok,
                    QPushButton** cancel);
// Lays out the small one-line input dialogs: a group holding an edit box, then "ОК" (Enter) and
// "Отмена" (Esc). The edit keeps its text between showings.
void BuildNameDialog(QDialog* dialog, const QString& group, QLineEdit** edit, QPushButton** ok,
                     QPushButton** cancel);
// Focuses the edit and selects its text, as the dialogs do when activated.
void FocusNameEdit(QLineEdit* edit);
// The "Внимание" box for an empty name.
void ShowEmptyNameBox(QDialog* dialog);

// SPDX-License-Identifier: MIT
#pragma once

class QDialog;
class QLineEdit;
class QPushButton;
class QString;

// Lays out the small one-line input dialogs: a group holding an edit box, then "ОК" (Enter) and
// "Отмена" (Esc). The edit keeps its text between showings.
void BuildNameDialog(QDialog* dialog, const QString& group, QLineEdit** edit, QPushButton** ok,
                     QPushButton** cancel);
// Focuses the edit and selects its text, as the dialogs do when activated.
void FocusNameEdit(QLineEdit* edit);
// The "Внимание" box for an empty name.
void ShowEmptyNameBox(QDialog* dialog);

// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The button row of a dialog: `ok`, the default button, then "Отмена", which rejects the dialog.
// The caller connects `ok` and places `layout`.
struct OkCancelRow {
    QHBoxLayout* layout = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

// Makes the row with `okText` on the OK button; with `alignRight` a stretch pushes the buttons to
// the right.
OkCancelRow MakeOkCancelRow(QDialog* dialog, const QString& okText, bool alignRight);

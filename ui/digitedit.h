// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

// True when a key typed into a numeric edit must be discarded: every key that types a printable
// character other than the digits 0 to 9. Keys that type nothing or a control character (arrows,
// Home, End, Delete even when it carries "\x7f", Backspace), the dialog keys Enter, Escape and Tab,
// and shortcuts with Ctrl (select all, copy, cut, paste, undo) pass; what a paste inserts is
// checked by the edit's validator.
bool DiscardNonDigitKey(const QKeyEvent* event);

// Makes the edit accept only digits: typed keys by DiscardNonDigitKey, pasted or dropped text by
// a validator.
void MakeDigitsOnly(QLineEdit* edit);

// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

// True when a key typed into a numeric edit must be discarded: every key that types a character
// other than the digits 0 to 9, except backspace. Keys that type nothing (arrows, Delete, Home)
// and the dialog keys Enter, Escape and Tab pass.
bool DiscardNonDigitKey(const QKeyEvent* event);

// Makes the edit accept only digits: typed keys by DiscardNonDigitKey, pasted or dropped text by
// a validator.
void MakeDigitsOnly(QLineEdit* edit);

// SPDX-License-Identifier: MIT
#include "tform10.h"

TForm10::TForm10(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("База данных с микросхемами"));
}

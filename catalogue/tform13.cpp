// SPDX-License-Identifier: MIT
#include "tform13.h"

TForm13::TForm13(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Добвление микросхемы"));
}

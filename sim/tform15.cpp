// SPDX-License-Identifier: MIT
#include "tform15.h"

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Масштаб времени"));
}

// SPDX-License-Identifier: MIT
#include "tform9.h"

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ввод имени"));
}

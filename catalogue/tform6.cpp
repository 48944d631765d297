// SPDX-License-Identifier: MIT
#include "tform6.h"

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Ввод имени"));
}

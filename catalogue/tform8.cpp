// SPDX-License-Identifier: MIT
#include "tform8.h"

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Выбор картинки"));
}

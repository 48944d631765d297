// SPDX-License-Identifier: MIT
#include "tform12.h"

TForm12::TForm12(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Выбор картинки"));
}

// SPDX-License-Identifier: MIT
#include "tform14.h"

TForm14::TForm14(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Поиск микросхемы"));
}

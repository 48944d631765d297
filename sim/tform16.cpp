// SPDX-License-Identifier: MIT
#include "tform16.h"

TForm16::TForm16(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Настройка генератора"));
}

// SPDX-License-Identifier: MIT
#include "tform5.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("База данных с изображениями элементов"));
}

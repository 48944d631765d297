// SPDX-License-Identifier: MIT
#include "tform17.h"

TForm17::TForm17(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Осциллографы"));
}

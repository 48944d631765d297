// SPDX-License-Identifier: MIT
#include "sim/oscilloscopewindow.h"

TForm17::TForm17(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Осциллографы"));
}

// SPDX-License-Identifier: MIT
#include "ui/whitepanel.h"

#include <QPalette>
#include <QWidget>

void MakeWhitePanel(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

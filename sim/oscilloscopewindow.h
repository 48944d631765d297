// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class TForm17 : public QDialog {
    Q_OBJECT
public:
    explicit TForm17(QWidget* parent = nullptr);
};

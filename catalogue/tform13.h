// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class TForm13 : public QDialog {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The oscilloscope window: the traces of up to five probes over the simulated time.
class TForm17 : public QDialog {
    Q_OBJECT
public:
    explicit TForm17(QWidget* parent = nullptr);
};

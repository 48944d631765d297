// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>

#include <cstdint>

// A colour drop-down: the sixteen standard colours with swatches, plus the current colour when
// it is none of them. Colours are 0x00BBGGRR.
class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);

    int32_t selected() const;
    // Selects the colour without emitting colourChosen; adds an entry for an unlisted colour.
    void setSelected(int32_t color);

Q_SIGNALS:
    void colourChosen(int32_t color);
};

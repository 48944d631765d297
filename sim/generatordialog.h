// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

// The generator settings dialog: the durations of the high and the low level in time units.
// Both edits accept only digits.
class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(QWidget* parent = nullptr);

    // Fills the edits with the generator's durations.
    void SetDurations(int32_t high, int32_t low);
    // Stores the edits into the durations after "ОК": the high level first, then the low one; a
    // text that is no whole number leaves that duration and the ones after it unchanged.
    void StoreDurations(int32_t& high, int32_t& low) const;

    QLineEdit* Edit1 = nullptr;     // high level
    QLineEdit* Edit2 = nullptr;     // low level
    QPushButton* Button1 = nullptr; // "ОК"
    QPushButton* Button2 = nullptr; // "Отмена"
};

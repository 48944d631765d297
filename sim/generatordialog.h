// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class QLineEdit;
class QPushButton;

// The generator settings dialog: the durations of the high and the low level in time units.
// Both edits accept only digits, at most ten; "ОК" refuses a duration above the int32 range with a
// box and keeps the dialog open on that field, so no duration wraps or is cut.
class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(QWidget* parent = nullptr);

    // A duration as typed: digits only, 0 to 2147483647; anything else is no duration.
    static std::optional<int32_t> ParseDuration(const QString& text);

    // Fills the edits with the generator's durations.
    void SetDurations(int32_t high, int32_t low);
    // Stores the edits into the durations after "ОК": the high level first, then the low one; a
    // text that is no duration leaves that duration and the ones after it unchanged.
    void StoreDurations(int32_t& high, int32_t& low) const;

    void Button1Click(); // "ОК"

    QLineEdit* Edit1 = nullptr;     // high level
    QLineEdit* Edit2 = nullptr;     // low level
    QPushButton* Button1 = nullptr; // "ОК"
    QPushButton* Button2 = nullptr; // "Отмена"
};

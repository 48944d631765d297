// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class ColorBox;
class QCheckBox;
class QPushButton;
class TForm1;

// The settings dialog. Every change goes straight into the options; a colour change repaints
// the workspace at once. "ОК" and "Применить" write the settings file, "Отмена" only closes.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(TForm1* form1);

    QCheckBox* CheckBox1 = nullptr; // full selection
    QCheckBox* CheckBox2 = nullptr; // draw connections while moving
    QCheckBox* CheckBox3 = nullptr; // select on creation
    QCheckBox* CheckBox4 = nullptr; // highlight connection
    ColorBox* ColorBox1 = nullptr;  // desktop
    ColorBox* ColorBox2 = nullptr;  // grid
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonApply = nullptr;

    // Loads the six controls from the options.
    void LoadControls();

protected:
    bool event(QEvent* event) override;

private:
    void ColourChanged();
    TForm1* form1_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class ColorBox;
class QCheckBox;
class QComboBox;
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
    // The interface language, each named in itself; a choice goes into the main window at once
    // like the options, is written with them and followed at the next start.
    QComboBox* ComboLanguage = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonApply = nullptr;

    // Loads the controls from the options and the language choice.
    void LoadControls();

protected:
    bool event(QEvent* event) override;

private:
    void ColourChanged();
    TForm1* form1_;
};

// SPDX-License-Identifier: MIT
#include "app/colorbox.h"
#include "app/optionsfile.h"
#include "app/settingsdialog.h"
#include "editor/workspaceframe.h"
#include "tests/app/appfixture.h"
#include "tests/common/testutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

using SettingsDialog = AppFixture;

// A click on the box itself, at the left end of the control.
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

TEST_F(SettingsDialog, ShowsItsGroupsCheckBoxesTooltipsAndButtons) {
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройки"));
    EXPECT_EQ(d.size(), QSize(492, 320));
    QStringList groups;
    for (QGroupBox* g : d.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, QStringList({QStringLiteral("Дизайнер схемы"), QStringLiteral("Цвета")}));
    const std::pair<QCheckBox*, const char*> texts[] = {
        {d.CheckBox1, "Выделять только полностью обведенный элемент"},
        {d.CheckBox2, "Прорисовывать соединения при перемещении"},
        {d.CheckBox3, "Выделять элемент при добавлении в схему"},
        {d.CheckBox4, "Выделять соединения цветом."}};
    for (const auto& [box, text] : texts) {
        EXPECT_EQ(box->text(), QString::fromUtf8(text));
        EXPECT_FALSE(box->toolTip().isEmpty());
    }
    EXPECT_EQ(d.CheckBox4->toolTip(), QStringLiteral("Соединение под мышкой будет выделяться синим цветом"));
    QStringList labels;
    for (QLabel* l : d.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Рабочий стол")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Разметка")));
    EXPECT_EQ(d.ButtonOk->text(), QStringLiteral("ОК"));
    EXPECT_TRUE(d.ButtonOk->isDefault());
    EXPECT_EQ(d.ButtonCancel->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(d.ButtonApply->text(), QStringLiteral("Применить"));
}

TEST_F(SettingsDialog, LoadsTheOptionsWhenShownAndStoresEveryClickAtOnce) {
    writeConfig("[Selection]\nFull=1\nSel_conn=0\n[Colors]\nGrid=$808080\n");
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    d.show();
    EXPECT_TRUE(d.CheckBox1->isChecked());
    EXPECT_FALSE(d.CheckBox4->isChecked());
    EXPECT_EQ(d.ColorBox2->selected(), 0x808080);
    EXPECT_EQ(d.ColorBox1->selected(), 0xFFFFFF);
    clickBox(d.CheckBox3);
    clickBox(d.CheckBox4);
    EXPECT_TRUE(f.options().SelectOnCreate);
    EXPECT_TRUE(f.options().HighlightConnection);
    d.hide();
    // Changed elsewhere, shown again: the controls follow the options.
    f.options().SelectOnCreate = false;
    d.show();
    EXPECT_FALSE(d.CheckBox3->isChecked());
    d.hide();
}

TEST_F(SettingsDialog, AColourChangeRepaintsAtOnceAndCancelKeepsIt) {
    writeConfig("[Main]\nLockBases=0\n");
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    d.show();
    const QByteArray before = readConfig();
    d.ColorBox1->setCurrentIndex(d.ColorBox1->findData(0x00FFFF)); // yellow as 0x00BBGGRR
    EXPECT_EQ(f.options().DesktopColor, 0x00FFFF);
    EXPECT_EQ(f.Frame21->surface().pixel(5, 5), qRgb(255, 255, 0));
    d.ColorBox2->setCurrentIndex(d.ColorBox2->findData(0xFF0000)); // blue
    EXPECT_EQ(f.Frame21->surface().pixel(10, 20), qRgb(0, 0, 255));
    QTest::mouseClick(d.ButtonCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(readConfig(), before); // nothing written
    EXPECT_EQ(f.options().DesktopColor, 0x00FFFF);
    EXPECT_EQ(f.Frame21->surface().pixel(5, 5), qRgb(255, 255, 0));
}

TEST_F(SettingsDialog, ApplyWritesAndStaysOpenOkWritesAndCloses) {
    writeConfig("[Main]\nLockBases=0\n");
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    d.show();
    clickBox(d.CheckBox2);
    QTest::mouseClick(d.ButtonApply, Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(readConfig().contains("Draw_conn=1\r\n"));
    clickBox(d.CheckBox2);
    QTest::mouseClick(d.ButtonOk, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(readConfig().contains("Draw_conn=0\r\n"));
}

TEST_F(SettingsDialog, OkWithAnUnwritableFileShowsTheErrorAndStaysOpen) {
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    d.show();
    AcceptNextMessageBox();
    QTest::mouseClick(d.ButtonOk, Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(LastMessageBoxText(), QStringLiteral("Unable to write to %1").arg(configPath()));
    d.hide();
}

// The language choice: the running language until one is chosen, written as a new key only once
// the user picks one, followed at the next start.
TEST_F(SettingsDialog, TheLanguageChoiceIsWrittenOnlyOnceTheUserPicksOne) {
    writeConfig("[Main]\nLockBases=0\n");
    TForm1& f = start();
    TForm4& d = *f.window<TForm4>();
    d.show();
    EXPECT_EQ(d.ComboLanguage->currentText(), QStringLiteral("Русский")); // no translator: Russian
    QTest::mouseClick(d.ButtonApply, Qt::LeftButton);
    EXPECT_FALSE(readConfig().contains("Language"));

    d.ComboLanguage->setFocus();
    QTest::keyClick(d.ComboLanguage, Qt::Key_Down);
    EXPECT_EQ(d.ComboLanguage->currentText(), QStringLiteral("English"));
    QTest::mouseClick(d.ButtonOk, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(readConfig().contains("[Main]\r\nLockBases=0\r\nLanguage=en\r\n"))
        << readConfig().toStdString();
    EXPECT_EQ(ReadLanguage(IniFile(configPath())), QStringLiteral("en"));
    // Shown again, the dialog shows the choice, not the language of this run.
    d.show();
    EXPECT_EQ(d.ComboLanguage->currentText(), QStringLiteral("English"));
    QTest::keyClick(d.ComboLanguage, Qt::Key_Up);
    QTest::mouseClick(d.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(ReadLanguage(IniFile(configPath())), QStringLiteral("ru"));
}

} // namespace

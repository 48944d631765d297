// SPDX-License-Identifier: MIT
#include "ui/buttonrow.h"
#include "ui/digitedit.h"
#include "ui/picturescale.h"
#include "ui/translation.h"
#include "ui/windowregistry.h"

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

struct KeyCase {
    const char* name;
    Qt::Key key;
    QString text;
    bool discarded;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
};

class DigitKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DigitKeys, OnlyCharactersOtherThanDigitsAreDiscarded) {
    const KeyCase& c = GetParam();
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
    EXPECT_EQ(DiscardNonDigitKey(&event), c.discarded);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DigitKeys,
    ::testing::Values(KeyCase{"Zero", Qt::Key_0, QStringLiteral("0"), false},
                      KeyCase{"Nine", Qt::Key_9, QStringLiteral("9"), false},
                      KeyCase{"Letter", Qt::Key_A, QStringLiteral("a"), true},
                      KeyCase{"Minus", Qt::Key_Minus, QStringLiteral("-"), true},
                      KeyCase{"Space", Qt::Key_Space, QStringLiteral(" "), true},
                      KeyCase{"ArabicIndicDigit", Qt::Key_unknown, QStringLiteral("\u0663"), true},
                      KeyCase{"TwoDigitsAtOnce", Qt::Key_unknown, QStringLiteral("12"), true},
                      KeyCase{"Backspace", Qt::Key_Backspace, QStringLiteral("\b"), false},
                      KeyCase{"Enter", Qt::Key_Return, QStringLiteral("\r"), false},
                      KeyCase{"Escape", Qt::Key_Escape, QStringLiteral("\x1b"), false},
                      KeyCase{"Tab", Qt::Key_Tab, QStringLiteral("\t"), false},
                      KeyCase{"Delete", Qt::Key_Delete, QString(), false},
                      KeyCase{"DeleteWithDel", Qt::Key_Delete, QStringLiteral("\x7f"), false},
                      KeyCase{"Left", Qt::Key_Left, QString(), false},
                      KeyCase{"Home", Qt::Key_Home, QString(), false},
                      KeyCase{"End", Qt::Key_End, QString(), false},
                      KeyCase{"CtrlA", Qt::Key_A, QStringLiteral("\x01"), false, Qt::ControlModifier},
                      KeyCase{"CtrlC", Qt::Key_C, QStringLiteral("\x03"), false, Qt::ControlModifier},
                      KeyCase{"CtrlVWithLetter", Qt::Key_V, QStringLiteral("v"), false, Qt::ControlModifier},
                      KeyCase{"CtrlZ", Qt::Key_Z, QStringLiteral("\x1a"), false, Qt::ControlModifier},
                      KeyCase{"ShiftLetter", Qt::Key_A, QStringLiteral("A"), true, Qt::ShiftModifier}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(DigitEdit, TypedAndInsertedTextKeepsOnlyDigits) {
    QLineEdit edit;
    MakeDigitsOnly(&edit);
    QTest::keyClicks(&edit, QStringLiteral("1a2-3"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    // Text that does not come from a key (paste, drop) goes through the validator.
    edit.insert(QStringLiteral("4x"));
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    edit.insert(QStringLiteral("45"));
    EXPECT_EQ(edit.text(), QStringLiteral("1245"));
}

// Regression: select all, copy, paste, undo and Delete (which may carry "\x7f") were discarded
// as non-digits.
TEST(DigitEdit, TheUsualEditingKeysStillWork) {
    QLineEdit edit;
    MakeDigitsOnly(&edit);
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("12345"));
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("2345"));
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("234"));

    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.selectedText(), QStringLiteral("234"));
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("234"));
    QTest::keyClicks(&edit, QStringLiteral("9"));
    EXPECT_EQ(edit.text(), QStringLiteral("9"));

    QGuiApplication::clipboard()->setText(QStringLiteral("7x"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("9")); // a paste with a non-digit is refused whole
    QGuiApplication::clipboard()->setText(QStringLiteral("78"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("978"));
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("9"));
}

TEST(ToolkitTranslation, IsInstalledFromQtsFolderAndAMissingFileChangesNothing) {
    const QString yes = QStringLiteral("&Yes");
    {
        QTemporaryDir empty;
        EXPECT_EQ(InstallToolkitTranslation(empty.path()), nullptr);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
    }
    QTranslator* translator = InstallToolkitTranslation();
    ASSERT_NE(translator, nullptr)
        << "qtbase_ru missing: tools/install-deps.sh installs qt6-translations-l10n";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));
    // The edit boxes' context menu.
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList actions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) actions << a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    EXPECT_EQ(actions, (QStringList{"Отменить действие", "Повторить действие", "Вырезать", "Копировать",
                                    "Вставить", "Удалить", "Выделить всё"}));
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
}

struct LanguageCase {
    const char* override;
    const char* setting;
    const char* locale;
    Language chosen;
};

TEST(InterfaceLanguage, TheVariableOverTheSettingOverTheSystemLocale) {
    const LanguageCase cases[] = {
        {"", "", "ru_RU", Language::Russian},
        {"", "", "ru", Language::Russian},
        {"", "", "en_US", Language::English},
        {"", "", "C", Language::English},
        {"", "", "de_DE", Language::English},
        {"", "", "", Language::English},
        {"", "en", "ru_RU", Language::English},
        {"", "ru", "en_GB", Language::Russian},
        {"en", "ru", "ru_RU", Language::English},
        {"ru", "en", "en_US", Language::Russian},
        {" EN ", "", "ru_RU", Language::English},
        {"fr", "ru", "en_US", Language::Russian}, // unknown: ignored
        {"", "russian", "en_US", Language::English},
    };
    for (const LanguageCase& c : cases)
        EXPECT_EQ(ChooseLanguage(QString::fromUtf8(c.override), QString::fromUtf8(c.setting),
                                 QString::fromUtf8(c.locale)),
                  c.chosen)
            << c.override << '|' << c.setting << '|' << c.locale;
    for (const Language l : {Language::Russian, Language::English})
        EXPECT_EQ(ParseLanguage(LanguageCode(l)), l);
}

// Installing a language swaps the program's and the toolkit's translators; a missing English
// file leaves everything Russian.
TEST(InterfaceLanguage, InstallSwapsTheTranslators) {
    const auto file = [] { return QCoreApplication::translate("TForm1", "&Файл"); };
    const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    ASSERT_TRUE(InstallLanguage(Language::English))
        << "translations/tarnwell_en.qm is missing beside the test: the build makes it with lrelease";
    EXPECT_EQ(InstalledLanguage(), Language::English);
    EXPECT_EQ(file(), QStringLiteral("&File"));
    EXPECT_EQ(yes(), QStringLiteral("&Yes"));

    EXPECT_TRUE(InstallLanguage(Language::Russian));
    EXPECT_EQ(InstalledLanguage(), Language::Russian);
    EXPECT_EQ(file(), QStringLiteral("&Файл"));
    EXPECT_EQ(yes(), QStringLiteral("&Да"));

    QTemporaryDir empty;
    EXPECT_FALSE(InstallLanguage(Language::English, empty.path()));
    EXPECT_EQ(InstalledLanguage(), Language::Russian);
    EXPECT_EQ(file(), QStringLiteral("&Файл"));

    RemoveLanguage();
    EXPECT_EQ(yes(), QStringLiteral("&Yes"));
    EXPECT_EQ(file(), QStringLiteral("&Файл"));
}

struct ScaleCase {
    QSize picture;
    QSize box;
    QSize shown;
};

TEST(PictureScale, GrowsByTheLargestWholeFactorThatFits) {
    const ScaleCase cases[] = {
        {{50, 60}, {300, 130}, {100, 120}}, // height allows 2, width 6
        {{50, 100}, {300, 130}, {50, 100}}, // factor 1
        {{30, 10}, {300, 130}, {300, 100}}, // width allows exactly 10
        {{400, 50}, {300, 130}, {400, 50}}, // larger than the box: kept
        {{81, 81}, {81, 81}, {81, 81}},     // exactly the box
        {{}, {300, 130}, {}},               // no picture
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(WholeFactorSize(c.picture, c.box), c.shown)
            << c.picture.width() << "x" << c.picture.height();
}

TEST(OkCancelRow, OkIsTheDefaultAndCancelRejects) {
    for (const bool alignRight : {false, true}) {
        QDialog dialog;
        const OkCancelRow row = MakeOkCancelRow(&dialog, QStringLiteral("ОК"), alignRight);
        auto* top = new QVBoxLayout(&dialog);
        top->addLayout(row.layout);
        EXPECT_EQ(row.ok->text(), QStringLiteral("ОК"));
        EXPECT_EQ(row.cancel->text(), QStringLiteral("Отмена"));
        EXPECT_TRUE(row.ok->isDefault());
        EXPECT_FALSE(row.cancel->isDefault());
        // With alignRight a stretch stands before the two buttons.
        ASSERT_EQ(row.layout->count(), alignRight ? 3 : 2);
        EXPECT_EQ(row.layout->itemAt(row.layout->count() - 2)->widget(), row.ok);
        EXPECT_EQ(row.layout->itemAt(row.layout->count() - 1)->widget(), row.cancel);

        dialog.show();
        row.cancel->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// Two window classes of the registry's kind.
class FirstWindow : public QLabel {
    Q_OBJECT
};
class SecondWindow : public QLabel {
    Q_OBJECT
};

TEST(WindowRegistry, FindsEachWindowByItsClassUntilItIsDeleted) {
    WindowRegistry windows;
    EXPECT_EQ(windows.get<FirstWindow>(), nullptr);
    auto* first = new FirstWindow;
    auto* second = new SecondWindow;
    windows.add(first);
    windows.add(second);
    EXPECT_EQ(windows.get<FirstWindow>(), first);
    EXPECT_EQ(windows.get<SecondWindow>(), second);
    // The base class is not a key of its own.
    EXPECT_EQ(windows.get<QLabel>(), nullptr);
    // Registering through a base pointer still keys the window by its own class.
    auto* replacement = new FirstWindow;
    windows.add(static_cast<QWidget*>(replacement));
    EXPECT_EQ(windows.get<FirstWindow>(), replacement);
    delete first;
    delete second;
    EXPECT_EQ(windows.get<SecondWindow>(), nullptr);
    EXPECT_EQ(windows.get<FirstWindow>(), replacement);
    delete replacement;
    EXPECT_EQ(windows.get<FirstWindow>(), nullptr);
}

} // namespace

#include "test_ui.moc"

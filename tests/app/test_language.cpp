// SPDX-License-Identifier: MIT
#include "app/navigatorpanel.h"
#include "app/settingsdialog.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementchooser.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/elementswindow.h"
#include "catalogue/markingdialog.h"
#include "catalogue/picturechooser.h"
#include "catalogue/picturenamedialog.h"
#include "catalogue/pictureswindow.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"
#include "tests/app/appfixture.h"
#include "ui/translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabBar>
#include <QTreeView>

#include <algorithm>

namespace {

// One text a user can read, with where it was found.
struct Shown {
    QString where;
    QString text;
};

// Every text of `top` a user can read: its title, the texts, titles and tooltips of its widgets
// that show when it shows, the items of its lists and combo boxes, the column titles of its
// tables, and every action of its menus (shown or not). The rows of tables and trees and the
// contents of edit boxes are data and left out.
QList<Shown> ReadableTexts(QWidget* top) {
    QList<Shown> out;
    const auto add = [&out](const QObject* o, const char* what, const QString& text) {
        if (!text.isEmpty())
            out.push_back({QStringLiteral("%1 %2 %3")
                               .arg(QString::fromLatin1(o->metaObject()->className()), o->objectName(),
                                    QString::fromLatin1(what)),
                           text});
    };
    add(top, "title", top->windowTitle());
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            add(menu, "title", menu->title());
            continue;
        }
        if (w != top && !w->isVisibleTo(top)) continue;
        add(w, "tooltip", w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(w, "text", label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(w, "text", button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            add(w, "title", group->title());
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, "tab", tabs->tabText(i));
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(w, "item", combo->itemText(i));
        else if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                add(w, "item", list->item(i)->text());
        else if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                if (!header->isSectionHidden(i))
                    add(w, "column", header->model()->headerData(i, header->orientation()).toString());
    }
    for (const QAction* a : top->findChildren<QAction*>()) {
        add(a, "action", a->text());
        if (a->toolTip() != a->text()) add(a, "action tooltip", a->toolTip());
    }
    return out;
}

const QRegularExpression Cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
const QRegularExpression LatinWord(QStringLiteral("[A-Za-z]{2,}"));

// A text of the other language: any Cyrillic letter in English, but in the name of the Russian
// language itself on the language choice and in lines that are data (`data`: the chips'
// markings, which come from the catalogue as they are); in Russian a Latin word that is no name,
// unit or file kind.
bool Foreign(const Shown& s, Language language, const QStringList& data = {}) {
    if (language == Language::English) {
        if (s.text == QStringLiteral("Русский")) return false;
        const QStringList lines = s.text.split(u'\n');
        return std::any_of(lines.begin(), lines.end(),
                           [&data](const QString& l) { return l.contains(Cyrillic) && !data.contains(l); });
    }
    // "Name" titles the pictures' column as it always has.
    static const QStringList kept{"Tarnwell", "Zivuvazodi", "OK",  "English", "VCD", "CSV",  "PNG", "BMP",
                                  "tsv",      "vcd",        "csv", "png",     "bmp", "Name", "SVG", "PDF"};
    for (const QRegularExpressionMatch& m : LatinWord.globalMatch(s.text))
        if (!kept.contains(m.captured())) return true;
    return false;
}

// Each window of the program, as the registry holds it.
QList<QWidget*> EveryWindow(TForm1& f) {
    return {&f,
            f.window<TForm4>(),
            f.window<TForm5>(),
            f.window<TForm6>(),
            f.window<TForm7>(),
            f.window<TForm8>(),
            f.window<TForm9>(),
            f.window<TForm10>(),
            f.window<TForm11>(),
            f.window<TForm12>(),
            f.window<TForm13>(),
            f.window<TForm14>(),
            f.window<TForm15>(),
            f.window<TForm16>(),
            f.window<TForm17>()};
}

// The interface in one language for the length of a test; Russian without translators after it.
class Interface : public AppFixture, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        copyDefaultCatalogue();
        writeConfig("[Main]\nLockBases=0\n");
        ASSERT_TRUE(InstallLanguage(GetParam()) || GetParam() == Language::Russian);
    }
    void TearDown() override {
        AppFixture::TearDown();
        RemoveLanguage();
    }
};

TEST_P(Interface, EveryWindowShowsOnlyItsLanguage) {
    const Language language = GetParam();
    TForm1& f = start();
    ASSERT_TRUE(f.LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/divide_by_two.tsv")));
    f.ActOscilloscopes->trigger(); // the channel list and panels of the example's two probes
    // The navigator's groups other than the special elements' are the listed chips' markings.
    QStringList marks;
    const QAbstractItemModel* tree = f.NavPanel->TreeView1->model();
    for (int r = 0; r < tree->rowCount(); ++r)
        marks << tree->index(r, 0).data().toString();
    EXPECT_EQ(marks.size(), 4) << marks.join(u',').toStdString();
    marks.removeAll(language == Language::English ? QStringLiteral("Special Elements")
                                                  : QStringLiteral("Спец. элементы"));
    EXPECT_EQ(marks.size(), 3);
    QStringList foreign;
    for (QWidget* w : EveryWindow(f)) {
        ASSERT_NE(w, nullptr);
        for (const Shown& s : ReadableTexts(w))
            if (Foreign(s, language, marks)) foreign << s.where + QStringLiteral(": ") + s.text;
    }
    EXPECT_TRUE(foreign.isEmpty()) << foreign.join(u'\n').toStdString();

    // A question box of the main window: a changed schematic before "Новый".
    f.NavPanel->PopupSwitch->trigger();
    QList<Shown> box;
    WhenModalShown([&box](QWidget* w) {
        box = ReadableTexts(w);
        if (auto* m = qobject_cast<QMessageBox*>(w)) {
            box.push_back({QStringLiteral("message"), m->text()});
            m->button(QMessageBox::Cancel)->click();
        }
    });
    f.ActNew->trigger();
    ASSERT_FALSE(box.isEmpty());
    for (const Shown& s : box)
        EXPECT_FALSE(Foreign(s, language)) << s.where.toStdString() << ": " << s.text.toStdString();
    const QStringList expected =
        language == Language::English
            ? QStringList{"Warning", "Save changes to the schematic?", "Yes", "No", "Cancel"}
            : QStringList{"Внимание", "Сохранить изменения в схеме?", "Да", "Нет", "Отмена"};
    QStringList texts;
    for (const Shown& s : box)
        texts << s.text;
    for (const QString& t : expected)
        EXPECT_TRUE(texts.contains(t)) << t.toStdString();

    // The export dialog, opened on demand from "Файл".
    QList<Shown> exported;
    WhenModalShown([&exported](QWidget* w) {
        exported = ReadableTexts(w);
        exported.push_back({QStringLiteral("title"), w->windowTitle()});
        qobject_cast<QDialog*>(w)->reject();
    });
    f.ActExport->trigger();
    ASSERT_GT(exported.size(), 5);
    for (const Shown& s : exported)
        EXPECT_FALSE(Foreign(s, language)) << s.where.toStdString() << ": " << s.text.toStdString();
}

// The names that are data show in the language of the interface, in the navigator and on the
// pictures' tooltips, while the model keeps them as they are.
TEST_P(Interface, SpecialNamesAreMappedForDisplayOnly) {
    const bool english = GetParam() == Language::English;
    TForm1& f = start();
    ASSERT_TRUE(f.LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/divide_by_two.tsv")));
    f.NavPanel->PopupSwitch->trigger();
    QStringList shown;
    const QAbstractItemModel* view = f.NavPanel->TreeView1->model();
    for (int r = 0; r < view->rowCount(); ++r) {
        const QModelIndex group = view->index(r, 0);
        shown << group.data().toString();
        for (int c = 0; c < view->rowCount(group); ++c)
            shown << view->index(c, 0, group).data().toString();
    }
    const QStringList special =
        english
            ? QStringList{"Special Elements", "Generator1", "Probe1", "Probe2", "Switch1"}
            : QStringList{"Спец. элементы", "Генератор1", "Осциллограф1", "Осциллограф2", "Переключатель1"};
    for (const QString& name : special)
        EXPECT_TRUE(shown.contains(name)) << name.toStdString() << " in " << shown.join(", ").toStdString();
    int generator = 0;
    for (int k = 1; k <= f.model().ElementCount(); ++k)
        if (f.model().element(k).kind() == ElementKind::Generator) generator = k;
    ASSERT_NE(generator, 0);
    EXPECT_EQ(f.model().element(generator).Name, QStringLiteral("Генератор1"));
    EXPECT_EQ(f.Frame21->picture(generator)->toolTip(),
              english ? QStringLiteral("Generator1") : QStringLiteral("Генератор1"));
}

INSTANTIATE_TEST_SUITE_P(Languages, Interface, ::testing::Values(Language::English, Language::Russian),
                         [](const auto& info) { return LanguageCode(info.param).toStdString(); });

using SavedInEitherLanguage = AppFixture;

// The same edits from the English and from the Russian interface give the same files, byte for byte.
TEST_F(SavedInEitherLanguage, GivesTheSameFiles) {
    copyDefaultCatalogue();
    writeConfig("[Main]\nLockBases=0\n");
    std::map<Language, std::array<QByteArray, 3>> files;
    for (const Language language : {Language::English, Language::Russian}) {
        ASSERT_TRUE(InstallLanguage(language) || language == Language::Russian);
        start();
        ASSERT_TRUE(form->LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/divide_by_two.tsv")));
        for (QAction* a : {form->NavPanel->PopupSwitch, form->NavPanel->PopupIndicator,
                           form->NavPanel->PopupGenerator, form->NavPanel->PopupProbe})
            a->trigger();
        const QString base = dir.filePath(LanguageCode(language));
        ASSERT_TRUE(form->SaveSchematic(base + QStringLiteral(".tsv")));
        const char* const exts[] = {".tsv", ".esv", ".csv"};
        for (size_t i = 0; i < 3; ++i) {
            QFile file(base + QString::fromLatin1(exts[i]));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << exts[i];
            files[language][i] = file.readAll();
        }
        form->close();
        form.reset();
        RemoveLanguage();
    }
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(files[Language::English][i].isEmpty());
        EXPECT_EQ(files[Language::English][i], files[Language::Russian][i]) << i;
    }
    for (const QByteArray& bytes : files[Language::English])
        EXPECT_FALSE(bytes.contains("Switch") || bytes.contains("Special")) << bytes.left(200).toStdString();
}

} // namespace

// SPDX-License-Identifier: MIT
// "Сохранить как...", "Открыть..." and "Новый" in a running main window with the default catalogue.
#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "sim/oscilloscopewindow.h"
#include "tests/app/appfixture.h"
#include "tests/common/testutil.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <array>
#include <functional>
#include <optional>

namespace {

class FileCommands : public CatalogueAppFixture {
protected:
    Schematic& s() { return form->model(); }

    int Place(QStandardItem* node) {
        TPlacementData data;
        QString error;
        EXPECT_TRUE(form->PlacementFor(node, &data, &error)) << error.toStdString();
        return s().PlaceNode(node, data, false, nullptr);
    }

    // Two NAND gates of К155ЛА3, a switch and a probe; the switch drives both inputs of the first
    // gate, whose output goes to the probe.
    void BuildSchematic() {
        QStandardItem* chip = s().ListChip(QStringLiteral("К155ЛА3"), 4);
        ASSERT_EQ(Place(chip->child(0)), 1);
        ASSERT_EQ(Place(chip->child(1)), 2);
        ASSERT_EQ(Place(s().ListSpecial(ElementKind::Switch)), 3);
        ASSERT_EQ(Place(s().ListSpecial(ElementKind::Probe)), 4);
        s().SetCoord(1, {20, 10});
        s().SetCoord(2, {20, 30});
        s().SetCoord(3, {5, 11});
        s().SetCoord(4, {40, 8});
        s().SetReactions(2, 5, 6);
        ASSERT_TRUE(s().ConnectPins({3, 0}, {1, 0}));
        ASSERT_TRUE(s().ConnectPins({3, 0}, {1, 1}));
        ASSERT_TRUE(s().ConnectPins({1, 2}, {4, 0}));
    }

    // Types `name` into the file dialog that comes up next (of `mode` only, when given) and confirms
    // it with Enter; records what the dialog offered.
    void AnswerFileDialog(const QString& name, std::optional<QFileDialog::AcceptMode> mode = std::nullopt) {
        const auto wanted = [mode](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            return dialog && (!mode || dialog->acceptMode() == *mode);
        };
        WhenModalShown(wanted, [this, name](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            offered = {dialog->nameFilters().join(u';'), dialog->defaultSuffix(), dialog->directory().path()};
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit) return dialog->reject();
            // A plain name is typed; a whole path is put in at once (the completer would take the
            // Return key while it shows its list).
            edit->clear();
            if (name.contains(u'/'))
                edit->setText(name);
            else
                QTest::keyClicks(edit, name);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }

    QStringList offered;
};

// The question about unsaved changes: its text and buttons, and the button that answers it.
struct Question {
    QString text, title;
    QStringList buttons;
};

void AnswerQuestion(QMessageBox::StandardButton answer, Question* seen) {
    WhenModalShown(
        [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
        [answer, seen](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            seen->text = box->text();
            seen->title = box->windowTitle();
            for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                seen->buttons << (box->button(b) ? box->button(b)->text() : QString());
            box->button(answer)->click();
        });
}

TEST_F(FileCommands, SaveAsStoresTheThreeFilesUnderATypedNameWithoutExtension) {
    BuildSchematic();
    AnswerFileDialog(QStringLiteral("scheme"));
    form->ActSaveAs->trigger();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Схема Zivuvazodi Tarnwell (*.tsv)"),
                                    QStringLiteral("tsv"), QDir(dir.path()).canonicalPath()}));
    for (const char* ext : {"tsv", "esv", "csv"})
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("scheme.") + QString::fromLatin1(ext)))) << ext;
    QFile elements(dir.filePath(QStringLiteral("scheme.esv")));
    ASSERT_TRUE(elements.open(QIODevice::ReadOnly));
    EXPECT_EQ(elements.size(), 4 * ElementRecordSize);
    // The toolbar's button saves as well, and replaces the files without a question.
    s().SetCoord(1, {21, 10});
    AnswerFileDialog(QStringLiteral("scheme.tsv"));
    QTest::mouseClick(form->ToolButtonSave, Qt::LeftButton);
    EXPECT_EQ(QFile(dir.filePath(QStringLiteral("scheme.esv"))).size(), 4 * ElementRecordSize);
    Schematic back;
    LoadSchematicFiles(back, SchematicFileNames(dir.filePath(QStringLiteral("scheme.tsv"))), {});
    EXPECT_EQ(back.navigator().count(), 8);
}

TEST_F(FileCommands, OpenReplacesTheSchematicOnScreenAndRestoresIt) {
    BuildSchematic();
    const QString path = dir.filePath(QStringLiteral("set.tsv"));
    ASSERT_TRUE(form->SaveSchematic(path));
    const std::vector<TConns> nets = s().Conns();

    // Something else on screen, with the switch on and the probe's channel shown.
    form->Button8Click();
    QStandardItem* other = s().ListChip(QStringLiteral("К155ЛН1"), 1);
    Place(other->child(0));
    ASSERT_EQ(s().ChipCount(), 2);

    AnswerFileDialog(path);
    QTest::mouseClick(form->ToolButtonOpen, Qt::LeftButton);
    ASSERT_EQ(s().ElementCount(), 4);
    EXPECT_EQ(s().element(1).Name, QStringLiteral("D1.1"));
    EXPECT_EQ(s().element(2).Reaction_LH, 5);
    EXPECT_EQ(s().element(2).Reaction_HL, 6);
    EXPECT_EQ(s().Conns(), nets);
    EXPECT_EQ(s().OscChannel(1), 4);
    EXPECT_EQ(s().OscCount(), 1);
    EXPECT_EQ(s().ChipCount(), 2); // never goes back
    EXPECT_EQ(CheckInvariants(s()) + CheckNavigator(s()), "");
    // The pictures stand at their cells, the traces are in the two log boxes.
    const int scale = form->Frame21->view().Scale;
    ElementPicture* picture = form->Frame21->picture(1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pos(), QPoint(20 * scale + 2, 10 * scale + 2));
    EXPECT_FALSE(form->Frame21->picture(5));
    const QString memo1 = form->Memo1->toPlainText();
    EXPECT_TRUE(memo1.contains(QStringLiteral("\nCoord.x 40\nCoord.y 8\nWidth 71\nHeight 81\n")));
    EXPECT_TRUE(memo1.contains(QStringLiteral("Conns[1][High(Conns[1])]=4=0")));
    EXPECT_TRUE(form->Memo2->toPlainText().startsWith(QStringLiteral("Cons[i] 3\n")));
    // The wires are routed: the probe's pin cell belongs to net 1.
    EXPECT_EQ(form->Frame21->grids().NetMap.at(40, 12), 1);
}

// The example schematics were saved by the program and open in it: every element placed, every
// net kept, nothing dropped.
TEST_F(FileCommands, TheExamplesOpenCleanly) {
    struct Example {
        const char* name;
        int elements;
        int nets;
    };
    for (const Example& e : {Example{"rs_latch", 8, 4}, Example{"ring_oscillator", 4, 3},
                             Example{"half_adder", 9, 7}, Example{"divide_by_two", 11, 10}}) {
        form->Memo1->clear();
        ASSERT_TRUE(
            form->LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/%1.tsv").arg(QString::fromLatin1(e.name))))
            << e.name;
        EXPECT_EQ(s().ElementCount(), e.elements) << e.name;
        EXPECT_EQ(static_cast<int>(s().Conns().size()), e.nets) << e.name;
        EXPECT_EQ(CheckInvariants(s()) + CheckNavigator(s()), "") << e.name;
        EXPECT_FALSE(form->Memo1->toPlainText().contains(QStringLiteral("пропущена"))) << e.name;
        for (int i = 1; i <= s().ElementCount(); ++i)
            EXPECT_TRUE(form->Frame21->picture(i)) << e.name << ' ' << i;
    }
}

TEST_F(FileCommands, FailuresShowTheErrorBoxAndStopThere) {
    BuildSchematic();
    const QString path = dir.filePath(QStringLiteral("set.tsv"));
    ASSERT_TRUE(form->SaveSchematic(path));

    AcceptNextMessageBox();
    EXPECT_FALSE(form->LoadSchematic(dir.filePath(QStringLiteral("none.tsv"))));
    EXPECT_EQ(LastMessageBoxTitle(), QStringLiteral("Tarnwell"));
    EXPECT_EQ(
        LastMessageBoxText(),
        QStringLiteral("Cannot open file \"%1\". No such file or directory\nСхема не загружена: она пуста.")
            .arg(dir.filePath(QStringLiteral("none.tsv"))));
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_EQ(s().navigator().count(), 0);

    QFile::remove(dir.filePath(QStringLiteral("set.csv")));
    AcceptNextMessageBox();
    EXPECT_FALSE(form->LoadSchematic(path));
    // Every file error names the file and says what was loaded.
    EXPECT_EQ(LastMessageBoxText(),
              QStringLiteral("File not found\nФайл: %1\nЭлементы размещены, цепи не загружены.")
                  .arg(dir.filePath(QStringLiteral("set.csv"))));
    EXPECT_EQ(s().ElementCount(), 4);
    EXPECT_TRUE(s().Conns().empty());

    // The net file's name is taken by a folder: the save fails and the other two stay as they were.
    QFile tree(path);
    ASSERT_TRUE(tree.open(QIODevice::ReadOnly));
    const QByteArray before = tree.readAll();
    tree.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("set.csv")));
    s().ListChip(QStringLiteral("К155ЛЕ1"), 1);
    AcceptNextMessageBox();
    EXPECT_FALSE(form->SaveSchematic(path));
    EXPECT_EQ(LastMessageBoxText(), QStringLiteral("File access denied\nФайл: %1\nСхема не сохранена; файлы "
                                                   "схемы на диске остались прежними.")
                                        .arg(dir.filePath(QStringLiteral("set.csv"))));
    ASSERT_TRUE(tree.open(QIODevice::ReadOnly));
    EXPECT_EQ(tree.readAll(), before);

    // A cancelled dialog changes nothing.
    WhenModalShown([](QWidget* w) {
        if (auto* d = qobject_cast<QFileDialog*>(w)) d->reject();
    });
    form->ActOpen->trigger();
    EXPECT_EQ(s().ElementCount(), 4);
}

TEST_F(FileCommands, NewEmptiesTheSchematicAndHidesTheOscilloscope) {
    BuildSchematic();
    form->window<TForm17>()->show();
    QTest::mouseClick(form->ToolButtonNew, Qt::LeftButton);
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_TRUE(s().Conns().empty());
    EXPECT_EQ(s().navigator().count(), 0);
    EXPECT_EQ(s().OscCount(), 0);
    EXPECT_EQ(s().OscChannel(1), 0);
    EXPECT_EQ(s().ChipCount(), 1);
    EXPECT_FALSE(form->window<TForm17>()->isVisible());
    EXPECT_FALSE(form->Frame21->picture(1));
    EXPECT_EQ(form->Frame21->grids().NetMap.at(40, 12), NoNet);
}

// A load and a "Новый" between two cycles of a run: the run goes on over the new nets.
TEST_F(FileCommands, LoadAndNewDuringARunKeepTheSimulatorWithTheNets) {
    BuildSchematic();
    const QString path = dir.filePath(QStringLiteral("set.tsv"));
    ASSERT_TRUE(form->SaveSchematic(path));
    form->Button8Click();
    s().ListChip(QStringLiteral("К155ЛН1"), 2);

    SimulationRun& run = form->simulationRun();
    run.waitMs = [] { return 0; };
    int cycle = 0;
    std::vector<size_t> levels;
    run.onCycle = [&] {
        ++cycle;
        if (cycle == 2) form->LoadSchematic(path);
        if (cycle == 3 || cycle == 5) levels.push_back(form->simulator().NetLevels.size());
        if (cycle == 4) form->ActNew->trigger();
        if (cycle == 6) run.Stop();
    };
    form->ToolButton6Click();
    EXPECT_EQ(levels, (std::vector<size_t>{2, 0}));
    EXPECT_EQ(cycle, 6);
}

// The example file set rs_latch copied into the test folder as set.*, with `change` applied to
// each file's bytes (tree, elements, nets).
QString CopyRsLatch(const QDir& to,
                    const std::function<void(QByteArray&, QByteArray&, QByteArray&)>& change) {
    std::array<QByteArray, 3> bytes;
    const char* const exts[] = {"tsv", "esv", "csv"};
    for (int i = 0; i < 3; ++i) {
        QFile f(QStringLiteral(TARNWELL_EXAMPLES "/rs_latch.") + QString::fromLatin1(exts[i]));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        bytes[static_cast<size_t>(i)] = f.readAll();
    }
    change(bytes[0], bytes[1], bytes[2]);
    for (int i = 0; i < 3; ++i) {
        QFile f(to.filePath(QStringLiteral("set.") + QString::fromLatin1(exts[i])));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes[static_cast<size_t>(i)]);
    }
    return to.filePath(QStringLiteral("set.tsv"));
}

// Regression: with the latch's chip missing from the catalogue its two gates were not placed and
// every later element took their numbers in the net file: Переключатель1 ended up wired to
// Индикатор1, and "Сохранить как" stored the wrong nets. Now the box lists the two gates and why,
// and the nets left are exactly the latch's nets among the elements that were placed.
TEST_F(FileCommands, AFileSetWithAChipTheCatalogueLacksKeepsTheOtherElementsNets) {
    ASSERT_TRUE(form->LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/rs_latch.tsv")));
    s().SelectElement(1);
    s().SelectElement(2);
    s().DeleteSelected();
    const std::vector<TConns> expected = s().Conns();
    ASSERT_EQ(expected, (std::vector<TConns>{{{3, 0}, {5, 0}}, {{4, 0}, {6, 0}}}));

    const QString set = CopyRsLatch(QDir(dir.path()), [](QByteArray& tree, QByteArray&, QByteArray&) {
        tree.replace("\xCA\x31\x35\x35\xCB\xC0\x33", "NOSUCHCHIP"); // К155ЛА3
    });
    AcceptNextMessageBox();
    ASSERT_TRUE(form->LoadSchematic(set));
    EXPECT_EQ(LastMessageBoxTitle(), QStringLiteral("Внимание"));
    const QStringList box = LastMessageBoxText().split(u'\n');
    ASSERT_EQ(box.size(), 6) << LastMessageBoxText().toStdString();
    EXPECT_EQ(box[0], QStringLiteral("Не размещены элементы схемы (2):"));
    EXPECT_EQ(box[1],
              QStringLiteral("D1.1 (запись 1): Микросхема «NOSUCHCHIP» не найдена в каталоге; Файл: %1")
                  .arg(QDir(dir.path()).filePath(QStringLiteral("bases/microchips.db"))));
    EXPECT_TRUE(box[2].startsWith(QStringLiteral("D1.2 (запись 2): ")));
    EXPECT_TRUE(
        box[3].contains(QStringLiteral("Если сохранить схему сейчас, этих элементов в её файлах не будет")));
    // Six pins on the gates left the nets, and two nets were left with one pin.
    EXPECT_EQ(box[5], QStringLiteral(
                          "Из файла цепей пропущены ссылки на выводы или цепи (8), подробности в журнале."));
    ASSERT_EQ(s().ElementCount(), 6);
    EXPECT_EQ(s().element(1).Name, QStringLiteral("Переключатель1"));
    EXPECT_EQ(s().Conns(), expected);
    EXPECT_FALSE(s().PinIsConnected({1, 0})) << "the switch is wired to nothing";
    EXPECT_EQ(CheckInvariants(s()) + CheckNavigator(s()), "");
    // Saved now, the set holds the six elements and their own nets, and opens alike.
    ASSERT_TRUE(form->SaveSchematic(dir.filePath(QStringLiteral("again.tsv"))));
    ASSERT_TRUE(form->LoadSchematic(dir.filePath(QStringLiteral("again.tsv"))));
    EXPECT_EQ(s().ElementCount(), 6);
    EXPECT_EQ(s().Conns(), expected);
}

// Regression: one flipped byte put an element at x = 268435464, and laying its picture out at
// 10 pixels a cell overflowed int (the sanitizer build aborted). The record is refused by name.
TEST_F(FileCommands, AFlippedCoordinateByteOpensWithTheElementRefused) {
    const QString set = CopyRsLatch(QDir(dir.path()), [](QByteArray&, QByteArray& elements, QByteArray&) {
        elements[2 * ElementRecordSize + 3] = 0x10; // record 3's x: 8 becomes 0x10000008
    });
    AcceptNextMessageBox();
    ASSERT_TRUE(form->LoadSchematic(set));
    EXPECT_EQ(LastMessageBoxText().split(u'\n').value(1),
              QStringLiteral(
                  "Переключатель1 (запись 3): координаты (268435464, 10) вне пределов -1000000…1000000"));
    EXPECT_EQ(s().ElementCount(), 7);
    for (int i = 1; i <= s().ElementCount(); ++i)
        EXPECT_TRUE(form->Frame21->picture(i)->geometry().intersects(form->Frame21->Panel1()->rect())) << i;
    // Every zoom lays the pictures out again.
    for (int zoom = 0; zoom < form->ComboBox1->count(); ++zoom)
        form->ComboBox1->setCurrentIndex(zoom);
}

// Regression: the net count under the navigator kept its old number after "Новый" and "Открыть...".
TEST_F(FileCommands, TheNetCountFollowsNewAndOpen) {
    BuildSchematic();
    const QString path = dir.filePath(QStringLiteral("set.tsv"));
    ASSERT_TRUE(form->SaveSchematic(path));
    EXPECT_EQ(form->NavPanel->Label1->text(), QStringLiteral("2"));
    QTest::mouseClick(form->ToolButtonNew, Qt::LeftButton);
    EXPECT_EQ(form->NavPanel->Label1->text(), QStringLiteral("0"));
    AnswerFileDialog(path);
    QTest::mouseClick(form->ToolButtonOpen, Qt::LeftButton);
    EXPECT_EQ(form->NavPanel->Label1->text(), QStringLiteral("2"));
}

// A save cut short is finished by the next open of that name, which says so in the log.
TEST_F(FileCommands, OpenFinishesASaveCutShortAndSaysSoInTheLog) {
    BuildSchematic();
    const QString path = dir.filePath(QStringLiteral("set.tsv"));
    ASSERT_TRUE(form->SaveSchematic(path));
    s().SetCoord(1, {60, 60});
    // Stopped after the commit journal and the first renames, as a kill would stop it.
    EXPECT_EQ(SaveSchematicFiles(
                  s(), SchematicFileNames(path), nullptr,
                  [](int step) { return step == 8 ? CommitHookAction::Stop : CommitHookAction::Go; }),
              QStringLiteral("Сохранение остановлено"));
    form->Memo1->clear();
    ASSERT_TRUE(form->LoadSchematic(path));
    EXPECT_EQ(s().element(1).Coord, (TPoint32{60, 60}));
    EXPECT_TRUE(form->Memo1->toPlainText().startsWith(
        QStringLiteral(
            "Сохранение схемы \"%1\" было прервано после записи всех файлов: оно завершено, на диске "
            "новая схема.")
            .arg(path)));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("set.*")}, QDir::Files),
              (QStringList{"set.csv", "set.esv", "set.tsv"}));
}

} // namespace

namespace {

enum class Command { New, Open, Close };

struct UnsavedCase {
    const char* name;
    Command command;
    QMessageBox::StandardButton answer;
    bool hasFile;  // the schematic was saved before its last change
    bool replaced; // the schematic (or the window) gives way
    bool saved;    // the change reached a file
};

void PrintTo(const UnsavedCase& c, std::ostream* os) {
    *os << c.name;
}

class UnsavedChanges : public FileCommands, public ::testing::WithParamInterface<UnsavedCase> {};

// "Новый", "Открыть..." and closing with a changed schematic ask first: "Да" saves (to the file set
// it has, or through "Сохранить как" when it has none) and goes on, "Нет" goes on without saving,
// "Отмена" keeps the schematic and the changes.
TEST_P(UnsavedChanges, AskBeforeTheSchematicGoes) {
    const UnsavedCase& c = GetParam();
    const QString own = dir.filePath(QStringLiteral("own.tsv"));
    const QString other = dir.filePath(QStringLiteral("other.tsv"));
    ASSERT_EQ(form->document().Save(SchematicFileNames(other)), ""); // an empty set to open
    QDir(dir.path()).mkpath(QStringLiteral("config"));               // closing writes the settings
    form->document().ListChip(QStringLiteral("К155ЛА3"), 4);
    if (c.hasFile) {
        ASSERT_TRUE(form->SaveSchematic(own));
    }
    form->document().ListSpecial(ElementKind::Switch);
    ASSERT_TRUE(form->isWindowModified());

    Question asked;
    AnswerQuestion(c.answer, &asked);
    if (c.answer == QMessageBox::Yes && !c.hasFile) AnswerFileDialog(own, QFileDialog::AcceptSave);
    if (c.command == Command::Open && c.answer != QMessageBox::Cancel)
        AnswerFileDialog(other, QFileDialog::AcceptOpen);
    bool closed = false;
    switch (c.command) {
    case Command::New:
        form->ActNew->trigger();
        break;
    case Command::Open:
        form->ActOpen->trigger();
        break;
    case Command::Close:
        closed = form->close();
        break;
    }
    EXPECT_EQ(asked.text, QStringLiteral("Сохранить изменения в схеме?"));
    EXPECT_EQ(asked.buttons,
              (QStringList{QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}));

    // The switch reached the file set when the change was saved.
    Schematic back;
    LoadSchematicFiles(back, SchematicFileNames(own), {});
    EXPECT_EQ(back.navigator().count(), c.saved ? 7 : c.hasFile ? 5 : 0);
    if (c.command == Command::Close) {
        EXPECT_EQ(closed, c.replaced);
        EXPECT_EQ(form->isVisible(), !c.replaced);
    }
    if (c.replaced && c.command != Command::Close) {
        EXPECT_EQ(s().navigator().count(), 0);
        EXPECT_FALSE(form->isWindowModified());
    }
    if (!c.replaced) {
        EXPECT_EQ(s().navigator().count(), 7);
        EXPECT_TRUE(form->isWindowModified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedChanges,
    ::testing::Values(UnsavedCase{"new_yes", Command::New, QMessageBox::Yes, true, true, true},
                      UnsavedCase{"new_yes_first_save", Command::New, QMessageBox::Yes, false, true, true},
                      UnsavedCase{"new_no", Command::New, QMessageBox::No, true, true, false},
                      UnsavedCase{"new_cancel", Command::New, QMessageBox::Cancel, true, false, false},
                      UnsavedCase{"open_yes", Command::Open, QMessageBox::Yes, false, true, true},
                      UnsavedCase{"open_no", Command::Open, QMessageBox::No, true, true, false},
                      UnsavedCase{"open_cancel", Command::Open, QMessageBox::Cancel, true, false, false},
                      UnsavedCase{"close_yes", Command::Close, QMessageBox::Yes, true, true, true},
                      UnsavedCase{"close_no", Command::Close, QMessageBox::No, false, true, false},
                      UnsavedCase{"close_cancel", Command::Close, QMessageBox::Cancel, true, false, false}),
    [](const ::testing::TestParamInfo<UnsavedCase>& info) { return std::string(info.param.name); });

// "Да" with a save that fails: the error box, and the window stays with its changes.
TEST_F(FileCommands, AFailedSaveOnClosingKeepsTheWindowAndTheChanges) {
    const QString own = dir.filePath(QStringLiteral("own.tsv"));
    ASSERT_TRUE(form->SaveSchematic(own));
    form->document().ListSpecial(ElementKind::Indicator);
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("own.csv"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("own.csv"))); // the net file's name is a folder
    Question asked;
    AnswerQuestion(QMessageBox::Yes, &asked);
    WhenModalShown(
        [](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->windowTitle() == u"Tarnwell"; },
        [](QWidget* w) { static_cast<QMessageBox*>(w)->accept(); });
    EXPECT_FALSE(form->close());
    EXPECT_EQ(asked.text, QStringLiteral("Сохранить изменения в схеме?"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_EQ(s().navigator().count(), 2);
}

// No changes, no question; the caption shows changes from the first edit until the save, and again
// when an undo leaves the saved step, which is clean once more when an undo comes back to it.
TEST_F(FileCommands, TheCaptionMarksChangesUntilSavedAndTheSavedStepIsCleanAgain) {
    const auto caption = [this] { return form->windowHandle()->title(); };
    const QString plain = QStringLiteral("Zivuvazodi Tarnwell v0.99");
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier); // nothing to ask about
    EXPECT_EQ(caption(), plain);
    form->document().ListSpecial(ElementKind::Switch);
    EXPECT_EQ(caption(), plain + u'*');
    AnswerFileDialog(QStringLiteral("scheme"));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); // the first save asks for a name
    EXPECT_EQ(QFileInfo(form->currentFile()).fileName(), QStringLiteral("scheme.tsv"));
    EXPECT_EQ(caption(), plain);
    form->document().ListSpecial(ElementKind::Switch);
    EXPECT_EQ(caption(), plain + u'*');
    form->UndoClick();
    EXPECT_EQ(caption(), plain);
    form->UndoClick();
    EXPECT_EQ(caption(), plain + u'*');
    form->RedoClick();
    // Ctrl+S saves to the set at once, with no dialog.
    form->document().ListSpecial(ElementKind::Indicator);
    form->activateWindow(); // the file dialog was the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(caption(), plain);
    Schematic back;
    LoadSchematicFiles(back, SchematicFileNames(dir.filePath(QStringLiteral("scheme.tsv"))), {});
    EXPECT_EQ(back.navigator().count(), 3);

    // Ctrl+O asks nothing now and opens the dialog; cancelled, nothing changes.
    WhenModalShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                   [](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); });
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(s().navigator().count(), 3);
}

} // namespace

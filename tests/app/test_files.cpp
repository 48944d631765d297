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
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <optional>

namespace {

class FileCommands : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        copyDefaultCatalogue();
        start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

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
    EXPECT_EQ(LastMessageBoxText(), QStringLiteral("Cannot open file \"%1\". No such file or directory")
                                        .arg(dir.filePath(QStringLiteral("none.tsv"))));
    EXPECT_EQ(s().ElementCount(), 0);
    EXPECT_EQ(s().navigator().count(), 0);

    QFile::remove(dir.filePath(QStringLiteral("set.csv")));
    AcceptNextMessageBox();
    EXPECT_FALSE(form->LoadSchematic(path));
    EXPECT_EQ(LastMessageBoxText(), QStringLiteral("File not found"));
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
    EXPECT_EQ(LastMessageBoxText(), QStringLiteral("File access denied"));
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

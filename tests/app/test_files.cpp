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
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

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

    // Types `name` into the file dialog that comes up next and confirms it with Enter; records
    // what the dialog offered.
    void AnswerFileDialog(const QString& name) {
        WhenModalShown([this, name](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) return;
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

} // namespace

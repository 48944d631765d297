// SPDX-License-Identifier: MIT
#include "app/mainwindow.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "model/specialpictures.h"
#include "sim/generatordialog.h"
#include "sim/timescaledialog.h"
#include "tests/common/testutil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>

namespace {

// Saves a grab of the widget when TARNWELL_GRAB_DIR names a folder (for looking at the windows).
void Grab(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("TARNWELL_GRAB_DIR");
    const QPixmap picture = w->grab();
    EXPECT_FALSE(picture.isNull());
    if (!dir.isEmpty()) picture.save(QDir(dir).filePath(QString::fromLatin1(name)));
}

// A main window with its windows, on a program folder of its own.
class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        form = new TForm1(dir.path());
        form->CreateWindows();
        form->resize(900, 700);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    void TearDown() override { delete form; }

    // Switch -> inverter (LH 1, HL 1) -> indicator, placed as the editor would.
    void BuildSwitchInverterIndicator() {
        Schematic& s = form->model();
        auto add = [&s](const QString& name, const QString& left, const QString& right, int width,
                        const QImage& picture) {
            TElement e;
            e.Name = name;
            e.CellWidth = width;
            e.Coord = {2 + 8 * s.ElementCount(), 4};
            e.Legs = BuildLegs(left, right, width);
            e.Reaction_LH = 1;
            e.Reaction_HL = 1;
            e.Bitmap = picture;
            if (e.kind() == ElementKind::Chip) e.Script << QStringLiteral("Y=~1");
            return s.AddElement(e);
        };
        add(QStringLiteral("Переключатель1"), QString(), QStringLiteral("1"), 2,
            SmallPicture(SmallSwitchOff));
        QImage chip(41, 21, QImage::Format_RGB32);
        chip.fill(Qt::lightGray);
        add(QStringLiteral("D1.1"), QStringLiteral("1"), QStringLiteral("1"), 4, chip);
        add(QStringLiteral("Индикатор1"), QStringLiteral("1"), QString(), 2,
            SmallPicture(SmallIndicatorUnlit));
        ASSERT_TRUE(s.AddNet({{1, 0}, {2, 0}}));
        ASSERT_TRUE(s.AddNet({{2, 1}, {3, 0}}));
    }

    QTemporaryDir dir;
    TForm1* form = nullptr;
};

TEST_F(MainWindow, RunPauseAndStopThroughTheToolbar) {
    BuildSwitchInverterIndicator();
    form->window<TForm15>()->TrackBar1->setValue(0);
    EXPECT_TRUE(form->ToolButton6->isEnabled());
    EXPECT_FALSE(form->ToolButton7->isEnabled());
    EXPECT_FALSE(form->ToolButton8->isEnabled());
    EXPECT_EQ(form->StatusPanel->text(), u"Время: ");

    int cycle = 0;
    int32_t pausedAt = -1;
    bool duringOk = false;
    bool pausedHeld = false;
    QImage indicatorShown;
    form->simulationRun().onCycle = [&] {
        Simulator& sim = form->simulator();
        ++cycle;
        if (cycle == 3) {
            duringOk = !form->ToolButton6->isEnabled() && form->ToolButton7->isEnabled() &&
                       form->ToolButton8->isEnabled() && form->simulationRun().running();
            QTest::mouseClick(form->ToolButton8, Qt::LeftButton); // pause
            pausedAt = sim.SimTime;
        }
        if (cycle == 10) {
            pausedHeld = sim.Paused && sim.SimTime == pausedAt;
            QTest::mouseClick(form->ToolButton8, Qt::LeftButton); // resume
        }
        if (cycle == 20) {
            indicatorShown = form->Frame21->picture(3)->grab().toImage();
            QTest::mouseClick(form->ToolButton7, Qt::LeftButton); // stop
        }
        if (cycle > 10000) sim.StopRequested = true; // never hang the suite
    };
    QTest::mouseClick(form->ToolButton6, Qt::LeftButton); // the run stays inside this click

    EXPECT_EQ(cycle, 20);
    EXPECT_TRUE(duringOk);
    EXPECT_TRUE(pausedHeld);
    EXPECT_FALSE(form->simulationRun().running());
    EXPECT_TRUE(form->ToolButton6->isEnabled());
    EXPECT_FALSE(form->ToolButton7->isEnabled());
    EXPECT_FALSE(form->ToolButton8->isEnabled());
    // 20 cycles, 7 of them paused; at time scale 0 each of the 13 others ran one unit or more,
    // and the status bar shows the last unit that ran.
    EXPECT_GE(form->simulator().SimTime, 13);
    EXPECT_EQ(form->StatusPanel->text(), QStringLiteral("Время: %1").arg(form->simulator().SimTime - 1));
    // The inverter lit the indicator, and the workspace shows the lit picture.
    EXPECT_TRUE(form->model().element(3).State);
    EXPECT_EQ(form->model().element(3).Bitmap, SmallPicture(SmallIndicatorLit));
    EXPECT_EQ(indicatorShown.pixel(10, 10), SmallPicture(SmallIndicatorLit).pixel(10, 10));
    Grab(form, "tform1_run.png");

    // A second run starts again at time 0 and keeps the leg levels; at a time scale above 0 a
    // cycle runs one unit.
    form->window<TForm15>()->TrackBar1->setValue(1);
    cycle = 0;
    form->simulationRun().onCycle = [&] {
        if (++cycle == 2) form->ToolButton7Click();
    };
    form->ToolButton6Click();
    EXPECT_EQ(form->simulator().SimTime, 2);
    EXPECT_EQ(form->model().element(2).Legs[1].Level, 1);
}

// Switch -> inverter (delays 1) -> indicator, plus a probe on the inverter's output. At time scale
// 0 a cycle runs many units; the status bar and the hooks show the last one, and a switch turned
// over between two cycles is seen by the very next unit: the inverter's change falls due one unit
// later and the probe records it in that unit.
TEST_F(MainWindow, TimeScaleZeroRunsUnitsInCyclesAndAToggleTakesEffectAtTheNextUnit) {
    BuildSwitchInverterIndicator();
    Schematic& s = form->model();
    TElement probe;
    probe.Name = QStringLiteral("Осциллограф1");
    probe.CellWidth = 7;
    probe.Coord = {40, 20};
    probe.Legs = BuildLegs(QStringLiteral("0001"), QString(), 7);
    probe.Bitmap = QImage(71, 81, QImage::Format_RGB32);
    probe.Bitmap.fill(Qt::white);
    const int p = s.AddElement(probe);
    ASSERT_TRUE(s.ConnectPins({2, 1}, {p, 0}));
    form->window<TForm15>()->TrackBar1->setValue(0);

    int cycle = 0;
    int32_t shownBeforeUnit = -1;
    bool statusFollows = true;
    int32_t toggledAt = -1;
    int32_t stoppedAt = -1;
    form->simulationRun().beforeUnit = [&] {
        shownBeforeUnit = form->simulator().SimTime;
        form->StatusPanel->setText(form->simulator().TimeText());
    };
    form->simulationRun().onCycle = [&] {
        Simulator& sim = form->simulator();
        ++cycle;
        statusFollows = statusFollows && shownBeforeUnit == sim.SimTime - 1;
        if (cycle == 3) {
            toggledAt = sim.SimTime;
            s.ToggleSwitch(1);
        }
        if (cycle == 6) {
            stoppedAt = sim.SimTime;
            form->ToolButton7Click();
        }
        if (cycle > 10000) sim.StopRequested = true;
    };
    form->ToolButton6Click();
    EXPECT_EQ(cycle, 6);
    EXPECT_TRUE(statusFollows) << "the hooks see the last unit of every cycle";
    EXPECT_EQ(form->simulator().SimTime, stoppedAt) << "no unit runs after the stop is seen";
    EXPECT_GT(stoppedAt, 6) << "a cycle at time scale 0 runs more than one unit";
    // The inverter rose at 2 and falls a unit after the switch was seen.
    EXPECT_EQ(s.element(p).Transitions, (std::vector<TSimTime>{2, toggledAt + 1}));
    EXPECT_FALSE(s.element(3).State);
}

TEST_F(MainWindow, TimeScaleWaitsBetweenUnits) {
    form->window<TForm15>()->TrackBar1->setValue(40);
    int cycle = 0;
    QElapsedTimer clock;
    form->simulationRun().onCycle = [&] {
        if (++cycle == 3) form->ToolButton7Click();
    };
    clock.start();
    form->ToolButton6Click();
    EXPECT_GE(clock.elapsed(), 3 * 40);
    EXPECT_EQ(form->simulator().SimTime, 3);
}

TEST_F(MainWindow, ClosingDuringARunEndsTheLoopAndTheProgram) {
    BuildSwitchInverterIndicator();
    form->window<TForm15>()->TrackBar1->setValue(0);
    int cycle = 0;
    form->simulationRun().onCycle = [&] {
        if (++cycle == 5) form->close();
        if (cycle > 10000) form->simulator().StopRequested = true;
    };
    QTimer::singleShot(0, form, [this] { QTest::mouseClick(form->ToolButton6, Qt::LeftButton); });
    QObject guard;
    QTimer::singleShot(20000, &guard, [] { QCoreApplication::exit(3); }); // never hang the suite
    // The application's loop ends once the last window is closed and the run has returned.
    const int status = QApplication::exec();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(cycle, 5);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->simulationRun().running());
    EXPECT_TRUE(form->ToolButton6->isEnabled());
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("config/main.ini"))));
}

TEST_F(MainWindow, DestroyingTheWindowDuringARunLeavesTheLoopSafely) {
    BuildSwitchInverterIndicator();
    form->window<TForm15>()->TrackBar1->setValue(0);
    int cycle = 0;
    QPointer<TForm1> watch(form);
    form->simulationRun().onCycle = [&] {
        // Deleted from an event handled while the loop waits for the next unit.
        if (++cycle == 5)
            QTimer::singleShot(0, qApp, [this] {
                delete form;
                form = nullptr;
            });
        if (cycle > 10000) form->simulator().StopRequested = true;
    };
    watch->ToolButton6Click();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(cycle, 5);
}

TEST_F(MainWindow, TimeScaleWindowFollowsItsButton) {
    TForm15* f = form->window<TForm15>();
    EXPECT_FALSE(f->isVisible());
    QTest::mouseClick(form->ToolButton9, Qt::LeftButton);
    EXPECT_TRUE(form->ToolButton9->isChecked());
    EXPECT_TRUE(f->isVisible());
    // Placed over the top-left corner of the workspace.
    const QPoint frame = form->Frame21->mapTo(form, QPoint(0, 0));
    const QPoint expected(form->frameGeometry().left() + frame.x() + 10,
                          form->frameGeometry().top() + frame.y() + 45);
    EXPECT_EQ(f->ActivePlace(), expected);
    EXPECT_EQ(f->pos(), expected);
    f->move(5, 5);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f, &activate);
    EXPECT_EQ(f->pos(), expected);
    Grab(f, "tform15.png");

    QTest::mouseClick(form->ToolButton9, Qt::LeftButton);
    EXPECT_FALSE(f->isVisible());
    QTest::mouseClick(form->ToolButton9, Qt::LeftButton);
    ASSERT_TRUE(f->isVisible());
    f->close();
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(form->ToolButton9->isChecked());
    // Escape closes it as well.
    QTest::mouseClick(form->ToolButton9, Qt::LeftButton);
    ASSERT_TRUE(f->isVisible());
    QTest::keyClick(f, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(form->ToolButton9->isChecked());
}

TEST(TimeScaleWindow, LayoutAndTrackBar) {
    QWidget main;
    QWidget work(&main);
    TForm15 f(&main, &work);
    EXPECT_EQ(f.windowTitle(), u"Масштаб времени");
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(f.TrackBar1->minimum(), 0);
    EXPECT_EQ(f.TrackBar1->maximum(), 1000);
    EXPECT_EQ(f.TrackBar1->tickInterval(), 50);
    EXPECT_EQ(f.TrackBar1->value(), 100);
    EXPECT_EQ(f.Position(), 100);
    EXPECT_EQ(f.Label1->text(), u"Быстро (0)");
    EXPECT_EQ(f.Label2->text(), u"Медленно (1000)");
    EXPECT_EQ(f.Edit1->text(), u"100");
    EXPECT_EQ(f.Edit1->maxLength(), 4);
    f.TrackBar1->setValue(350);
    EXPECT_EQ(f.Edit1->text(), u"350");
}

struct EditCase {
    const char* start;
    const char* typed; // typed key by key after the start text
    bool enter;
    const char* text; // the edit afterwards
    int position;     // the track bar afterwards (starts at 100)
};

class TimeScaleEdit : public testing::TestWithParam<EditCase> {};

TEST_P(TimeScaleEdit, KeysAndEnter) {
    const EditCase& c = GetParam();
    QWidget main;
    QWidget work(&main);
    TForm15 f(&main, &work);
    f.show();
    f.Edit1->setText(QString::fromUtf8(c.start));
    f.Edit1->setFocus();
    f.Edit1->end(false);
    QTest::keyClicks(f.Edit1, QString::fromUtf8(c.typed));
    if (c.enter) QTest::keyClick(f.Edit1, Qt::Key_Return);
    EXPECT_EQ(f.Edit1->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(f.TrackBar1->value(), c.position);
    EXPECT_TRUE(f.isVisible()) << "Enter in the edit must not close the window";
}

INSTANTIATE_TEST_SUITE_P(
    Sim, TimeScaleEdit,
    testing::Values(EditCase{"", "1a2-b3 .", false, "123", 100}, EditCase{"", "12345", false, "1234", 100},
                    EditCase{"", "5000", true, "1000", 1000}, EditCase{"", "", true, "100", 100},
                    EditCase{"", "250", true, "250", 250}, EditCase{"", "0", true, "0", 0},
                    EditCase{"", "0007", true, "7", 7}, EditCase{"", "x", true, "100", 100}));

TEST(TimeScaleWindow, BackspaceAndArrowsStillEdit) {
    QWidget main;
    QWidget work(&main);
    TForm15 f(&main, &work);
    f.show();
    f.Edit1->setText(QStringLiteral("123"));
    f.Edit1->setFocus();
    f.Edit1->end(false);
    QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    QTest::keyClick(f.Edit1, Qt::Key_Left);
    QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    EXPECT_EQ(f.Edit1->text(), u"2");
}

TEST(GeneratorDialog, FieldsButtonsAndDigits) {
    TForm16 f;
    EXPECT_EQ(f.windowTitle(), u"Настройка генератора");
    EXPECT_EQ(f.Edit1->text(), u"100");
    EXPECT_EQ(f.Edit2->text(), u"100");
    EXPECT_EQ(f.Button1->text(), u"ОК");
    EXPECT_EQ(f.Button2->text(), u"Отмена");
    EXPECT_TRUE(f.Button1->isDefault());
    const QList<QLabel*> labels = f.findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : labels)
        texts << l->text();
    EXPECT_TRUE(texts.contains(u"Длительность периода высокого уровня:"));
    EXPECT_TRUE(texts.contains(u"Длительность периода низкого уровня:"));
    EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "fixed size";

    f.show();
    for (QLineEdit* edit : {f.Edit1, f.Edit2}) {
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("3x0-,. 7"));
        EXPECT_EQ(edit->text(), u"307");
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), u"30");
    }
    Grab(&f, "tform16.png");
}

TEST(GeneratorDialog, OkStoresCancelKeeps) {
    int32_t high = 100;
    int32_t low = 100;
    {
        TForm16 f;
        f.SetDurations(high, low);
        EXPECT_EQ(f.Edit1->text(), u"100");
        QTimer::singleShot(0, &f, [&f] {
            f.Edit1->setText(QStringLiteral("30"));
            f.Edit2->setText(QStringLiteral("70"));
            QTest::keyClick(f.Edit2, Qt::Key_Return); // Enter presses the default "ОК"
        });
        ASSERT_EQ(f.exec(), QDialog::Accepted);
        f.StoreDurations(high, low);
        EXPECT_EQ(high, 30);
        EXPECT_EQ(low, 70);
    }
    {
        TForm16 f;
        f.SetDurations(high, low);
        QTimer::singleShot(0, &f, [&f] {
            f.Edit1->setText(QStringLiteral("1"));
            QTest::mouseClick(f.Button2, Qt::LeftButton);
        });
        EXPECT_EQ(f.exec(), QDialog::Rejected);
        EXPECT_EQ(high, 30);
        EXPECT_EQ(low, 70);
    }
    {
        // A field that is no number ends the update there; the first one stays stored.
        TForm16 f;
        f.Edit1->setText(QStringLiteral("45"));
        f.Edit2->clear();
        f.StoreDurations(high, low);
        EXPECT_EQ(high, 45);
        EXPECT_EQ(low, 70);
        f.Edit1->clear();
        f.Edit2->setText(QStringLiteral("5"));
        f.StoreDurations(high, low);
        EXPECT_EQ(high, 45);
        EXPECT_EQ(low, 70);
    }
}

TEST(GeneratorDialog, ADurationIsDigitsWithinInt32) {
    struct Case {
        const char* text;
        std::optional<int32_t> duration;
    };
    const Case cases[] = {{"0", 0},
                          {"100", 100},
                          {"0000000007", 7},
                          {"2147483647", std::numeric_limits<int32_t>::max()},
                          {"2147483648", std::nullopt},
                          {"9999999999", std::nullopt},
                          {"99999999999", std::nullopt},
                          {"-5", std::nullopt},
                          {"+5", std::nullopt},
                          {"", std::nullopt},
                          {"12a", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(TForm16::ParseDuration(QString::fromLatin1(c.text)), c.duration) << c.text;
}

// Regression: an over-long digit string could reach the generator as a wrapped or cut number.
TEST(GeneratorDialog, OkRefusesADurationAboveInt32AndNothingNegativeIsStored) {
    int32_t high = 30;
    int32_t low = 70;
    TForm16 f;
    f.SetDurations(high, low);
    f.show();
    f.Edit1->selectAll();
    f.Edit1->setFocus();
    QTest::keyClicks(f.Edit1, QStringLiteral("999999999999")); // twelve digits: ten are taken
    EXPECT_EQ(f.Edit1->text(), QStringLiteral("9999999999"));
    f.hide();

    QString boxText;
    bool stayedOpen = false;
    QTimer::singleShot(0, &f, [&] {
        AcceptNextMessageBox();
        f.Button1->click();
        boxText = LastMessageBoxText();
        stayedOpen = f.isVisible();
        EXPECT_EQ(f.focusWidget(), f.Edit1);
        f.Edit1->setText(QStringLiteral("2147483647"));
        f.Button1->click();
    });
    ASSERT_EQ(f.exec(), QDialog::Accepted);
    EXPECT_EQ(boxText, QStringLiteral("Длительность периода должна быть целым числом от 0 до 2147483647"));
    EXPECT_TRUE(stayedOpen);
    f.StoreDurations(high, low);
    EXPECT_EQ(high, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(low, 70);

    // Text set around the key filter is checked again when stored.
    f.Edit1->setText(QStringLiteral("-5"));
    f.StoreDurations(high, low);
    EXPECT_EQ(high, std::numeric_limits<int32_t>::max());
}

TEST(WaitMs, ProcessesEventsAtLeastOnceAndWaits) {
    bool handled = false;
    QTimer::singleShot(0, qApp, [&handled] { handled = true; });
    WaitMs(0);
    EXPECT_TRUE(handled);
    QElapsedTimer clock;
    clock.start();
    WaitMs(25);
    EXPECT_GE(clock.elapsed(), 25);
}

} // namespace

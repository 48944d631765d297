// SPDX-License-Identifier: MIT
// What the main window shows and keeps: the navigator's width by its handle (kept in the settings
// file), whole names as tips, the pause button held while paused, and the first placing of the
// window inside the work area.
#include "tests/app/appfixture.h"

#include "app/navigatorpanel.h"
#include "app/optionsfile.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "sim/timescaledialog.h"

#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

class ViewHabits : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeConfig("[Main]\r\nLockBases=0\r\n");
    }
    TForm1& shown() {
        TForm1& f = start();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        return f;
    }
    void dragHandle(TForm1& f, int dx) {
        QWidget* handle = f.NavHandle;
        const QPoint from(2, handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(dx, 0)),
                         QPointF(handle->mapToGlobal(from + QPoint(dx, 0))), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, from + QPoint(dx, 0));
    }
};

TEST_F(ViewHabits, TheHandleWidensTheNavigatorAndTheSettingsKeepIt) {
    TForm1& f = shown();
    EXPECT_EQ(f.NavPanel->width(), 150);
    dragHandle(f, 80);
    EXPECT_EQ(f.NavPanel->width(), 230);
    // Narrowing by the title and widening by the button come back to the chosen width.
    f.NavPanel->NavigatorTitleClick();
    EXPECT_EQ(f.NavPanel->width(), 15);
    dragHandle(f, 50); // a narrowed panel ignores the handle
    EXPECT_EQ(f.NavPanel->width(), 15);
    f.NavPanel->ExpandButtonClick();
    EXPECT_EQ(f.NavPanel->width(), 230);
    dragHandle(f, 5000);
    EXPECT_EQ(f.NavPanel->width(), NavigatorWidthMax);
    dragHandle(f, -470);
    EXPECT_EQ(f.NavPanel->width(), 130);
    ASSERT_TRUE(f.close());
    EXPECT_TRUE(readConfig().endsWith("[Navigator]\r\nWidth=130\r\n"));
    form.reset();
    EXPECT_EQ(shown().NavPanel->width(), 130);
}

TEST_F(ViewHabits, TheWidthKeyIsReadWithinItsBounds) {
    const std::pair<const char*, int> cases[] = {{"", 150},
                                                 {"[Navigator]\r\nWidth=0x100\r\n", 256},
                                                 {"[Navigator]\r\nWidth=20\r\n", NavigatorWidthMin},
                                                 {"[Navigator]\r\nWidth=99999\r\n", NavigatorWidthMax},
                                                 {"[Navigator]\r\nWidth=wide\r\n", 150}};
    for (const auto& [text, width] : cases) {
        writeConfig(QByteArray("[Main]\r\nLockBases=0\r\n") + text);
        EXPECT_EQ(shown().NavPanel->width(), width) << text;
        ASSERT_TRUE(form->close());
        form.reset();
    }
}

TEST_F(ViewHabits, NamesShowAsTips) {
    TForm1& f = shown();
    Schematic& s = f.model();
    QStandardItem* chip = f.document().ListChip(QStringLiteral("К155ЛА3"), 1);
    // Placed by hand: the test's program folder has no catalogue.
    TPlacementData data;
    data.picture = QImage(40, 50, QImage::Format_RGB32);
    data.picture.fill(Qt::white);
    data.leftPins = QStringLiteral("01");
    data.rightPins = QStringLiteral("01");
    f.document().setPlacementSource([&](const QStandardItem*, TPlacementData* out, QString*) {
        *out = data;
        return true;
    });
    ASSERT_EQ(f.document().PlaceNode(chip->child(0), false), 1);
    f.document().setPlacementSource([&f](const QStandardItem* node, TPlacementData* out, QString* error) {
        return f.PlacementFor(node, out, error);
    });
    ASSERT_EQ(f.document().PlaceNode(f.document().ListSpecial(ElementKind::Generator), false), 2);
    EXPECT_EQ(f.Frame21->picture(1)->toolTip(), QStringLiteral("D1\nК155ЛА3"));
    EXPECT_EQ(f.Frame21->picture(2)->toolTip(), s.element(2).Name);
    // A navigator node tells its whole text, however narrow the panel.
    const QModelIndex special = f.NavPanel->viewIndex(s.navigator().model().item(1)->child(0));
    EXPECT_EQ(special.data(Qt::ToolTipRole).toString(), s.element(2).Name);
    f.document().New();
}

TEST_F(ViewHabits, ThePauseButtonStaysPressedWhilePaused) {
    TForm1& f = shown();
    ASSERT_GT(f.document().PlaceNode(f.document().ListSpecial(ElementKind::Switch), false), 0);
    f.window<TForm15>()->TrackBar1->setValue(0);
    int cycle = 0;
    bool pressedWhilePaused = false, releasedOnResume = false;
    f.simulationRun().onCycle = [&] {
        ++cycle;
        if (cycle == 2) QTest::mouseClick(f.ToolButton8, Qt::LeftButton);
        if (cycle == 4) {
            pressedWhilePaused = f.simulator().Paused && f.ToolButton8->isChecked();
            QTest::mouseClick(f.ToolButton8, Qt::LeftButton);
        }
        if (cycle == 5) {
            releasedOnResume = !f.simulator().Paused && !f.ToolButton8->isChecked();
            QTest::mouseClick(f.ToolButton8, Qt::LeftButton); // paused again, then stopped
            f.ToolButton7Click();
        }
        if (cycle > 1000) f.simulator().StopRequested = true;
    };
    QTest::mouseClick(f.ToolButton6, Qt::LeftButton);
    EXPECT_TRUE(pressedWhilePaused);
    EXPECT_TRUE(releasedOnResume);
    // A stopped run holds no pause.
    EXPECT_FALSE(f.ToolButton8->isChecked());
    f.document().New();
}

TEST_F(ViewHabits, TheFirstShowFitsTheFrameIntoTheWorkArea) {
    form = std::make_unique<TForm1>(dir.path());
    const QRect area(20, 30, 900, 650);
    form->FillWorkArea(area);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(area.contains(form->frameGeometry())) << form->frameGeometry().top();
    EXPECT_EQ(form->frameGeometry().top(), area.top());
}

} // namespace

// SPDX-License-Identifier: MIT
// Double clicks on placed special elements: the switch flips, the generator opens its dialog, the
// probe opens the oscilloscope window; the other kinds have no reaction.
#include "model/specialpictures.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopewindow.h"
#include "tests/app/specialfixture.h"
#include "tests/common/testutil.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using SpecialElementsTest = SpecialFixture;

TEST_F(SpecialElementsTest, ASwitchDoubleClickedFlipsItsPictureAndDrivesTheLevelFromTheNextPass) {
    const int sw = ListAndPlace(ElementKind::Switch, {5, 5});
    ASSERT_EQ(sw, 1);
    Simulator& sim = form->simulator();
    EXPECT_EQ(picture(sw)->picture(), SmallPicture(SmallSwitchOff));
    sim.SimStep();
    EXPECT_EQ(s().element(sw).Legs[0].Level, 0);

    for (const bool on : {true, false, true}) {
        DoubleClick(sw);
        EXPECT_EQ(s().element(sw).State, on);
        // The picture shows the position without the tint of the clicks: the release that ends
        // the double click selects nothing.
        EXPECT_FALSE(s().element(sw).Selected);
        const QImage shown = SmallPicture(on ? SmallSwitchOn : SmallSwitchOff);
        EXPECT_EQ(s().element(sw).Bitmap, shown);
        EXPECT_EQ(picture(sw)->picture(), shown);
        sim.SimStep();
        EXPECT_EQ(s().element(sw).Legs[0].Level, on ? 1 : 0);
    }
    // A plain click afterwards selects it as usual.
    QTest::mouseClick(picture(sw), Qt::LeftButton, {}, picture(sw)->rect().center());
    EXPECT_TRUE(s().element(sw).Selected);
}

struct DialogCase {
    const char* what;
    QString high; // typed into "Длительность периода высокого уровня:"
    QString low;  // typed into "Длительность периода низкого уровня:"
    bool ok;
    int32_t expectHigh;
    int32_t expectLow;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.what;
}

class GeneratorDialog : public SpecialFixture, public testing::WithParamInterface<DialogCase> {};

TEST_P(GeneratorDialog, StoresTheHighThenTheLowDurationAndStopsAtAFieldThatIsNoNumber) {
    const DialogCase& c = GetParam();
    const int gen = ListAndPlace(ElementKind::Generator, {4, 4});
    ASSERT_EQ(gen, 1);
    EXPECT_EQ(s().element(gen).Reaction_HL, 100);
    EXPECT_EQ(s().element(gen).Reaction_LH, 100);
    s().SetGeneratorDurations(gen, 5, 7);
    Simulator& sim = form->simulator();
    sim.Paused = true; // a run the user paused goes on after the dialog

    std::optional<QString> shownHigh, shownLow;
    bool pausedMeanwhile = false;
    WhenModalShown([&](QWidget* w) {
        auto* dialog = qobject_cast<TForm16*>(w);
        ASSERT_NE(dialog, nullptr);
        shownHigh = dialog->Edit1->text();
        shownLow = dialog->Edit2->text();
        pausedMeanwhile = sim.Paused;
        dialog->Edit1->setText(c.high);
        dialog->Edit2->setText(c.low);
        (c.ok ? dialog->Button1 : dialog->Button2)->click();
    });
    DoubleClick(gen);
    EXPECT_EQ(shownHigh, QStringLiteral("5"));
    EXPECT_EQ(shownLow, QStringLiteral("7"));
    EXPECT_TRUE(pausedMeanwhile);
    EXPECT_FALSE(sim.Paused);
    EXPECT_EQ(s().element(gen).Reaction_HL, c.expectHigh);
    EXPECT_EQ(s().element(gen).Reaction_LH, c.expectLow);
    EXPECT_FALSE(s().element(gen).Selected);
    EXPECT_EQ(picture(gen)->picture(), LargePicture(LargeGenerator));
}

INSTANTIATE_TEST_SUITE_P(
    App, GeneratorDialog,
    testing::Values(DialogCase{"both stored", "30", "70", true, 30, 70},
                    DialogCase{"an empty low field keeps the low duration", "30", "", true, 30, 7},
                    DialogCase{"an empty high field ends the update there", "", "70", true, 5, 7},
                    DialogCase{"cancel keeps both", "30", "70", false, 5, 7}),
    [](const testing::TestParamInfo<DialogCase>& info) { return "Case" + std::to_string(info.index); });

// A generator set to 30 high and 70 low in its dialog toggles its first output after 70 units at 0
// and after 30 at 1; the second output is always the opposite.
TEST_F(SpecialElementsTest, AGeneratorSetInItsDialogKeepsItsNewDurations) {
    const int gen = ListAndPlace(ElementKind::Generator, {4, 4});
    const int first = ListAndPlace(ElementKind::Probe, {20, 2});
    const int second = ListAndPlace(ElementKind::Probe, {20, 12});
    ASSERT_TRUE(s().ConnectPins({gen, 0}, {first, 0}));
    ASSERT_TRUE(s().ConnectPins({gen, 1}, {second, 0}));
    WhenModalShown([](QWidget* w) {
        auto* dialog = qobject_cast<TForm16*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->Edit1->setText(QStringLiteral("30"));
        dialog->Edit2->setText(QStringLiteral("70"));
        dialog->Button1->click();
    });
    DoubleClick(gen);

    Simulator& sim = form->simulator();
    sim.PrepareRun();
    bool complement = true;
    for (int t = 0; t < 250; ++t) {
        sim.RunUnit();
        complement = complement && s().element(gen).Legs[1].Level == 1 - s().element(gen).Legs[0].Level;
    }
    EXPECT_TRUE(complement);
    EXPECT_EQ(s().element(first).Transitions, (std::vector<TSimTime>{0, 30, 100, 130, 200, 230}));
    EXPECT_EQ(s().element(second).Transitions, (std::vector<TSimTime>{30, 100, 130, 200, 230}));
}

TEST_F(SpecialElementsTest, AProbeDoubleClickedOpensTheOscilloscopeWithItsChannel) {
    ASSERT_NE(s().ListSpecial(ElementKind::Probe), nullptr);
    const int probe = Place(s().ListSpecial(ElementKind::Probe)); // "Осциллограф2"
    ASSERT_EQ(probe, 1);
    s().SetCoord(probe, {10, 10});
    auto* scope = form->window<TForm17>();
    ASSERT_FALSE(scope->isVisible());

    DoubleClick(probe);
    ASSERT_TRUE(scope->isVisible());
    ASSERT_EQ(scope->CheckListBox1->count(), 2);
    EXPECT_EQ(scope->CheckListBox1->item(0)->checkState(), Qt::Unchecked); // no probe on channel 1
    EXPECT_EQ(scope->CheckListBox1->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(scope->OuterHeight(), 60 + 65);
    scope->hide();
}

TEST_F(SpecialElementsTest, AnIndicatorOrAChipHasNoDoubleClickReaction) {
    const int ind = ListAndPlace(ElementKind::Indicator, {5, 5});
    TElement chip;
    chip.Name = QStringLiteral("D1.1");
    chip.Coord = {15, 5};
    chip.CellWidth = 4;
    chip.Legs = BuildLegs(QStringLiteral("1"), QStringLiteral("1"), 4);
    chip.Bitmap = QImage(41, 31, QImage::Format_RGB32);
    chip.Bitmap.fill(Qt::lightGray);
    const int d = s().AddElement(chip);
    for (const int k : {ind, d}) {
        const QImage before = s().element(k).Bitmap;
        DoubleClick(k);
        EXPECT_FALSE(s().element(k).State);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        // The clicks select it, as any clicks do; the double click adds nothing.
        EXPECT_TRUE(s().element(k).Selected);
        s().DeselectAll();
        EXPECT_EQ(s().element(k).Bitmap, before);
    }
    EXPECT_FALSE(form->window<TForm17>()->isVisible());
}

} // namespace

// SPDX-License-Identifier: MIT
#include "tests/common/batchfixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class BatchEdits : public BatchFixture {};

// The edit lines go through the editor's operations: the result routes and runs exactly as the
// schematic they leave, written out plainly.
TEST_F(BatchEdits, EditedNetlistMatchesThePlainSchematic) {
    const BatchResult edited = Call(&BatchRoute, {DataPath("edits.net")});
    const BatchResult plain = Call(&BatchRoute, {DataPath("edits_plain.net")});
    ASSERT_EQ(edited.status, 0) << edited.err.toStdString();
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_TRUE(edited.err.isEmpty());
    ASSERT_FALSE(plain.out.isEmpty());
    EXPECT_EQ(edited.out, plain.out);

    // Without its edit lines the file routes differently, so the comparison above has teeth.
    QByteArray unedited;
    for (const QByteArray& line : Data("edits.net").split('\n'))
        if (line.startsWith("element") || line.startsWith("net")) unedited += line + '\n';
    EXPECT_NE(Call(&BatchRoute, {Write(unedited)}).out, plain.out);

    const QStringList units = {QStringLiteral("--units"), QStringLiteral("7")};
    EXPECT_EQ(Call(&BatchRun, QStringList{DataPath("edits.net")} + units).out,
              Call(&BatchRun, QStringList{DataPath("edits_plain.net")} + units).out);
}

// Lines taken back by undo (and not made again by redo) drop out: the file routes and runs as the
// schematic its remaining edit lines leave.
TEST_F(BatchEdits, UndoneLinesDropOut) {
    const BatchResult undone = Call(&BatchRoute, {DataPath("edits_undone.net")});
    ASSERT_EQ(undone.status, 0) << undone.err.toStdString();
    EXPECT_TRUE(undone.err.isEmpty());
    EXPECT_EQ(undone.out, Call(&BatchRoute, {DataPath("edits_plain.net")}).out);
    const QStringList units = {QStringLiteral("--units"), QStringLiteral("7")};
    EXPECT_EQ(Call(&BatchRun, QStringList{DataPath("edits_undone.net")} + units).out,
              Call(&BatchRun, QStringList{DataPath("edits_plain.net")} + units).out);

    // Without its undo and redo lines the file leaves another schematic.
    QByteArray kept;
    for (const QByteArray& line : Data("edits_undone.net").split('\n'))
        if (line != "undo" && line != "redo") kept += line + '\n';
    const BatchResult all = Call(&BatchRoute, {Write(kept)});
    EXPECT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_NE(all.out, undone.out);
}

// Random edit lines with undo and redo among them: whenever the runner takes such a file, it routes
// exactly as the same file with the lines left undone removed. A line that the runner refuses
// (a deleted element named again, a net number past the last) refuses the file; such files are
// skipped, the rest must agree.
TEST_F(BatchEdits, RandomUndoAndRedoRouteAsTheFileWithoutTheUndoneLines) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int Files = 150;
#else
    constexpr int Files = 1500;
#endif
    QByteArray base;
    for (const QByteArray& line : Data("edits_undone.net").split('\n'))
        if (line.startsWith("element") || line.startsWith("net")) base += line + '\n';
    const std::vector<QByteArray> names = {"D1.1", "D2.1", "D3.1", "D4.1", "D5.1"};
    std::mt19937 rng(20261210);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto name = [&] { return names[static_cast<size_t>(pick(5))]; };
    const auto leg = [&] { return QByteArray::number(pick(3)); };
    int accepted = 0, undos = 0;
    for (int f = 0; f < Files; ++f) {
        QByteArray full = base;
        std::vector<QByteArray> done, undone;
        const int lines = 3 + pick(10);
        for (int i = 0; i < lines; ++i) {
            const int r = pick(100);
            if (r < 25 && !done.empty()) {
                full += "undo\n";
                undone.push_back(done.back());
                done.pop_back();
            } else if (r < 40 && !undone.empty()) {
                full += "redo\n";
                done.push_back(undone.back());
                undone.pop_back();
            } else {
                QByteArray line;
                switch (pick(4)) {
                case 0:
                    line = "connect " + name() + ' ' + leg() + ' ' + name() + ' ' + leg();
                    break;
                case 1:
                    line = "disconnect " + name() + ' ' + leg();
                    break;
                case 2:
                    line = "removenet " + QByteArray::number(pick(5));
                    break;
                default:
                    line = "delete " + name();
                    break;
                }
                full += line + '\n';
                done.push_back(line);
                undone.clear();
            }
        }
        const BatchResult edited = Call(&BatchRoute, {Write(full)});
        if (edited.status != 0) continue;
        ++accepted;
        undos += full.count("undo\n");
        QByteArray reduced = base;
        for (const QByteArray& line : done)
            reduced += line + '\n';
        const BatchResult plain = Call(&BatchRoute, {Write(reduced, QStringLiteral("plain.net"))});
        ASSERT_EQ(plain.status, 0) << full.toStdString() << plain.err.toStdString();
        ASSERT_EQ(edited.out, plain.out) << full.toStdString();
    }
    // Enough files were taken, with undo lines among them, for the comparison to mean something.
    EXPECT_GT(accepted, Files / 10);
    EXPECT_GT(undos, accepted / 2);
}

// Toggles name their switch after the edits: deleting an element before it moves the switch down a
// slot, and the run is the one of the file without that element.
TEST_F(BatchEdits, TogglesFollowTheirSwitchAfterDeletions) {
    const QStringList units = {QStringLiteral("--units"), QStringLiteral("13")};
    const BatchResult edited = Call(&BatchRun, QStringList{DataPath("sim_example_edited.net")} + units);
    EXPECT_EQ(edited.status, 0) << edited.err.toStdString();
    EXPECT_EQ(edited.out, Call(&BatchRun, QStringList{DataPath("sim_example.net")} + units).out);
    EXPECT_EQ(edited.out, u"И1 state: 0\nО1 transitions: 4 12\nNetLevels: 1 0\nSimTime: 13\n");
}

struct EditError {
    const char* name;
    const char* lines; // after three elements A, B, B (lines 1..3)
    const char* message;
};

void PrintTo(const EditError& c, std::ostream* os) {
    *os << c.name;
}

class BatchEditErrors : public BatchEdits, public ::testing::WithParamInterface<EditError> {};

TEST_P(BatchEditErrors, ExitTwoNamingTheLine) {
    const EditError& c = GetParam();
    const QString file = Write(QByteArray("element A 0 0 2 2 1 1 1 1\n"
                                          "element B 5 0 2 2 1 1 1 1\n"
                                          "element B 9 0 2 2 1 1 1 1\n") +
                               c.lines);
    for (const QStringList& args : {QStringList{"route", file}, QStringList{"run", file, "--units", "3"}}) {
        const BatchResult r = Call(&BatchMain, args);
        EXPECT_EQ(r.status, 2) << args.value(0).toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(r.err, QStringLiteral("tarnwell-batch: %1: %2\n").arg(file, QString::fromUtf8(c.message)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchEditErrors,
    ::testing::Values(
        EditError{"connect_unknown", "connect A 0 C 0\n", "line 4: unknown element C"},
        EditError{"connect_ambiguous", "connect A 0 B 0\n", "line 4: B names 2 elements"},
        EditError{"connect_leg_out_of_range", "connect A 0 A 2\n", "line 4: element A has no leg 2"},
        EditError{"connect_pin_with_itself", "connect A 1 A 1\n",
                  "line 4: connect joins pin A 1 with itself"},
        EditError{"connect_short", "connect A 0 A\n", "line 4: connect needs NAME LEG NAME LEG"},
        EditError{"disconnect_negative_leg", "disconnect A -1\n", "line 4: element A has no leg -1"},
        EditError{"disconnect_unknown", "\ndisconnect Z 0\n", "line 5: unknown element Z"},
        EditError{"disconnect_leg_not_a_number", "disconnect A x\n", "line 4: leg is not a whole number: x"},
        EditError{"removenet_without_number", "removenet\n", "line 4: removenet needs N"},
        EditError{"removenet_not_a_number", "removenet +1\n", "line 4: net is not a whole number: +1"},
        EditError{"delete_nothing", "delete\n", "line 4: delete needs NAME [NAME...]"},
        EditError{"delete_unknown", "delete A Z\n", "line 4: unknown element Z"},
        EditError{"delete_ambiguous", "delete B\n", "line 4: B names 2 elements"},
        // Edits apply in file order: a deleted element is gone for the lines after.
        EditError{"deleted_then_named", "delete A\nconnect A 0 A 1\n", "line 5: unknown element A"},
        // The syntax of every line is read first, so a bad line after an edit is reported first.
        EditError{"syntax_before_edits", "delete Z\nwire 1 2\n", "line 5: unknown line kind 'wire'"},
        EditError{"toggle_of_deleted_switch", "element П1 0 9 2 2 - 1 0 0\ntoggle П1 2\ndelete П1\n",
                  "line 5: unknown element П1"},
        EditError{"undo_of_nothing", "undo\n", "line 4: nothing to undo"},
        EditError{"undo_past_the_first_edit", "connect A 0 A 1\nundo\nundo\n", "line 6: nothing to undo"},
        EditError{"redo_of_nothing", "connect A 0 A 1\nredo\n", "line 5: nothing to redo"},
        // An edit after an undo leaves nothing to redo, even one that changed nothing.
        EditError{"redo_after_a_new_edit", "connect A 0 A 1\nundo\nremovenet 5\nredo\n",
                  "line 7: nothing to redo"},
        EditError{"undo_with_a_word", "undo 1\n", "line 4: undo takes nothing after it"},
        // A line taken back still had to name what exists where it stands.
        EditError{"undone_line_with_a_bad_name", "delete Z\nundo\n", "line 4: unknown element Z"}),
    [](const ::testing::TestParamInfo<EditError>& info) { return std::string(info.param.name); });

} // namespace

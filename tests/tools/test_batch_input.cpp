// SPDX-License-Identifier: MIT
#include "tests/common/batchfixture.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <string>

namespace {

// Text with the NUL bytes it holds.
template <size_t N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

const QByteArray TwoChips = "element D1.1 10 10 3 4 - 01 1 1\n"
                            "element D2.1 30 20 3 4 01 - 1 1\n"
                            "net 2 0 1 0\n";

// One command line and netlist, and everything the runner must answer.
struct Case {
    const char* name;
    QByteArray netlist; // written to the file
    QStringList args;   // after the program name; "{file}" stands for the netlist's path
    QStringList err;    // the lines on standard error; "{file}" stands for the path
    int status;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class BatchAnswers : public BatchFixture, public ::testing::WithParamInterface<Case> {};

// Exit 2 prints nothing on standard output; exit 0 prints the result and may warn.
TEST_P(BatchAnswers, StatusAndStandardError) {
    const Case& c = GetParam();
    const QString file = Write(c.netlist);
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("{file}"), file);
    const BatchResult r = Call(&BatchMain, args);
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    QString expected = c.err.isEmpty() ? QString() : c.err.join(u'\n') + u'\n';
    expected.replace(QStringLiteral("{file}"), file);
    EXPECT_EQ(r.err, expected);
    if (c.status != 0) {
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    } else {
        EXPECT_FALSE(r.out.isEmpty());
    }
}

QStringList Route() {
    return {QStringLiteral("route"), QStringLiteral("{file}")};
}
QStringList Run(const char* units = "5") {
    return {QStringLiteral("run"), QStringLiteral("{file}"), QStringLiteral("--units"),
            QString::fromUtf8(units)};
}
QStringList Line(const char* message) {
    return {QStringLiteral("tarnwell-batch: {file}: ") + QString::fromUtf8(message)};
}

const QStringList UsageLines = {
    QStringLiteral("usage: tarnwell-batch route FILE [--bases DIR]"),
    QStringLiteral("       tarnwell-batch run FILE --units N [--bases DIR] [--vcd FILE] [--csv FILE]"),
    QStringLiteral("       tarnwell-batch test FILE TESTFILE [--bases DIR] [--junit FILE] [--vcd FILE]"),
    QStringLiteral("       tarnwell-batch image FILE OUT.svg|OUT.png|OUT.pdf [--zoom PERCENT] [--bases DIR]"),
    QStringLiteral("       tarnwell-batch --help"),
    QStringLiteral("FILE is a netlist, or a schematic file set named by its .tsv file (loaded"),
    QStringLiteral("with the catalogue of DIR, by default the bases/ beside the program)"),
    QStringLiteral("A netlist's edit lines (connect, disconnect, removenet, delete, undo, redo)"),
    QStringLiteral("apply in file order after its element and net lines, and the wires are routed"),
    QStringLiteral("once at the end: undo takes back the latest edit line not yet taken back, redo"),
    QStringLiteral("makes the latest one taken back again, so a file acts as the same file"),
    QStringLiteral("without the lines it leaves undone"),
    QStringLiteral("run --vcd and --csv also write every probe's transitions as a value change"),
    QStringLiteral("dump (1 ns a unit) and as rows of time,probe,level"),
    QStringLiteral("test checks FILE against the statements of TESTFILE and prints TAP; exit"),
    QStringLiteral("status 0 all cases passed, 1 some failed, 2 bad arguments or input"),
    QStringLiteral("image draws the schematic's used part as the program's export does, at the"),
    QStringLiteral("workspace zoom PERCENT (30 to 200 in steps of 10, by default 100)")};

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchAnswers,
    ::testing::Values(
        Case{"malformed", TwoChips + "element D3.1 1 2 3\n", Route(),
             Line("line 4: element needs NAME X Y W H INT EXT LH HL"), 2},
        Case{"unknown_kind", "wire 1 2\n", Run(), Line("line 1: unknown line kind 'wire'"), 2},
        Case{"not_a_number", "element D1.1 x 10 3 4 - 01 1 1\n", Route(),
             Line("line 1: X is not a whole number: x"), 2},
        Case{"unknown_element", TwoChips + "\nnet 7 0 1 0\n", Route(), Line("line 5: unknown element 7"), 2},
        Case{"unknown_leg", TwoChips + "net 2 3 1 0\n", Run(), Line("line 4: element 2 has no leg 3"), 2},
        Case{"pin_in_two_nets", TwoChips + "net 1 0 2 0\n", Route(),
             Line("line 4: pin 1 0 is already in a net"), 2},
        Case{"bad_pin_string", "element A 0 0 2 2 12 1 1 1\n", Route(),
             Line("line 1: pin strings hold only 0 and 1 (or -)"), 2},
        Case{"toggle_not_a_switch", "element И1 0 0 2 2 1 - 0 0\n\ntoggle И1 3\n", Run(),
             Line("line 3: И1 is not a switch"), 2},
        Case{"toggle_unknown", "# comment\ntoggle П9 3\n", Run(), Line("line 2: unknown element П9"), 2},
        // Numbers: the field is named; positions are checked by both commands.
        Case{"x_far_away", TwoChips + "element D3.1 2147483000 5 3 4 - 1 1 1\n", Route(),
             Line("line 4: X out of range: 2147483000"), 2},
        Case{"y_far_away_run", "element D3.1 5 -1000001 3 4 - 1 1 1\n", Run(),
             Line("line 1: Y out of range: -1000001"), 2},
        Case{"width_too_large", "element D3.1 5 5 1000001 4 - 1 1 1\n", Route(),
             Line("line 1: width out of range: 1000001"), 2},
        Case{"height_negative", "element D3.1 5 5 3 -4 - 1 1 1\n", Route(),
             Line("line 1: height is negative: -4"), 2},
        Case{"delay_hl_beyond_int", TwoChips + "\nelement D3.1 5 5 3 4 - 1 1 9999999999\n", Run(),
             Line("line 5: delay HL out of range: 9999999999"), 2},
        Case{"delay_lh_negative", "element D3.1 5 5 3 4 - 1 -3 1\n", Run(),
             Line("line 1: delay LH is negative: -3"), 2},
        Case{"net_element_beyond_int", TwoChips + "net 99999999999 0 1 1\n", Route(),
             Line("line 4: element out of range: 99999999999"), 2},
        Case{"net_leg_beyond_int", TwoChips + "net 1 1 2 -99999999999\n", Route(),
             Line("line 4: leg out of range: -99999999999"), 2},
        Case{"toggle_time_negative", "element П1 0 0 2 2 - 1 0 0\ntoggle П1 -1\n", Run(),
             Line("line 2: time unit is negative: -1"), 2},
        Case{"toggle_time_beyond_2_to_the_62", "element П1 0 0 2 2 - 1 0 0\ntoggle П1 4611686018427387905\n",
             Run(), Line("line 2: time unit out of range: 4611686018427387905"), 2},
        Case{"plus_sign_in_file", "element D1.1 +10 10 3 4 - 01 1 1\n", Route(),
             Line("line 1: X is not a whole number: +10"), 2},
        // Bytes and characters: a NUL ends nothing, every file is checked as UTF-8.
        Case{"nul_in_number",
             Bytes("element D1.1 1\0"
                   "999 10 3 4 - 01 1 1\n"),
             Route(), Line("line 1: control character U+0000"), 2},
        Case{"nul_in_probe_name", Bytes("element О1\0x 20 8 7 8 0001 - 0 0\n"), Run(),
             Line("line 1: control character U+0000"), 2},
        Case{"vertical_tab_is_no_separator", "element\vD1.1 10 10 3 4 - 01 1 1\n", Route(),
             Line("line 1: control character U+000B"), 2},
        Case{"cr_inside_a_line", "element D1.1 10\r 10 3 4 - 01 1 1\n", Route(),
             Line("line 1: control character U+000D"), 2},
        Case{"no_break_space_is_no_separator",
             "element D1.1\xc2\xa0"
             "10 10 3 4 - 01 1 1\n",
             Route(), Line("line 1: element needs NAME X Y W H INT EXT LH HL"), 2},
        Case{"invalid_utf8_route",
             "element D\xff.1 1 1 1 1 - - 1 1\n",
             Route(),
             {QStringLiteral("tarnwell-batch: {file} is not UTF-8 text")},
             2},
        Case{"invalid_utf8_run",
             "element D\xff.1 1 1 1 1 - - 1 1\n",
             Run(),
             {QStringLiteral("tarnwell-batch: {file} is not UTF-8 text")},
             2},
        Case{"utf8_cut_at_end",
             TwoChips + "# \xd0",
             Route(),
             {QStringLiteral("tarnwell-batch: {file} is not UTF-8 text")},
             2},
        // Arguments.
        Case{"units_missing", "", {"run", "{file}"}, {"tarnwell-batch: missing --units N"}, 2},
        Case{"units_without_number",
             "",
             {"run", "{file}", "--units"},
             {"tarnwell-batch: --units needs a number"},
             2},
        Case{"units_negative", "", Run("-1"), {"tarnwell-batch: --units is negative: -1"}, 2},
        Case{"units_not_a_number", "", Run("ten"), {"tarnwell-batch: --units is not a whole number: ten"}, 2},
        Case{"units_too_large",
             "",
             Run("4611686018427387905"),
             {"tarnwell-batch: --units out of range: 4611686018427387905"},
             2},
        Case{"units_plus_sign", "", Run("+10"), {"tarnwell-batch: --units is not a whole number: +10"}, 2},
        Case{"units_leading_space", "", Run(" 5"), {"tarnwell-batch: --units is not a whole number:  5"}, 2},
        Case{"units_twice",
             "",
             {"run", "{file}", "--units", "1", "--units", "2"},
             {"tarnwell-batch: --units given twice"},
             2},
        Case{"run_without_file",
             "",
             {"run", "--units", "1"},
             {"tarnwell-batch: missing FILE (usage: run FILE --units N)"},
             2},
        Case{"run_two_files",
             "",
             {"run", "{file}", "{file}", "--units", "1"},
             {"tarnwell-batch: unexpected argument '{file}' (usage: run FILE --units N)"},
             2},
        Case{"run_unknown_option",
             "",
             {"run", "{file}", "--unit", "1"},
             {"tarnwell-batch: unexpected argument '--unit' (usage: run FILE --units N)"},
             2},
        Case{"vcd_without_file",
             "",
             {"run", "{file}", "--units", "1", "--vcd"},
             {"tarnwell-batch: --vcd needs a file name"},
             2},
        Case{"csv_twice",
             "",
             {"run", "{file}", "--units", "1", "--csv", "a.csv", "--csv", "b.csv"},
             {"tarnwell-batch: --csv given twice"},
             2},
        Case{"route_without_file",
             "",
             {"route"},
             {"tarnwell-batch: route takes one FILE (usage: tarnwell-batch route FILE [--bases DIR])"},
             2},
        Case{"route_two_files",
             TwoChips,
             {"route", "{file}", "extra"},
             {"tarnwell-batch: route takes one FILE (usage: tarnwell-batch route FILE [--bases DIR])"},
             2},
        Case{"no_command", "", {}, QStringList{"tarnwell-batch: no command"} + UsageLines, 2},
        Case{"unknown_command",
             "",
             {"draw", "{file}"},
             QStringList{"tarnwell-batch: unknown command 'draw'"} + UsageLines,
             2},
        // Accepted with a warning: the editor keeps such elements, but they route nowhere.
        Case{"partly_outside", TwoChips + "element D3.1 195 10 10 4 - - 1 1\n", Route(),
             Line("line 4: warning: element D3.1 lies partly outside the 201 × 201 field"), 0},
        Case{"wholly_outside", TwoChips + "element D3.1 -20 10 10 4 - - 1 1\n", Run(),
             Line("line 4: warning: element D3.1 lies outside the 201 × 201 field"), 0},
        Case{"at_the_far_limit", TwoChips + "element D3.1 -1000000 1000000 3 4 - 1 1 1\n", Route(),
             Line("line 4: warning: element D3.1 lies outside the 201 × 201 field"), 0},
        Case{"on_the_edge_is_inside", TwoChips + "element D3.1 190 190 10 10 - - 1 1\n", Route(), {}, 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

class BatchInput : public BatchFixture {};

TEST_F(BatchInput, MissingFileOrFolderIsAReadError) {
    const QString missing = dir.filePath(QStringLiteral("missing.net"));
    for (const QStringList& args :
         {QStringList{"route", missing}, QStringList{"run", missing, "--units", "1"}}) {
        const BatchResult r = Call(&BatchMain, args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err,
                  QStringLiteral("tarnwell-batch: cannot read %1: No such file or directory\n").arg(missing));
    }
    const BatchResult folder = Call(&BatchRoute, {dir.path()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(folder.err.startsWith(QStringLiteral("tarnwell-batch: cannot read %1: ").arg(dir.path())))
        << folder.err.toStdString();
}

// An input without an end is refused once it passes the limit instead of filling the memory.
TEST_F(BatchInput, EndlessInputIsRefusedPastTheLimit) {
    const BatchResult r = Call(&BatchRoute, {QStringLiteral("/dev/zero")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, u"tarnwell-batch: /dev/zero is larger than 64 MiB\n");
}

TEST_F(BatchInput, HelpPrintsTheUsageAndSucceeds) {
    const BatchResult r = Call(&BatchMain, {QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, UsageLines.join(u'\n') + u'\n');
    EXPECT_TRUE(r.err.isEmpty());
}

// A full disk: every command that prints reports the failed write and exits 1.
TEST_F(BatchInput, FailedWriteExitsOneWithAMessage) {
    const QString file = DataPath("sim_example.net");
    for (const QStringList& args :
         {QStringList{"route", file}, QStringList{"run", file, "--units", "13"}, QStringList{"--help"}}) {
        FILE* full = std::fopen("/dev/full", "w");
        ASSERT_NE(full, nullptr);
        const BatchResult r = Call(&BatchMain, args, full);
        std::fclose(full);
        EXPECT_EQ(r.status, 1) << args.join(u' ').toStdString();
        EXPECT_EQ(r.err, u"tarnwell-batch: cannot write the output: No space left on device\n");
    }

    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(TARNWELL_BATCH), {QStringLiteral("route"), DataPath("two_chips.net")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError(), "tarnwell-batch: cannot write the output: No space left on device\n");
}

TEST_F(BatchInput, ExecutableHelp) {
    QProcess p;
    p.start(QStringLiteral(TARNWELL_BATCH), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("usage: tarnwell-batch route FILE [--bases DIR]\n"));
    EXPECT_TRUE(p.readAllStandardError().isEmpty());
}

} // namespace

// SPDX-License-Identifier: MIT
// The runner's test command: test files, their TAP output, JUnit and VCD reports, exit status.
#include "tests/common/batchfixture.h"
#include "tests/common/benchnetlist.h"

#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "tools/batchschematic.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace {

// The YAML lines of one failure in a "not ok" block.
QString Failure(int line, const char* statement, const char* expected, const char* seen, const char* at) {
    return QStringLiteral("    - line: %1\n      statement: '%2'\n      expected: '%3'\n      seen: '%4'\n"
                          "      at: '%5'\n")
        .arg(line)
        .arg(QString::fromUtf8(statement), QString::fromUtf8(expected), QString::fromUtf8(seen),
             QString::fromUtf8(at));
}

// "ok N - NAME", or "not ok N - NAME" with its failures.
QString Ok(int number, const char* name) {
    return QStringLiteral("ok %1 - %2\n").arg(number).arg(QString::fromUtf8(name));
}
QString NotOk(int number, const char* name, const QStringList& failures) {
    return QStringLiteral("not ok %1 - %2\n  ---\n  failures:\n%3  ...\n")
        .arg(number)
        .arg(QString::fromUtf8(name), failures.join(QString()));
}
QString Tap(const QStringList& cases) {
    return QStringLiteral("TAP version 13\n1..%1\n").arg(cases.size()) + cases.join(QString());
}

struct TapCase {
    const char* name;
    const char* schematic; // an example's file name, or nullptr for BenchNetlist
    const char* tests;     // the test file, written as cases.test
    int status;
    QString tap;
};

void PrintTo(const TapCase& c, std::ostream* os) {
    *os << c.name;
}

class BatchTest : public BatchFixture {
protected:
    QString Circuit(const char* example) {
        return example ? QStringLiteral(TARNWELL_EXAMPLES "/") + QString::fromUtf8(example)
                       : Write(QByteArray(BenchNetlist));
    }
    BatchResult Test(const QString& schematic, const QByteArray& tests, const QStringList& options = {}) {
        return Call(&BatchMain, QStringList{QStringLiteral("test"), schematic,
                                            Write(tests, QStringLiteral("cases.test"))} +
                                    options);
    }
    static QString Read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(f.readAll());
    }
};

class TestFiles : public BatchTest, public ::testing::WithParamInterface<TapCase> {};

TEST_P(TestFiles, PrintTapAndExitStatus) {
    const TapCase& c = GetParam();
    const BatchResult r = Test(Circuit(c.schematic), c.tests);
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.out, c.tap);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, TestFiles,
    ::testing::Values(
        TapCase{"level", nullptr, "expect О1 0 at 3\nexpect О1 1 at 4\nexpect И1 1 at 4\n", 0,
                Tap({Ok(1, "cases.test")})},
        // A probe reads 0 before its first change; a generator's probe sees the toggle of unit 0.
        TapCase{"level_fails", nullptr, "expect О2 0 at 0\nexpect И1 1 at 3\nexpect О1 0 at 4\n", 1,
                Tap({NotOk(1, "cases.test",
                           {Failure(1, "expect О2 0 at 0", "0", "1", "0"),
                            Failure(2, "expect И1 1 at 3", "1", "0", "3"),
                            Failure(3, "expect О1 0 at 4", "0", "1", "4")})})},
        // A change at T1 belongs to the level at T1, not to the range after it.
        TapCase{"stable", nullptr,
                "expect О1 stable 0 from 0 to 3\nexpect О1 stable 1 from 4 to 4\n"
                "expect И1 stable 1 from 4 to 40\n",
                0, Tap({Ok(1, "cases.test")})},
        TapCase{"stable_fails", nullptr,
                "expect О2 stable 1 from 0 to 5\nexpect О1 stable 1 from 3 to 9\nset П1 1 at 10\n"
                "expect И1 stable 1 from 10 to 12\n",
                1,
                Tap({NotOk(1, "cases.test",
                           {Failure(1, "expect О2 stable 1 from 0 to 5", "1", "0", "5"),
                            Failure(2, "expect О1 stable 1 from 3 to 9", "1", "0", "3"),
                            Failure(4, "expect И1 stable 1 from 10 to 12", "1", "0", "12")})})},
        TapCase{"rises_and_falls", nullptr,
                "expect О1 rises between 0 4\nexpect О2 falls between 5 5\nset П1 1 at 10\n"
                "expect И1 falls between 12 20\n",
                0, Tap({Ok(1, "cases.test")})},
        TapCase{"rises_and_falls_fail", nullptr,
                "expect О1 rises between 0 3\nexpect О2 rises between 1 9\nexpect О1 falls between 4 30\n", 1,
                Tap({NotOk(1, "cases.test",
                           {Failure(1, "expect О1 rises between 0 3", "rise", "no rise", "0..3"),
                            Failure(2, "expect О2 rises between 1 9", "rise", "no rise", "1..9"),
                            Failure(3, "expect О1 falls between 4 30", "fall", "no fall", "4..30")})})},
        // The switch goes on at 10 and off at 20: the inverter follows after 2 and after 3 units.
        TapCase{
            "delay_bounds", nullptr,
            "run 30\nset П1 1 at 10\nset П1 0 at 20\nexpect delay П1 О1 <= 3\nexpect delay П1 И1 >= 2\n"
            "expect delay О1 И1 <= 0\n"
            "test \"one unit off\"\nrun 30\nset П1 1 at 10\nset П1 0 at 20\nexpect delay П1 О1 <= 2\n"
            "expect delay П1 И1 >= 3\nexpect delay О1 И1 >= 1\n",
            1,
            Tap({Ok(1, "cases.test"), NotOk(2, "one unit off",
                                            {Failure(11, "expect delay П1 О1 <= 2", "<= 2", "3", "20"),
                                             Failure(12, "expect delay П1 И1 >= 3", ">= 3", "2", "10"),
                                             Failure(13, "expect delay О1 И1 >= 1", ">= 1", "0", "4")})})},
        // The run ends before the inverter follows: "<=" fails, ">=" has nothing against it. A
        // delay from a switch that never changes (set to where it is, or on and off again within
        // one unit) checks nothing and fails.
        TapCase{"delay_without_a_change", nullptr,
                "set П1 1 at 10\nrun 12\nexpect delay П1 И1 <= 5\nexpect delay П1 И1 >= 5\n"
                "test \"switch stays\"\nset П1 0 at 5\nset П1 1 at 9\nset П1 0 at 9\nrun 50\n"
                "expect delay П1 О1 <= 9\n",
                1,
                Tap({NotOk(1, "cases.test",
                           {Failure(3, "expect delay П1 И1 <= 5", "<= 5", "no change of И1", "10..11")}),
                     NotOk(2, "switch stays",
                           {Failure(10, "expect delay П1 О1 <= 9", "<= 9", "no change of П1", "0..49")})})},
        // Every case starts from unit 0 with the switches off; a "#" in a name is escaped.
        TapCase{"cases_run_independently", nullptr,
                "set П1 1 at 10\nexpect И1 0 at 12\ntest \"fresh start\"\nexpect И1 1 at 12\n"
                "test \"a # in its name\"\nexpect И1 0 at 12\ntest \"empty\"\n",
                1,
                Tap({Ok(1, "cases.test"), Ok(2, "fresh start"),
                     NotOk(3, "a \\# in its name", {Failure(6, "expect И1 0 at 12", "0", "1", "12")}),
                     Ok(4, "empty")})},
        // Comments, blank lines, tabs and CR LF line ends.
        TapCase{"layout", nullptr, "# the inverter\r\n\r\n\texpect\tО1  1 at 4\r\n   # done\r\n", 0,
                Tap({Ok(1, "cases.test")})},
        // Three К155ЛН1 inverters in a ring rise at 13, 33, ... and fall at 21, 41, ...
        TapCase{
            "ring_oscillator", "ring_oscillator.tsv",
            "expect Осциллограф1 rises between 13 13\nexpect Осциллограф1 stable 1 from 13 to 20\n"
            "expect Осциллограф1 rises between 14 32\nexpect Осциллограф1 1 at 32\n",
            1,
            Tap({NotOk(1, "cases.test",
                       {Failure(3, "expect Осциллограф1 rises between 14 32", "rise", "no rise", "14..32"),
                        Failure(4, "expect Осциллограф1 1 at 32", "1", "0", "32")})})},
        // The netlist's own toggle lines are not applied: the test file drives the switches. Its
        // toggle of the reset at 100 would make Q̄ fall at 107.
        TapCase{"netlist_toggles_are_not_applied", "rs_latch.net",
                "expect Индикатор2 stable 1 from 12 to 150\ntest \"reset released\"\n"
                "set Переключатель2 1 at 100\nexpect Индикатор2 falls between 107 107\n"
                "expect delay Переключатель2 Осциллограф2 <= 7\n",
                0, Tap({Ok(1, "cases.test"), Ok(2, "reset released")})}));

struct BadFile {
    const char* name;
    QByteArray tests;
    const char* message; // after "tarnwell-batch: PATH: "
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

template <size_t N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

class BadTestFiles : public BatchTest, public ::testing::WithParamInterface<BadFile> {};

// A bad test file exits 2 with its line named and prints nothing on standard output.
TEST_P(BadTestFiles, ExitTwoNamingTheLine) {
    const BadFile& c = GetParam();
    const BatchResult r = Test(Circuit(nullptr), c.tests, {QStringLiteral("--junit"), dir.filePath("j.xml")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(r.err, QStringLiteral("tarnwell-batch: %1: %2\n")
                         .arg(dir.filePath(QStringLiteral("cases.test")), QString::fromUtf8(c.message)));
    EXPECT_FALSE(QFile::exists(dir.filePath("j.xml")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadTestFiles,
    ::testing::Values(
        BadFile{"unknown_name", "expect О1 1 at 4\nexpect Л1 1 at 4\n", "line 2: unknown element Л1"},
        BadFile{"set_of_no_switch", "set И1 1 at 4\n", "line 1: И1 is not a switch"},
        BadFile{"expect_of_a_generator", "expect Г1 1 at 4\n", "line 1: Г1 is not a probe or an indicator"},
        BadFile{"expect_of_a_switch", "expect П1 rises between 1 4\n",
                "line 1: П1 is not a probe or an indicator"},
        BadFile{"delay_from_a_chip", "expect delay D1.1 О1 <= 4\n",
                "line 1: D1.1 is not a switch, a probe or an indicator"},
        BadFile{"delay_to_a_switch", "expect delay О1 П1 <= 4\n",
                "line 1: П1 is not a probe or an indicator"},
        BadFile{"unknown_statement", "expect О1 1 at 4\ntoggle П1 3\n", "line 2: unknown statement 'toggle'"},
        BadFile{"times_out_of_order", "set П1 1 at 10\nexpect О1 1 at 12\nexpect О1 0 at 5\n",
                "line 3: time 5 comes before time 12 of line 2 (statements go in time order)"},
        BadFile{"range_backwards", "expect О1 stable 1 from 10 to 5\n",
                "line 1: the range ends at 5, before it starts at 10"},
        BadFile{"nul", Bytes("expect О1 1 at 4\nexpect О1\0 1 at 4\n"), "line 2: control character U+0000"},
        BadFile{"invalid_utf8", "# fine\n\nexpect \xff\xfe 1 at 4\n", "line 3: not UTF-8 text"},
        BadFile{"utf8_cut_at_the_end", "expect О1 1 at 4\n# \xd0", "line 2: not UTF-8 text"},
        BadFile{"time_no_number", "expect О1 1 at four\n", "line 1: time is not a whole number: four"},
        BadFile{"time_plus_sign", "expect О1 1 at +4\n", "line 1: time is not a whole number: +4"},
        BadFile{"time_negative", "expect О1 rises between -1 4\n", "line 1: time is negative: -1"},
        BadFile{"time_past_2_62", "expect О1 1 at 4611686018427387905\n",
                "line 1: time out of range: 4611686018427387905"},
        BadFile{"time_past_64_bits", "expect О1 1 at 99999999999999999999999\n",
                "line 1: time out of range: 99999999999999999999999"},
        BadFile{"delay_no_number", "expect delay П1 О1 <= 1e3\n", "line 1: delay is not a whole number: 1e3"},
        BadFile{"level_two", "expect О1 2 at 4\n", "line 1: a level is 0 or 1, not 2"},
        BadFile{"set_without_at", "set П1 1 4\n", "line 1: set needs SWITCH 0|1 at T"},
        BadFile{"stable_cut_short", "expect О1 stable 1 from 4\n",
                "line 1: expect stable needs NAME stable 0|1 from T1 to T2"},
        BadFile{"rises_without_between", "expect О1 rises 1 4\n",
                "line 1: expect rises needs NAME rises between T1 T2"},
        BadFile{"delay_strict_less", "expect delay П1 О1 < 4\n",
                "line 1: expect delay needs FROM TO <= N or FROM TO >= N"},
        BadFile{"expect_alone", "expect О1\n",
                "line 1: expect needs NAME 0|1 at T, NAME stable 0|1 from T1 to T2, NAME rises|falls "
                "between T1 T2 or delay FROM TO <=|>= N"},
        BadFile{"run_twice", "run 5\nrun 6\n", "line 2: a second run for this case (the first is on line 1)"},
        BadFile{"run_too_short_after", "expect О1 1 at 10\nrun 10\n",
                "line 2: run 10 ends before time 10 of line 1"},
        BadFile{"run_too_short_before", "run 10\nexpect О1 stable 1 from 4 to 10\n",
                "line 2: time 10 is past the run of 10 units (line 1)"},
        BadFile{"set_past_the_run", "run 10\nset П1 1 at 10\n",
                "line 2: time 10 is past the run of 10 units (line 1)"},
        BadFile{"test_unquoted", "test reset\n", "line 1: test needs a name in double quotes: test \"NAME\""},
        BadFile{"test_empty_name", "test \"\"\n",
                "line 1: test needs a name in double quotes: test \"NAME\""},
        BadFile{"nothing_to_test", "# only a comment\n\n", "no statement to test"}));

// Times reach 2^62; a run that long is refused while the simulator's clock cannot reach it.
TEST_F(BatchTest, TimesUpToTwoToThe62) {
    const BatchResult r = Test(Circuit(nullptr), "expect О1 1 at 4611686018427387904\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(r.err,
              QStringLiteral("tarnwell-batch: %1: line 1: a run of 4611686018427387905 units is longer "
                             "than the longest run (4611686018427387904 units)\n")
                  .arg(dir.filePath(QStringLiteral("cases.test"))));
}

// The chip delays of the catalogue are the truth: a К155ЛН1 placed from the default catalogue
// follows its input after its HL delay (switch on) and its LH delay (switch off), so a bound of
// exactly that delay holds and one unit less does not.
TEST_F(BatchTest, CatalogueDelaysDecideTheDelayBounds) {
    Catalogue catalogue(DefaultBasesFolder());
    for (const QString& error : {catalogue.openPictures(), catalogue.openElements(), catalogue.openChips()})
        ASSERT_EQ(error, QString());
    TPlacementData chip;
    QString error;
    ASSERT_TRUE(LookUpChipElement(catalogue, QStringLiteral("К155ЛН1"), &chip, &error))
        << error.toStdString();
    EXPECT_EQ(chip.reactionLH, 12);
    EXPECT_EQ(chip.reactionHL, 8);

    Schematic s;
    const int inverter =
        s.PlaceNode(s.ListChip(QStringLiteral("К155ЛН1"), 6)->child(0), chip, false, nullptr);
    const int sw = s.PlaceNode(s.ListSpecial(ElementKind::Switch),
                               SpecialElements::Placement(ElementKind::Switch), false, nullptr);
    const int probe = s.PlaceNode(s.ListSpecial(ElementKind::Probe),
                                  SpecialElements::Placement(ElementKind::Probe), false, nullptr);
    s.SetCoord(inverter, {20, 20});
    s.SetCoord(sw, {5, 20});
    s.SetCoord(probe, {40, 18});
    ASSERT_TRUE(s.ConnectPins({sw, 0}, {inverter, 0}));
    ASSERT_TRUE(s.ConnectPins({inverter, 1}, {probe, 0}));
    const QString set = dir.filePath(QStringLiteral("inverter.tsv"));
    ASSERT_EQ(SaveSchematicFiles(s, SchematicFileNames(set)), QString());

    const QString sets =
        QStringLiteral("run 300\nset Переключатель1 1 at 100\nset Переключатель1 0 at 200\n");
    const auto check = [&](const char* op, int32_t bound) {
        return Test(set, (sets + QStringLiteral("expect delay Переключатель1 Осциллограф1 %1 %2\n")
                                     .arg(QString::fromLatin1(op))
                                     .arg(bound))
                             .toUtf8());
    };
    const int32_t slowest = std::max(chip.reactionLH, chip.reactionHL);
    const int32_t fastest = std::min(chip.reactionLH, chip.reactionHL);
    EXPECT_EQ(check("<=", slowest).status, 0);
    const BatchResult late = check("<=", slowest - 1);
    EXPECT_EQ(late.status, 1);
    EXPECT_TRUE(late.out.contains(QStringLiteral("      seen: '%1'\n      at: '200'\n").arg(chip.reactionLH)))
        << late.out.toStdString();
    EXPECT_EQ(check(">=", fastest).status, 0);
    const BatchResult early = check(">=", fastest + 1);
    EXPECT_EQ(early.status, 1);
    EXPECT_TRUE(
        early.out.contains(QStringLiteral("      seen: '%1'\n      at: '100'\n").arg(chip.reactionHL)))
        << early.out.toStdString();
}

// The JUnit file has the common structure: <testsuites> around one <testsuite> whose counts match
// its <testcase> children, a <failure> in each failed case, names escaped as XML.
TEST_F(BatchTest, JUnitFileParsesAsTestsuiteTestcaseFailure) {
    const QString junit = dir.filePath(QStringLiteral("report.xml"));
    const BatchResult r =
        Test(Circuit(nullptr),
             "expect О1 1 at 4\ntest \"a < b & \"c\"\"\nexpect О1 0 at 4\nexpect И1 0 at 5\n"
             "test \"third\"\nexpect И1 1 at 5\n",
             {QStringLiteral("--junit"), junit});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();

    QFile f(junit);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    std::map<QString, int> elements;
    QString suite;
    int suiteTests = -1, suiteFailures = -1, totalTests = -1, totalFailures = -1;
    std::vector<QString> cases;
    std::map<QString, QString> failures; // case name -> failure message
    QString inCase;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QString name = xml.name().toString();
        const QXmlStreamAttributes a = xml.attributes();
        ++elements[name];
        if (name == u"testsuites") {
            EXPECT_EQ(elements.size(), 1u) << "testsuites is the root";
            totalTests = a.value(QStringLiteral("tests")).toInt();
            totalFailures = a.value(QStringLiteral("failures")).toInt();
        } else if (name == u"testsuite") {
            suite = a.value(QStringLiteral("name")).toString();
            suiteTests = a.value(QStringLiteral("tests")).toInt();
            suiteFailures = a.value(QStringLiteral("failures")).toInt();
            EXPECT_EQ(a.value(QStringLiteral("errors")), u"0");
        } else if (name == u"testcase") {
            inCase = a.value(QStringLiteral("name")).toString();
            cases.push_back(inCase);
            EXPECT_EQ(a.value(QStringLiteral("classname")), suite);
            EXPECT_TRUE(a.hasAttribute(QStringLiteral("time")));
        } else if (name == u"failure") {
            failures[inCase] = a.value(QStringLiteral("message")).toString();
            EXPECT_EQ(xml.readElementText(),
                      a.value(QStringLiteral("message")).toString() +
                          QStringLiteral("\nline 4: expect И1 0 at 5: expected 0, seen 1 at 5"));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(suite, u"cases.test");
    EXPECT_EQ(totalTests, 3);
    EXPECT_EQ(suiteTests, 3);
    EXPECT_EQ(totalFailures, 1);
    EXPECT_EQ(suiteFailures, 1);
    EXPECT_EQ(elements["testsuites"], 1);
    EXPECT_EQ(elements["testsuite"], 1);
    EXPECT_EQ(elements["testcase"], 3);
    EXPECT_EQ(elements["failure"], 1);
    EXPECT_EQ(cases, (std::vector<QString>{"cases.test", "a < b & \"c\"", "third"}));
    EXPECT_EQ(failures[cases[1]], u"line 3: expect О1 0 at 4: expected 0, seen 1 at 4");
}

TEST_F(BatchTest, VcdHoldsEveryCaseAsAScope) {
    const QString vcd = dir.filePath(QStringLiteral("run.vcd"));
    const BatchResult r = Test(Circuit(nullptr), "set П1 1 at 10\nrun 15\ntest \"idle\"\nrun 3\n",
                               {QStringLiteral("--vcd"), vcd});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(Read(vcd),
              QStringLiteral("$version Tarnwell $end\n$timescale 1 ns $end\n"
                             "$scope module cases.test $end\n"
                             "$var wire 1 ! П1 $end\n$var wire 1 \" И1 $end\n"
                             "$var wire 1 # О1 $end\n$var wire 1 $ О2 $end\n$upscope $end\n"
                             "$scope module idle $end\n"
                             "$var wire 1 % П1 $end\n$var wire 1 & И1 $end\n"
                             "$var wire 1 ' О1 $end\n$var wire 1 ( О2 $end\n$upscope $end\n"
                             "$enddefinitions $end\n#0\n$dumpvars\n0!\n0\"\n0#\n0$\n0%\n0&\n0'\n0(\n$end\n"
                             "1$\n1(\n#4\n1\"\n1#\n#5\n0$\n#10\n1!\n1$\n#12\n0\"\n0#\n#15\n"));
}

TEST_F(BatchTest, Arguments) {
    const QString tests = Write(QByteArray("expect О1 1 at 4\n"), QStringLiteral("cases.test"));
    const QString net = Write(QByteArray(BenchNetlist));
    const QString usage =
        QStringLiteral("usage: tarnwell-batch test FILE TESTFILE [--bases DIR] [--junit FILE] [--vcd FILE]");
    struct Row {
        QStringList args;
        QString err;
    };
    for (const Row& row :
         {Row{{"test"}, "test needs FILE and TESTFILE (" + usage + ")"},
          Row{{"test", net}, "test needs FILE and TESTFILE (" + usage + ")"},
          Row{{"test", net, tests, tests}, "unexpected argument '" + tests + "' (" + usage + ")"},
          Row{{"test", net, tests, "--units", "5"}, "unexpected argument '--units' (" + usage + ")"},
          Row{{"test", net, tests, "--junit"}, "--junit needs a file"},
          Row{{"test", net, tests, "--vcd", "a.vcd", "--vcd", "b.vcd"}, "--vcd given twice"},
          Row{{"test", net, tests, "--bases", ""}, "--bases needs a folder"},
          Row{{"test", dir.filePath("none.net"), tests},
              "cannot read " + dir.filePath("none.net") + ": No such file or directory"},
          Row{{"test", net, dir.filePath("none.test")},
              "cannot read " + dir.filePath("none.test") + ": No such file or directory"},
          Row{{"test", net, tests, "--junit", dir.filePath("no/such/folder.xml")},
              "cannot write " + dir.filePath("no/such/folder.xml") + ": No such file or directory"}}) {
        const BatchResult r = Call(&BatchMain, row.args);
        EXPECT_EQ(r.status, 2) << row.args.join(u' ').toStdString();
        EXPECT_EQ(r.err, QStringLiteral("tarnwell-batch: ") + row.err + u'\n');
    }
    // A report that cannot be written is no verdict on the schematic: status 2, not 0 or 1.
    FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const BatchResult noRoom = Call(&BatchMain, {"test", net, tests}, full);
    std::fclose(full);
    EXPECT_EQ(noRoom.status, 2);
    EXPECT_EQ(noRoom.err, u"tarnwell-batch: cannot write the output: No space left on device\n");
    // A bad schematic is named by its line, as for the other commands.
    const BatchResult bad = Call(&BatchMain, {"test", Write(QByteArray("element D1.1 1 1\n")), tests});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, QString());
    EXPECT_EQ(bad.err, "tarnwell-batch: " + dir.filePath("schematic.net") +
                           ": line 1: element needs NAME X Y W H INT EXT LH HL\n");
}

} // namespace

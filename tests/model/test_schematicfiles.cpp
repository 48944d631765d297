// SPDX-License-Identifier: MIT
// The three schematic files byte for byte, saving and loading a file set, the loader's failures
// and its robustness against damaged files.
#include "model/cp1251.h"
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"
#include "tests/common/filebytes.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

// What placing needs, without a catalogue: every chip is a 40 x 50 picture with the pins 0110 /
// 0001 and the delays 11 / 7; the special kinds bring their own set-up.
bool FakePlacement(const QStandardItem* node, TPlacementData* data, QString* error) {
    const ElementKind kind = KindOfName(node->text());
    if (kind == ElementKind::Unknown) return false;
    if (kind != ElementKind::Chip) {
        *data = SpecialElements::Placement(kind);
        return true;
    }
    if (node->parent() && node->parent()->text() == u"MISSING") {
        *error = QStringLiteral("no such chip");
        return false;
    }
    data->picture = QImage(40, 50, QImage::Format_RGB32);
    data->picture.fill(Qt::white);
    data->leftPins = QStringLiteral("0110");
    data->rightPins = QStringLiteral("0001");
    data->reactionLH = 11;
    data->reactionHL = 7;
    return true;
}

TLoadOptions Options() {
    TLoadOptions o;
    o.placement = &FakePlacement;
    return o;
}

QStringList NodeLines(const Navigator& nav) {
    QStringList out;
    for (const QStandardItem* node : nav.nodesInTreeOrder())
        out << QString(Navigator::depth(node), u'>') + node->text() + u'#' +
                   QString::number(Navigator::imageIndex(node));
    return out;
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

TEST(Cp1251, EveryByteRoundTripsAndTheLettersAreTheCodePages) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = FromCp1251(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1251(text), all);
    EXPECT_EQ(FromCp1251("\xC8\xED\xE4\xE8\xEA\xE0\xF2\xEE\xF0"), QStringLiteral("Индикатор"));
    EXPECT_EQ(ToCp1251(QStringLiteral("Ёё№—€")), QByteArray("\xA8\xB8\xB9\x97\x88"));
    // Characters the code page lacks become one '?' each, a pair of surrogates included.
    EXPECT_EQ(ToCp1251(QStringLiteral("a\u4E2Db") + QString::fromUcs4(U"\U0001F600")), QByteArray("a?b?"));

    // Where the platform has its own converter, every assigned byte decodes alike.
    QStringDecoder platform("windows-1251");
    if (!platform.isValid()) GTEST_SKIP() << "no platform converter for windows-1251";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        const char byte = static_cast<char>(b);
        QStringDecoder one("windows-1251");
        EXPECT_EQ(FromCp1251(QByteArrayView(&byte, 1)), one.decode(QByteArrayView(&byte, 1))) << b;
    }
}

TEST(SchematicFileNamesTest, LastThreeCharactersOfTheFileNameAreReplaced) {
    struct Case {
        const char* chosen;
        const char* tree;
        const char* elements;
        const char* nets;
    };
    const Case cases[] = {
        {"/d/scheme.tsv", "/d/scheme.tsv", "/d/scheme.esv", "/d/scheme.csv"},
        {"/d/scheme.abc", "/d/scheme.tsv", "/d/scheme.esv", "/d/scheme.csv"},
        {"/d.x/схема.TSV", "/d.x/схема.tsv", "/d.x/схема.esv", "/d.x/схема.csv"},
        {"/d/ab", "/d/tsv", "/d/esv", "/d/csv"},
    };
    for (const Case& c : cases) {
        const TSchematicFileNames n = SchematicFileNames(QString::fromUtf8(c.chosen));
        EXPECT_EQ(n.tree, QString::fromUtf8(c.tree)) << c.chosen;
        EXPECT_EQ(n.elements, QString::fromUtf8(c.elements)) << c.chosen;
        EXPECT_EQ(n.nets, QString::fromUtf8(c.nets)) << c.chosen;
    }
}

TEST(TreeFile, OneLinePerNodeWithTabDepthsCrLfInCp1251) {
    Schematic s;
    s.ListChip(QStringLiteral("К155ЛА3"), 2);
    s.ListSpecial(ElementKind::Indicator);
    EXPECT_EQ(WriteTreeFile(s.navigator()),
              QByteArray("\xCA\x31\x35\x35\xCB\xC0\x33\r\n\tD1.1\r\n\tD1.2\r\n"
                         "\xD1\xEF\xE5\xF6. \xFD\xEB\xE5\xEC\xE5\xED\xF2\xFB\r\n"
                         "\t\xC8\xED\xE4\xE8\xEA\xE0\xF2\xEE\xF0\x31\r\n"));
    EXPECT_EQ(WriteTreeFile(Schematic().navigator()), QByteArray());
}

TEST(TreeFile, ReadingFollowsTheDepthsWithTabsOrSpaces) {
    Navigator nav;
    // Line ends of all three kinds; spaces count like tabs; a shallower line climbs to its level.
    const QByteArray text = "A\r\n\tA1\n  A11\r \tA12\r\n\tA2\r\nB\r\n \xC1\xF3\r\n";
    EXPECT_EQ(ReadTreeFile(text, nav), QString());
    EXPECT_EQ(NodeLines(nav), (QStringList{"A#0", ">A1#2", ">>A11#2", ">>A12#2", ">A2#2", "B#0", ">Бу#2"}));

    // A line more than one level deeper fails; the nodes read so far remain. The tree read
    // replaces the whole navigator.
    const QString error = ReadTreeFile("R\r\n\tC\r\n\t\t\tD x\r\n\tE\r\n", nav);
    EXPECT_EQ(error, QStringLiteral("Invalid level (3) for item \"D x\""));
    EXPECT_EQ(NodeLines(nav), (QStringList{"R#0", ">C#2"}));

    // The first line is a root whatever its depth, and the next depth counts from there; an empty
    // line still makes a node.
    EXPECT_EQ(ReadTreeFile("\tX\r\n\tY\r\n\r\n", nav), QString());
    EXPECT_EQ(NodeLines(nav), (QStringList{"X#0", ">Y#2", "#0"}));
    EXPECT_EQ(ReadTreeFile("", nav), QString());
    EXPECT_EQ(nav.count(), 0);

    // The navigator never nests deeper than the reader allows.
    QByteArray deep;
    for (int d = 0; d <= MaxTreeDepth; ++d)
        deep += QByteArray(d, '\t') + "n\r\n";
    EXPECT_EQ(ReadTreeFile(deep, nav), QStringLiteral("Invalid level (%1) for item \"n\"").arg(MaxTreeDepth));
    EXPECT_EQ(nav.count(), MaxTreeDepth);
}

TEST(ElementFile, RecordsAreFortyBytesLittleEndian) {
    struct Case {
        TElementRecord record;
        QByteArray bytes;
    };
    const Case cases[] = {
        {{3, 258, QStringLiteral("D1.2"), 7, 11},
         QByteArray("\x03\0\0\0\x02\x01\0\0\x04"
                    "D1.2",
                    13) +
             QByteArray(19, '\0') + QByteArray("\x07\0\0\0\x0B\0\0\0", 8)},
        {{-1, 0, QStringLiteral("Генератор1"), 30, 70},
         Rec(-1, 0, "\xC3\xE5\xED\xE5\xF0\xE0\xF2\xEE\xF0\x31", 30, 70)},
        // Cut to the first 20 characters.
        {{0, 0, QStringLiteral("Переключатель123456789"), 0, 0},
         Rec(0, 0, ToCp1251(u"Переключатель1234567"), 0, 0)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.bytes.size(), ElementRecordSize);
        EXPECT_EQ(EncodeElementRecord(c.record), c.bytes) << c.record.name.toStdString();
        const TElementRecord back = DecodeElementRecord(c.bytes.constData());
        EXPECT_EQ(back.x, c.record.x);
        EXPECT_EQ(back.y, c.record.y);
        EXPECT_EQ(back.name, c.record.name.left(ElementNameMax));
        EXPECT_EQ(back.reactionHL, c.record.reactionHL);
        EXPECT_EQ(back.reactionLH, c.record.reactionLH);
    }
    // Bytes past the name's length and the padding mean nothing; a length above 20 counts as 20.
    EXPECT_EQ(DecodeElementRecord(Rec(0, 0, "AB", 0, 0, 'z').constData()).name, QStringLiteral("AB"));
    QByteArray longLength = Rec(0, 0, QByteArray(20, 'q'), 0, 0, 'z');
    longLength[8] = static_cast<char>(200);
    EXPECT_EQ(DecodeElementRecord(longLength.constData()).name, QString(20, u'q'));
}

// Two chip elements and a net between them, as the user would build them.
class SchematicFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // D1.1 at (10, 20) and D1.2 at (30, 7), leg 2 of the first joined to leg 0 of the second.
    void BuildTwoConnected(Schematic& t) {
        QStandardItem* group = t.ListChip(QStringLiteral("К155ЛА3"), 2);
        TPlacementData d;
        ASSERT_TRUE(FakePlacement(group->child(0), &d, nullptr));
        ASSERT_EQ(t.PlaceNode(group->child(0), d, false, nullptr), 1);
        ASSERT_EQ(t.PlaceNode(group->child(1), d, false, nullptr), 2);
        t.SetCoord(1, {10, 20});
        t.SetCoord(2, {30, 7});
        ASSERT_TRUE(t.ConnectPins({1, 2}, {2, 0}));
    }

    TSchematicFileNames Names(const char* name = "scheme.tsv") const {
        return SchematicFileNames(dir.filePath(QString::fromUtf8(name)));
    }

    // `a` saved as scheme.tsv.
    TSchematicFileNames Saved(const Schematic& a) {
        const TSchematicFileNames names = Names();
        EXPECT_EQ(SaveSchematicFiles(a, names), QString());
        return names;
    }

    TLoadResult Load(Schematic& t, const TSchematicFileNames& names) {
        t.Clear();
        return LoadSchematicFiles(t, names, Options());
    }

    QTemporaryDir dir;
};

TEST_F(SchematicFiles, TwoConnectedElementsGiveTwoRecordsAndANetOfThreeRecords) {
    Schematic t;
    BuildTwoConnected(t);
    EXPECT_EQ(WriteElementFile(t), Rec(10, 20, "D1.1", 7, 11) + Rec(30, 7, "D1.2", 7, 11));
    // The two pin references, then the end record with the last pin's leg.
    EXPECT_EQ(WriteNetFile(t), QByteArray("\x01\0\0\0\x02\0\0\0"
                                          "\x02\0\0\0\0\0\0\0"
                                          "\0\0\0\0\0\0\0\0",
                                          24));
    ASSERT_TRUE(t.ConnectPins({1, 0}, {2, 1}));
    EXPECT_EQ(WriteNetFile(t), Pin(1, 2) + Pin(2, 0) + Pin(0, 0) + Pin(1, 0) + Pin(2, 1) + Pin(0, 1));
}

TEST_F(SchematicFiles, LoadingHandWrittenFilesPlacesByNameAndRestoresPositionsDelaysAndNets) {
    Schematic t;
    const QByteArray tree = "\xCA\x31\r\n\tD1.1\r\n\tD1.2\r\n\tD1.3\r\n"
                            "\xD1\xEF\xE5\xF6. \xFD\xEB\xE5\xEC\xE5\xED\xF2\xFB\r\n"
                            "\t\xCF\xE5\xF0\xE5\xEA\xEB\xFE\xF7\xE0\xF2\xE5\xEB\xFC\x31\r\n"
                            "\t\xCE\xF1\xF6\xE8\xEB\xEB\xEE\xE3\xF0\xE0\xF4\x32\r\n";
    // Records in file order: the probe, D1.2, "X" (no node of that name), the switch; D1.3 is never
    // named. The net file names records: 4 is the switch, which becomes element 3.
    const QByteArray elements = Rec(50, 60, "\xCE\xF1\xF6\xE8\xEB\xEB\xEE\xE3\xF0\xE0\xF4\x32", 0, 0) +
                                Rec(5, 6, "D1.2", 33, 44) + Rec(0, 0, "X", 1, 1) +
                                Rec(7, 8, "\xCF\xE5\xF0\xE5\xEA\xEB\xFE\xF7\xE0\xF2\xE5\xEB\xFC\x31", 0, 0);
    const QByteArray nets = Pin(4, 0) + Pin(2, 2) + Pin(1, 0) + Pin(0, 0);
    std::vector<int> placed;
    TLoadOptions options = Options();
    options.placed = [&placed](int i) { placed.push_back(i); };
    const TLoadResult r = LoadSchematicBytes(t, tree, elements, nets, options);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.error, QString());
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join(u'\n').toStdString();
    ASSERT_EQ(r.unplaced.size(), 1u);
    EXPECT_EQ(r.unplaced[0].record, 3);
    EXPECT_EQ(r.unplaced[0].name, QStringLiteral("X"));
    ASSERT_EQ(t.ElementCount(), 3);
    EXPECT_EQ(placed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(t.element(1).Name, QStringLiteral("Осциллограф2"));
    EXPECT_EQ(t.element(1).Coord, (TPoint32{50, 60}));
    EXPECT_EQ(t.element(2).Name, QStringLiteral("D1.2"));
    EXPECT_EQ(t.element(2).Reaction_HL, 33);
    EXPECT_EQ(t.element(2).Reaction_LH, 44);
    EXPECT_EQ(t.element(3).Name, QStringLiteral("Переключатель1"));
    EXPECT_FALSE(t.element(3).State);
    EXPECT_EQ(t.Conns(), (std::vector<TConns>{{{3, 0}, {2, 2}, {1, 0}}}));
    EXPECT_EQ(t.OscCount(), 1);
    EXPECT_EQ(t.OscChannel(2), 1);
    EXPECT_EQ(NodeLines(t.navigator()),
              (QStringList{"К1#0", ">D1.1#2", ">D1.2#1", ">D1.3#2", "Спец. элементы#0", ">Переключатель1#1",
                           ">Осциллограф2#1"}));
    EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
    // The traces: placing's own lines, then the load's, then one net.
    const QStringList expected{"legs1 0001", "legs2 ",        "",
                               "Coord.x 50", "Coord.y 60",    "Width 71",
                               "Height 81",  "Reaction_LH 0", "Reaction_HL 0"};
    EXPECT_EQ(r.log.mid(0, expected.size()), expected);
    EXPECT_EQ(
        r.log.mid(r.log.size() - 7),
        (QStringList{"High(Conns) 0", "High(Conns[i]) 0", "Conns[0][High(Conns[0])]=3=0", "High(Conns[i]) 1",
                     "Conns[0][High(Conns[0])]=2=2", "High(Conns[i]) 2", "Conns[0][High(Conns[0])]=1=0"}));
}

TEST_F(SchematicFiles, SaveThenLoadReproducesTheSchematic) {
    Schematic a;
    QStandardItem* group = a.ListChip(QStringLiteral("К155ЛН1"), 3);
    const int gen = [&] {
        QStandardItem* node = a.ListSpecial(ElementKind::Generator);
        return a.PlaceNode(node, SpecialElements::Placement(ElementKind::Generator), false, nullptr);
    }();
    TPlacementData d;
    ASSERT_TRUE(FakePlacement(group->child(0), &d, nullptr));
    a.PlaceNode(group->child(2), d, false, nullptr);
    a.PlaceNode(group->child(0), d, false, nullptr);
    for (ElementKind k :
         {ElementKind::Switch, ElementKind::Probe, ElementKind::Probe, ElementKind::Indicator})
        a.PlaceNode(a.ListSpecial(k), SpecialElements::Placement(k), false, nullptr);
    a.SetGeneratorDurations(gen, 30, 70);
    for (int i = 1; i <= a.ElementCount(); ++i)
        a.SetCoord(i, {i * 11, 200 - i * 3});
    a.ToggleSwitch(4);
    ASSERT_TRUE(a.ConnectPins({1, 0}, {2, 0}));
    ASSERT_TRUE(a.ConnectPins({2, 2}, {3, 1}));
    ASSERT_TRUE(a.ConnectPins({3, 1}, {5, 0}));
    ASSERT_TRUE(a.ConnectPins({4, 0}, {7, 0}));
    a.SelectElement(2);

    const TSchematicFileNames names = Names();
    ASSERT_EQ(SaveSchematicFiles(a, names), QString());
    Schematic b;
    b.ListChip(QStringLiteral("old"), 1); // a schematic on screen is replaced
    const TLoadResult r = Load(b, names);
    ASSERT_TRUE(r.complete) << r.error.toStdString();
    ASSERT_EQ(b.ElementCount(), a.ElementCount());
    for (int i = 1; i <= a.ElementCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(b.element(i).Name, a.element(i).Name);
        EXPECT_EQ(b.element(i).Coord, a.element(i).Coord);
        EXPECT_EQ(b.element(i).Reaction_HL, a.element(i).Reaction_HL);
        EXPECT_EQ(b.element(i).Reaction_LH, a.element(i).Reaction_LH);
        EXPECT_EQ(b.element(i).Legs.size(), a.element(i).Legs.size());
        EXPECT_FALSE(b.element(i).Selected);
        EXPECT_FALSE(b.element(i).State); // the switch comes back off
    }
    EXPECT_EQ(b.element(1).Reaction_HL, 30);
    EXPECT_EQ(b.element(1).Reaction_LH, 70);
    EXPECT_EQ(b.Conns(), a.Conns());
    EXPECT_EQ(NodeLines(b.navigator()), NodeLines(a.navigator()));
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(b.OscChannel(c), a.OscChannel(c)) << c;
    EXPECT_EQ(b.OscCount(), 2);
    EXPECT_EQ(CheckInvariants(b) + CheckNavigator(b), "");
    // Saved again, the files are the same bytes.
    const TSchematicFileNames again = Names("again.tsv");
    ASSERT_EQ(SaveSchematicFiles(b, again), QString());
    for (auto member :
         {&TSchematicFileNames::tree, &TSchematicFileNames::elements, &TSchematicFileNames::nets})
        EXPECT_EQ(ReadBytes(again.*member), ReadBytes(names.*member));
}

TEST_F(SchematicFiles, AnEmptySchematicGivesEmptyRecordFilesAndLoadsEmpty) {
    Schematic a;
    const TSchematicFileNames names = Names();
    ASSERT_EQ(SaveSchematicFiles(a, names), QString());
    EXPECT_EQ(ReadBytes(names.tree), QByteArray());
    EXPECT_EQ(ReadBytes(names.elements), QByteArray());
    EXPECT_EQ(ReadBytes(names.nets), QByteArray());
    Schematic b;
    BuildTwoConnected(b);
    const TLoadResult r = Load(b, names);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(b.ElementCount(), 0);
    EXPECT_TRUE(b.Conns().empty());
    EXPECT_EQ(b.navigator().count(), 0);
    EXPECT_TRUE(r.log.isEmpty());
}

TEST_F(SchematicFiles, ANameLongerThanTwentyCharactersIsCutAndNotPlacedOnLoading) {
    Schematic a;
    QStandardItem* group = a.ListChip(QStringLiteral("K"), 0);
    const QString longName = QStringLiteral("D1.") + QString(20, u'7');
    group->appendRow(Navigator::makeNode(longName, Navigator::ImageListed));
    group->appendRow(Navigator::makeNode(QStringLiteral("D1.1"), Navigator::ImageListed));
    TPlacementData d;
    ASSERT_TRUE(FakePlacement(group->child(0), &d, nullptr));
    ASSERT_EQ(a.PlaceNode(group->child(0), d, false, nullptr), 1);
    ASSERT_EQ(a.PlaceNode(group->child(1), d, false, nullptr), 2);
    ASSERT_TRUE(a.ConnectPins({1, 0}, {2, 0}));
    const QByteArray records = WriteElementFile(a);
    ASSERT_EQ(records.size(), 80);
    EXPECT_EQ(records.mid(8, 21), QByteArray("\x14"
                                             "D1.77777777777777777"));

    const TSchematicFileNames names = Names();
    ASSERT_EQ(SaveSchematicFiles(a, names), QString());
    Schematic b;
    const TLoadResult r = Load(b, names);
    // The long one stays listed and is reported, D1.1 takes slot 1; the net loses the pin of the
    // unplaced record and, left with one pin, goes.
    ASSERT_EQ(b.ElementCount(), 1);
    EXPECT_EQ(b.element(1).Name, QStringLiteral("D1.1"));
    EXPECT_EQ(NodeLines(b.navigator()), (QStringList{"K#0", ">" + longName + "#2", ">D1.1#1"}));
    EXPECT_TRUE(b.Conns().empty());
    EXPECT_EQ(r.unplacedCount, 1);
    EXPECT_EQ(r.problems.size(), 2);
    EXPECT_EQ(CheckInvariants(b) + CheckNavigator(b), "");
}

TEST_F(SchematicFiles, TheLoaderDropsWhatWouldBreakTheModel) {
    const QByteArray tree = "K\r\n\tD1.1\r\n\tD1.2\r\n\tD1.3\r\n";
    const QByteArray elements =
        Rec(0, 0, "D1.1", 7, 11) + Rec(0, 0, "D1.2", 7, 11) + Rec(0, 0, "D1.3", 7, 11);
    struct Case {
        const char* what;
        QByteArray nets;
        std::vector<TConns> conns;
        int problems;
    };
    const Case cases[] = {
        {"an element past the table", Pin(1, 0) + Pin(9, 0) + Pin(2, 0) + Pin(0, 0), {{{1, 0}, {2, 0}}}, 1},
        {"a negative element", Pin(-1, 0) + Pin(1, 0) + Pin(2, 0) + Pin(0, 0), {{{1, 0}, {2, 0}}}, 1},
        {"a leg past the legs",
         Pin(1, 3) + Pin(1, 0) + Pin(2, -1) + Pin(2, 0) + Pin(0, 0),
         {{{1, 0}, {2, 0}}},
         2},
        {"a pin already in a net",
         Pin(1, 0) + Pin(2, 0) + Pin(0, 0) + Pin(2, 0) + Pin(3, 0) + Pin(3, 1) + Pin(0, 1),
         {{{1, 0}, {2, 0}}, {{3, 0}, {3, 1}}},
         1},
        {"a pin twice in its net", Pin(1, 0) + Pin(1, 0) + Pin(2, 0) + Pin(0, 0), {{{1, 0}, {2, 0}}}, 1},
        {"a net left with one pin",
         Pin(1, 0) + Pin(7, 0) + Pin(0, 0) + Pin(2, 0) + Pin(3, 0) + Pin(0, 0),
         {{{2, 0}, {3, 0}}},
         2},
        {"two end records in a row",
         Pin(1, 0) + Pin(2, 0) + Pin(0, 0) + Pin(0, 0) + Pin(3, 0) + Pin(3, 2) + Pin(0, 2),
         {{{1, 0}, {2, 0}}, {{3, 0}, {3, 2}}},
         1},
        {"an end record first", Pin(0, 5) + Pin(1, 1) + Pin(2, 1) + Pin(0, 1), {{{1, 1}, {2, 1}}}, 1},
        {"one lone end record", Pin(0, 0), {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(t, tree, elements, c.nets, Options());
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(t.Conns(), c.conns);
        EXPECT_EQ(r.problems.size(), c.problems) << r.problems.join(u'\n').toStdString();
        for (const QString& p : r.problems)
            EXPECT_TRUE(r.log.contains(p));
        EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
    }
}

TEST_F(SchematicFiles, ChipCountRisesAboveTheLoadedDesignators) {
    Schematic t;
    t.ListChip(QStringLiteral("A"), 1);
    ASSERT_EQ(t.ChipCount(), 1);
    t.Clear();
    const QByteArray tree = "A\r\n\tD12.1\r\n\tD3\r\nB\r\n\tD7\r\n\tDx4\r\n\tD99.\r\n\tD12345678901\r\n";
    LoadSchematicBytes(t, tree, {}, {}, Options());
    EXPECT_EQ(t.ChipCount(), 12);
    EXPECT_EQ(t.ListChip(QStringLiteral("C"), 1)->child(0)->text(), QStringLiteral("D13"));
    // It never goes down.
    t.Clear();
    LoadSchematicBytes(t, "A\r\n\tD2\r\n", {}, {}, Options());
    EXPECT_EQ(t.ChipCount(), 13);
}

TEST_F(SchematicFiles, EachMissingFileStopsTheLoadWhereItIsNeeded) {
    Schematic a;
    BuildTwoConnected(a);
    const TSchematicFileNames names = Names();
    ASSERT_EQ(SaveSchematicFiles(a, names), QString());

    // No tree file: the schematic stays empty; the message names the path and the reason.
    {
        Schematic t;
        const TLoadResult r = Load(t, Names("none.tsv"));
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(r.error, QStringLiteral("Cannot open file \"%1\". No such file or directory\nСхема не "
                                          "загружена: она пуста.")
                               .arg(dir.filePath(QStringLiteral("none.tsv"))));
        EXPECT_EQ(t.navigator().count(), 0);
        EXPECT_EQ(t.ElementCount(), 0);
    }
    // No element file: the nodes are listed, nothing is placed.
    QFile::rename(names.elements, names.elements + QStringLiteral(".away"));
    {
        Schematic t;
        const TLoadResult r = Load(t, names);
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(r.error, QStringLiteral("File not found\nФайл: %1\nЗагружен только навигатор: элементы не "
                                          "размещены, цепи не загружены.")
                               .arg(names.elements));
        EXPECT_EQ(NodeLines(t.navigator()), (QStringList{"К155ЛА3#0", ">D1.1#2", ">D1.2#2"}));
        EXPECT_EQ(t.ElementCount(), 0);
    }
    // No net file: the elements are placed where they were, without nets.
    QFile::rename(names.elements + QStringLiteral(".away"), names.elements);
    QFile::remove(names.nets);
    {
        Schematic t;
        const TLoadResult r = Load(t, names);
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(r.error, QStringLiteral("File not found\nФайл: %1\nЭлементы размещены, цепи не загружены.")
                               .arg(names.nets));
        ASSERT_EQ(t.ElementCount(), 2);
        EXPECT_EQ(t.element(2).Coord, (TPoint32{30, 7}));
        EXPECT_TRUE(t.Conns().empty());
    }
    // A malformed tree: the message with the depth and the text; the nodes read so far remain.
    WriteBytes(names.tree, "\xCA\r\n\tD1.1\r\n\t\t\t\xC1\xE0\xE4\r\n\tD1.2\r\n");
    {
        Schematic t;
        const TLoadResult r = Load(t, names);
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(r.error, QStringLiteral("Invalid level (3) for item \"Бад\"\nФайл: %1, строка 3\nЗагрузка "
                                          "остановлена: в навигаторе узлы до этой строки, элементы и цепи не "
                                          "загружены.")
                               .arg(names.tree));
        EXPECT_EQ(NodeLines(t.navigator()), (QStringList{"К#0", ">D1.1#2"}));
        EXPECT_EQ(t.ElementCount(), 0);
    }
    // A folder where the tree file should be cannot be opened either.
    QDir(dir.path()).mkdir(QStringLiteral("folder.tsv"));
    {
        Schematic t;
        const TLoadResult r = Load(t, Names("folder.tsv"));
        EXPECT_EQ(r.error.section(u'\n', 0, 0), QStringLiteral("Cannot open file \"%1\". Is a directory")
                                                    .arg(dir.filePath(QStringLiteral("folder.tsv"))));
    }
}

TEST_F(SchematicFiles, TruncatedRecordsStopTheLoadAfterTheWholeOnes) {
    const QByteArray tree = "K\r\n\tD1.1\r\n\tD1.2\r\n";
    const QByteArray elements = Rec(1, 1, "D1.1", 7, 11) + Rec(2, 2, "D1.2", 7, 11);
    {
        Schematic t;
        const TLoadResult r =
            LoadSchematicBytes(t, tree, elements.left(60), Pin(1, 0) + Pin(2, 0), Options());
        EXPECT_EQ(r.error,
                  QStringLiteral("Read beyond end of file\nФайл обрезан: размещены элементы его целых "
                                 "записей, цепи не загружены."));
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(t.ElementCount(), 1);
        EXPECT_TRUE(t.Conns().empty());
    }
    {
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(
            t, tree, elements, Pin(1, 0) + Pin(2, 0) + Pin(0, 0) + Pin(0, 0).left(5), Options());
        EXPECT_EQ(r.error,
                  QStringLiteral("Read beyond end of file\nФайл обрезан: элементы размещены, загружены "
                                 "цепи его целых записей."));
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(t.Conns(), (std::vector<TConns>{{{1, 0}, {2, 0}}}));
    }
    // Regression: a net file cut inside a net (its end record lost) loaded the partial net silently.
    for (const QByteArray& cut :
         {Pin(1, 0) + Pin(2, 0) + Pin(0, 0) + Pin(1, 1) + Pin(2, 1),
          Pin(1, 0) + Pin(2, 0) + Pin(0, 0) + Pin(1, 1) + Pin(2, 1) + Pin(0, 0).left(5)}) {
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(t, tree, elements, cut, Options());
        EXPECT_EQ(r.error, QStringLiteral("Файл цепей обрезан: у последней цепи нет записи конца\nЭлементы "
                                          "размещены, цепи до последней загружены, последняя не загружена."));
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(t.Conns(), (std::vector<TConns>{{{1, 0}, {2, 0}}}));
    }
}

TEST_F(SchematicFiles, ASaveThatFailsPartWayLeavesTheOldFileSet) {
    Schematic old;
    BuildTwoConnected(old);
    const TSchematicFileNames names = Names();
    ASSERT_EQ(SaveSchematicFiles(old, names), QString());
    const QByteArray tree = ReadBytes(names.tree), elements = ReadBytes(names.elements),
                     nets = ReadBytes(names.nets);

    Schematic changed;
    BuildTwoConnected(changed);
    changed.SetCoord(1, {99, 99});
    changed.RemoveNet(0);
    // The element file's name is taken by a folder: the save fails at the second file.
    QFile::remove(names.elements);
    ASSERT_TRUE(QDir().mkdir(names.elements));
    EXPECT_EQ(
        SaveSchematicFiles(changed, names),
        QStringLiteral("File access denied\nФайл: %1\nСхема не сохранена; файлы схемы на диске остались "
                       "прежними.")
            .arg(names.elements));
    EXPECT_EQ(ReadBytes(names.tree), tree);
    EXPECT_EQ(ReadBytes(names.nets), nets);
    EXPECT_TRUE(QFileInfo(names.elements).isDir());
    // Nothing is left behind in the folder but the targets.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
              (QStringList{"scheme.csv", "scheme.tsv"}));

    // A folder that does not exist: the tree file cannot be created.
    const TSchematicFileNames nowhere = SchematicFileNames(dir.filePath(QStringLiteral("no/such.tsv")));
    EXPECT_EQ(
        SaveSchematicFiles(changed, nowhere),
        QStringLiteral("Cannot create file \"%1\". No such file or directory\nСхема не сохранена; файлы "
                       "схемы на диске остались прежними.")
            .arg(nowhere.tree));
    (void)elements;
}

// Damaged files of every kind never crash the loader, and what it builds keeps the invariants.
TEST_F(SchematicFiles, DamagedFilesKeepTheInvariants) {
    Schematic good;
    BuildTwoConnected(good);
    good.PlaceNode(good.ListSpecial(ElementKind::Probe), SpecialElements::Placement(ElementKind::Probe),
                   false, nullptr);
    ASSERT_TRUE(good.ConnectPins({1, 0}, {3, 0}));
    const QByteArray tree = WriteTreeFile(good.navigator());
    const QByteArray elements = WriteElementFile(good);
    const QByteArray nets = WriteNetFile(good);

    QRandomGenerator random(1234);
    const auto noise = [&random](int size) {
        QByteArray b(size, '\0');
        for (char& c : b)
            c = static_cast<char>(random.bounded(256));
        return b;
    };
    QByteArray manyProbes = "S\r\n";
    QByteArray probeRecords;
    for (int i = 0; i < 12; ++i) {
        manyProbes += "\t\xCE\xF1\xF6\xE8\xEB\xEB\xEE\xE3\xF0\xE0\xF4\x31\r\n";
        probeRecords += Rec(i, i, "\xCE\xF1\xF6\xE8\xEB\xEB\xEE\xE3\xF0\xE0\xF4\x31", 0, 0);
    }
    QByteArray manyNodes = "K\r\n";
    for (int i = 0; i < MaxElements + 5; ++i)
        manyNodes += "\tD1.1\r\n";
    QByteArray hugeCount;
    for (int i = 0; i < 20000; ++i)
        hugeCount += Rec(i, -i, "D1.1", i, -i);
    QByteArray farRefs;
    for (int i = 0; i < 5000; ++i)
        farRefs += Pin(i * 7919 - 3, i % 5 - 1) + (i % 3 == 0 ? Pin(0, 0) : QByteArray());
    QByteArray extremes = Rec(INT32_MIN, INT32_MAX, "D1.1", INT32_MIN, INT32_MAX) + Rec(0, 0, "D1.2", -1, -1);

    struct Case {
        const char* what;
        QByteArray tree, elements, nets;
    };
    const Case cases[] = {
        {"truncated element record", tree, elements.left(elements.size() - 1), nets},
        {"truncated net record", tree, elements, nets.left(nets.size() - 3)},
        {"references past the table", tree, elements, Pin(1000, 0) + Pin(1, 0) + Pin(INT32_MAX, INT32_MAX)},
        {"a placed element the net file expects elsewhere", tree, elements.mid(40), nets},
        {"more probes than channels", manyProbes, probeRecords, {}},
        {"more elements than the table holds", manyNodes, Rec(0, 0, "D1.1", 0, 0), Pin(1, 0) + Pin(2, 0)},
        {"a huge element count", tree, hugeCount, nets},
        {"extreme numbers", tree, extremes, nets},
        {"far references", tree, elements, farRefs},
        {"random tree", noise(3000), elements, nets},
        {"random elements", tree, noise(4001), nets},
        {"random nets", tree, elements, noise(8003)},
        {"all random", noise(500), noise(400), noise(800)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(t, c.tree, c.elements, c.nets, Options());
        EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
        EXPECT_LE(t.OscCount(), 5);
        EXPECT_GE(t.ChipCount(), 0);
        // Whatever was loaded can be saved and loaded again alike.
        const TSchematicFileNames names = Names();
        ASSERT_EQ(SaveSchematicFiles(t, names), QString());
        Schematic again;
        LoadSchematicFiles(again, names, Options());
        EXPECT_EQ(again.ElementCount(), t.ElementCount());
        EXPECT_EQ(again.Conns(), t.Conns());
        EXPECT_EQ(CheckInvariants(again) + CheckNavigator(again), "");
        (void)r;
    }
}

TEST_F(SchematicFiles, TheInvariantCheckFindsABrokenModel) {
    Schematic t;
    BuildTwoConnected(t);
    EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
    // A placed node whose slot holds another name.
    Navigator::setDataRef(t.navigator().nodesInTreeOrder()[1], 2);
    EXPECT_NE(CheckInvariants(t) + CheckNavigator(t), "");
    t.AssociateTree();
    EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
    // A channel on an element that is no probe.
    ASSERT_TRUE(t.SetOscChannel(1, 2));
    EXPECT_NE(CheckInvariants(t) + CheckNavigator(t), "");
}

// Two chips, a switch and a lamp: D1.1, D2.1, П1, D1.2, D2.2, И1 in this order, with nets that
// cross between the chips.
void BuildTwoChips(Schematic& a) {
    QStandardItem* k1 = a.ListChip(QStringLiteral("K1"), 2);
    QStandardItem* k2 = a.ListChip(QStringLiteral("K2"), 2);
    TPlacementData chip;
    ASSERT_TRUE(FakePlacement(k1->child(0), &chip, nullptr));
    const auto special = [&a](ElementKind k) {
        return a.PlaceNode(a.ListSpecial(k), SpecialElements::Placement(k), false, nullptr);
    };
    ASSERT_EQ(a.PlaceNode(k1->child(0), chip, false, nullptr), 1);
    ASSERT_EQ(a.PlaceNode(k2->child(0), chip, false, nullptr), 2);
    ASSERT_EQ(special(ElementKind::Switch), 3);
    ASSERT_EQ(a.PlaceNode(k1->child(1), chip, false, nullptr), 4);
    ASSERT_EQ(a.PlaceNode(k2->child(1), chip, false, nullptr), 5);
    ASSERT_EQ(special(ElementKind::Indicator), 6);
    for (int i = 1; i <= 6; ++i)
        a.SetCoord(i, {i * 12, i * 5});
    for (const TConns& net : std::vector<TConns>{{{3, 0}, {1, 0}, {2, 0}},
                                                 {{1, 2}, {4, 0}},
                                                 {{2, 2}, {6, 0}},
                                                 {{4, 2}, {5, 1}},
                                                 {{5, 2}, {1, 1}, {4, 1}}})
        ASSERT_TRUE(a.AddNet(net));
}

// Regression: an element record that placed nothing (its chip missing from the catalogue) made the
// net file's element numbers slide onto the next elements, and saving kept the wrong nets. Each pin
// now follows its own record: what is left are exactly the saved nets among the placed elements.
TEST_F(SchematicFiles, ARecordThatPlacesNothingTakesOnlyItsOwnPinsOutOfTheNets) {
    Schematic a;
    BuildTwoChips(a);
    const TSchematicFileNames names = Saved(a);
    // The oracle: the same schematic with K2's elements deleted by the model's own operation.
    Schematic expected;
    ASSERT_TRUE(Load(expected, names).complete);
    expected.SelectElement(2);
    expected.SelectElement(5);
    expected.DeleteSelected();
    ASSERT_EQ(expected.Conns(), (std::vector<TConns>{{{2, 0}, {1, 0}}, {{1, 2}, {3, 0}}, {{1, 1}, {3, 1}}}));

    QByteArray tree = ReadBytes(names.tree);
    tree.replace("K2\r\n", "MISSING\r\n");
    WriteBytes(names.tree, tree);
    Schematic t;
    const TLoadResult r = Load(t, names);
    EXPECT_TRUE(r.complete) << r.error.toStdString();
    ASSERT_EQ(t.ElementCount(), 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(t.element(i).Name, expected.element(i).Name) << i;
    EXPECT_EQ(t.element(4).Coord, (TPoint32{72, 30})); // И1 kept its own position
    EXPECT_EQ(t.Conns(), expected.Conns());
    EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
    ASSERT_EQ(r.unplaced.size(), 2u);
    EXPECT_EQ(r.unplaced[0].record, 2);
    EXPECT_EQ(r.unplaced[1].record, 5);
    EXPECT_EQ(UnplacedReport(r, 20),
              (QStringList{"Не размещены элементы схемы (2):", "D2.1 (запись 2): no such chip",
                           "D2.2 (запись 5): no such chip",
                           "Их выводы исключены из цепей. Если сохранить схему сейчас, этих элементов в её "
                           "файлах не будет."}));
    EXPECT_EQ(UnplacedReport(r, 1).mid(1, 2), (QStringList{"D2.1 (запись 2): no such chip", "и ещё 1."}));
    // The pins of the missing elements and the nets left with one pin are in the log.
    EXPECT_EQ(r.problems.size(), 6) << r.problems.join(u'\n').toStdString();
}

// Regression: a tree stored twice made every record place two elements, and the net file's numbers
// slid again. Each record takes one node: the first copy of the tree is placed, the second listed.
TEST_F(SchematicFiles, ATreeStoredTwicePlacesEachRecordOnce) {
    Schematic a;
    BuildTwoChips(a);
    const TSchematicFileNames names = Saved(a);
    WriteBytes(names.tree, ReadBytes(names.tree) + ReadBytes(names.tree));
    Schematic t;
    const TLoadResult r = Load(t, names);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.unplacedCount, 0);
    ASSERT_EQ(t.ElementCount(), a.ElementCount());
    EXPECT_EQ(t.Conns(), a.Conns());
    const QStringList lines = NodeLines(t.navigator());
    EXPECT_EQ(lines.mid(0, lines.size() / 2), NodeLines(a.navigator()));
    EXPECT_EQ(lines.filter(QStringLiteral("#1")).size(), a.ElementCount());
    EXPECT_EQ(CheckInvariants(t) + CheckNavigator(t), "");
}

// A flipped byte in a coordinate made the window's pixel arithmetic overflow. Records outside
// -1000000..1000000 are refused by name and record number; their pins leave the nets.
TEST_F(SchematicFiles, ARecordWithCoordinatesOutOfRangeIsNotPlaced) {
    struct Case {
        int32_t x, y;
        bool placed;
    };
    const Case cases[] = {{1000000, -1000000, true}, {-1000000, 1000000, true},
                          {1000001, 0, false},       {0, -1000001, false},
                          {300000000, 5, false},     {INT32_MIN, INT32_MAX, false}};
    const QByteArray tree = "K\r\n\tD1.1\r\n\tD1.2\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(t, tree, Rec(c.x, c.y, "D1.1") + Rec(3, 3, "D1.2"),
                                                 Pin(1, 0) + Pin(2, 0) + Pin(0, 0), Options());
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(t.ElementCount(), c.placed ? 2 : 1);
        EXPECT_EQ(t.Conns().size(), c.placed ? 1u : 0u);
        if (c.placed) {
            EXPECT_EQ(t.element(1).Coord, (TPoint32{c.x, c.y}));
            continue;
        }
        EXPECT_EQ(t.element(1).Name, QStringLiteral("D1.2"));
        ASSERT_EQ(r.unplaced.size(), 1u);
        EXPECT_EQ(UnplacedReport(r, 20).value(1),
                  QStringLiteral("D1.1 (запись 1): координаты (%1, %2) вне пределов -1000000…1000000")
                      .arg(c.x)
                      .arg(c.y));
    }
}

// Regression: a FIFO in place of a file blocked the load for ever. Anything but a regular file is
// refused at once, naming it.
TEST_F(SchematicFiles, OnlyRegularFilesAreRead) {
    Schematic a;
    BuildTwoConnected(a);
    const TSchematicFileNames names = Saved(a);
    for (auto member :
         {&TSchematicFileNames::tree, &TSchematicFileNames::elements, &TSchematicFileNames::nets}) {
        const QString path = names.*member;
        const QByteArray saved = ReadBytes(path);
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        Schematic t;
        const TLoadResult r = Load(t, names);
        EXPECT_FALSE(r.complete);
        EXPECT_TRUE(r.error.startsWith(
            QStringLiteral("\"%1\" — не обычный файл, а именованный канал (FIFO): схема из него не читается")
                .arg(path)))
            << r.error.toStdString();
        ASSERT_TRUE(QFile::remove(path));
        WriteBytes(path, saved);
    }
    // A device that never ends, through a link.
    ASSERT_TRUE(QFile::remove(names.nets));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), names.nets));
    Schematic t;
    const TLoadResult r = Load(t, names);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("\"%1\" — не обычный файл, а устройство").arg(names.nets)))
        << r.error.toStdString();
    EXPECT_EQ(t.ElementCount(), 2);
}

// Regression: a tree file of garbage loaded as junk nodes. A line with a control character is no
// node: the load stops there and says which line.
TEST(TreeFile, ALineWithAControlCharacterStopsTheLoadWithItsNumber) {
    struct Case {
        QByteArray tree;
        qsizetype line;
        QString fault;
    };
    const Case cases[] = {
        {QByteArray("A\r\n\tB\r\n\t\x01zz\r\n\tC\r\n"), 3, "0x01"},
        {QByteArray("A\r\n\tB\0C\r\n", 10), 2, "0x00"},
        {QByteArray("A\x7F\r\n"), 1, "0x7f"},
    };
    for (const Case& c : cases) {
        Navigator nav;
        qsizetype line = 0;
        EXPECT_EQ(ReadTreeFile(c.tree, nav, &line),
                  QStringLiteral("Строка не является узлом дерева: в ней управляющий символ ") + c.fault);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(nav.count(), c.line - 1);
        Schematic t;
        const TLoadResult r = LoadSchematicBytes(t, c.tree, {}, {}, Options());
        EXPECT_TRUE(r.error.contains(QStringLiteral("\nСтрока %1\n").arg(c.line))) << r.error.toStdString();
    }
    // A tab inside a node's text is text.
    Navigator nav;
    EXPECT_EQ(ReadTreeFile("A\tB\r\n\tC\r\n", nav), QString());
    EXPECT_EQ(NodeLines(nav), (QStringList{"A\tB#0", ">C#2"}));
}

// The files in a folder, sorted.
QStringList FolderFiles(const QString& path) {
    return QDir(path).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A save cut short after any of its steps (a kill, simulated by the hook) leaves, for the next open
// of that name, exactly the old file set or the new one, never a mix; the open finishes or undoes
// the save, says so in its log and leaves no file of the save behind.
TEST_F(SchematicFiles, ASaveStoppedAfterAnyStepOpensAsTheOldSetOrTheNewOne) {
    Schematic oldSchematic, newSchematic;
    BuildTwoConnected(oldSchematic);
    BuildTwoChips(newSchematic);
    constexpr int Steps = 14; // three files, two journals, six renames, three removals
    for (const bool hadOldSet : {true, false}) {
        for (int stop = 1; stop <= Steps + 1; ++stop) {
            SCOPED_TRACE(testing::Message() << (hadOldSet ? "over an old set" : "a first save")
                                            << ", stopped before step " << stop);
            const QString folder = dir.filePath(QStringLiteral("%1-%2").arg(hadOldSet).arg(stop));
            ASSERT_TRUE(QDir().mkpath(folder));
            const TSchematicFileNames names = SchematicFileNames(folder + QStringLiteral("/set.tsv"));
            const std::vector<QString> targets{names.tree, names.elements, names.nets};
            if (hadOldSet) {
                ASSERT_EQ(SaveSchematicFiles(oldSchematic, names), QString());
            }
            std::vector<QByteArray> oldBytes, newBytes;
            for (const QString& t : targets)
                oldBytes.push_back(ReadBytes(t));
            int steps = 0;
            const QString error = SaveSchematicFiles(newSchematic, names, nullptr, [&](int step) {
                steps = step;
                return step == stop ? CommitHookAction::Stop : CommitHookAction::Go;
            });
            if (stop > Steps) {
                EXPECT_EQ(error, QString());
                EXPECT_EQ(steps, Steps);
            } else {
                EXPECT_EQ(error, QStringLiteral("Сохранение остановлено"));
            }
            for (const QString& t : targets)
                newBytes.push_back(ReadBytes(t));
            // Written by the writer alone, for comparing.
            const std::vector<QByteArray> fresh{WriteTreeFile(newSchematic.navigator()),
                                                WriteElementFile(newSchematic), WriteNetFile(newSchematic)};

            Schematic t;
            const TLoadResult r = Load(t, names);
            std::vector<QByteArray> after;
            for (const QString& target : targets)
                after.push_back(ReadBytes(target));
            // The commit journal is written in step 5: from there on the new set counts.
            const bool committed = stop > 5;
            EXPECT_EQ(after, committed ? fresh : oldBytes);
            if (committed) {
                ASSERT_TRUE(r.complete) << r.error.toStdString();
                EXPECT_EQ(t.Conns(), newSchematic.Conns());
                EXPECT_EQ(t.ElementCount(), newSchematic.ElementCount());
            } else if (hadOldSet) {
                ASSERT_TRUE(r.complete) << r.error.toStdString();
                EXPECT_EQ(t.Conns(), oldSchematic.Conns());
            } else {
                EXPECT_FALSE(r.complete);
                EXPECT_EQ(t.navigator().count(), 0);
            }
            const QStringList targetNames{"set.csv", "set.esv", "set.tsv"};
            EXPECT_EQ(FolderFiles(folder), committed || hadOldSet ? targetNames : QStringList());
            // Said in the log whenever the stopped save had left anything.
            const bool leftSomething = stop > 1 && stop <= Steps;
            EXPECT_EQ(r.recovery.size(), leftSomething ? 1 : 0) << r.recovery.join(u'\n').toStdString();
            if (leftSomething) {
                EXPECT_TRUE(r.log.contains(r.recovery.first()));
                EXPECT_TRUE(r.recovery.first().contains(committed ? QStringLiteral("на диске новая схема")
                                                                  : QStringLiteral("на диске прежняя схема")))
                    << r.recovery.first().toStdString();
            }
            (void)newBytes;
        }
    }
}

// A step that fails (an I/O error injected by the hook) leaves the old set and no leftover; a
// failure after the new set is in place (removing the old files) still saves, and the next open
// removes what stayed.
TEST_F(SchematicFiles, ASaveStepThatFailsLeavesTheOldSetOrTheNewOneAndNothingBehind) {
    Schematic oldSchematic, newSchematic;
    BuildTwoConnected(oldSchematic);
    BuildTwoChips(newSchematic);
    for (int failing = 1; failing <= 14; ++failing) {
        SCOPED_TRACE(testing::Message() << "step " << failing << " fails");
        const QString folder = dir.filePath(QString::number(failing));
        ASSERT_TRUE(QDir().mkpath(folder));
        const TSchematicFileNames names = SchematicFileNames(folder + QStringLiteral("/set.tsv"));
        ASSERT_EQ(SaveSchematicFiles(oldSchematic, names), QString());
        const QByteArray oldElements = ReadBytes(names.elements);
        QStringList log;
        const QString error = SaveSchematicFiles(newSchematic, names, &log, [&](int step) {
            return step == failing ? CommitHookAction::Fail : CommitHookAction::Go;
        });
        const bool saved = failing > 11;
        if (saved) {
            EXPECT_EQ(error, QString());
            EXPECT_EQ(log.size(), 1) << log.join(u'\n').toStdString();
            EXPECT_EQ(ReadBytes(names.elements), WriteElementFile(newSchematic));
        } else {
            EXPECT_TRUE(error.startsWith(failing == 1 || failing == 6 || failing == 7
                                             ? QStringLiteral("Cannot create file")
                                             : QStringLiteral("I/O error 5")))
                << error.toStdString();
            EXPECT_TRUE(
                error.endsWith(QStringLiteral("Схема не сохранена; файлы схемы на диске остались прежними.")))
                << error.toStdString();
            EXPECT_EQ(ReadBytes(names.elements), oldElements);
            EXPECT_EQ(FolderFiles(folder), (QStringList{"set.csv", "set.esv", "set.tsv"}));
        }
        Schematic t;
        const TLoadResult r = Load(t, names);
        EXPECT_TRUE(r.complete);
        EXPECT_EQ(t.Conns(), saved ? newSchematic.Conns() : oldSchematic.Conns());
        EXPECT_EQ(FolderFiles(folder), (QStringList{"set.csv", "set.esv", "set.tsv"}));
    }
}

// Regression: a recovery that could finish only some of the renames of an interrupted save undid
// the rest, and a target it had already overwritten kept the new content beside old ones. Wherever
// the save stopped and whichever rename of the recovery fails, the disk holds the old set or the
// new one, and nothing of the save is left.
TEST_F(SchematicFiles, ARecoveryThatCannotFinishPutsTheWholeOldSetBack) {
    Schematic oldSchematic, newSchematic;
    BuildTwoConnected(oldSchematic);
    BuildTwoChips(newSchematic);
    const std::vector<QByteArray> fresh{WriteTreeFile(newSchematic.navigator()),
                                        WriteElementFile(newSchematic), WriteNetFile(newSchematic)};
    // Stopped before the first rename of the save (step 6) up to after its last one (step 12).
    for (int stop = 6; stop <= 12; ++stop) {
        for (int failing = 1; failing <= 6; ++failing) {
            SCOPED_TRACE(testing::Message() << "stopped before step " << stop << ", rename " << failing
                                            << " of the recovery fails");
            const QString folder = dir.filePath(QStringLiteral("%1-%2").arg(stop).arg(failing));
            ASSERT_TRUE(QDir().mkpath(folder));
            const TSchematicFileNames names = SchematicFileNames(folder + QStringLiteral("/set.tsv"));
            const std::vector<QString> targets{names.tree, names.elements, names.nets};
            ASSERT_EQ(SaveSchematicFiles(oldSchematic, names), QString());
            std::vector<QByteArray> oldBytes;
            for (const QString& t : targets)
                oldBytes.push_back(ReadBytes(t));
            SaveSchematicFiles(newSchematic, names, nullptr, [stop](int step) {
                return step == stop ? CommitHookAction::Stop : CommitHookAction::Go;
            });

            int renames = 0;
            QStringList log;
            QString failure;
            ASSERT_TRUE(RecoverFileSet(targets, &log, &failure, [&](int rename) {
                renames = rename;
                return rename == failing ? CommitHookAction::Fail : CommitHookAction::Go;
            })) << failure.toStdString();
            std::vector<QByteArray> after;
            for (const QString& t : targets)
                after.push_back(ReadBytes(t));
            const bool failed = renames >= failing;
            EXPECT_EQ(after, failed ? oldBytes : fresh);
            ASSERT_FALSE(log.isEmpty());
            EXPECT_TRUE(log.last().contains(failed ? QStringLiteral("на диске прежняя схема")
                                                   : QStringLiteral("на диске новая схема")))
                << log.join(u'\n').toStdString();
            EXPECT_EQ(FolderFiles(folder), (QStringList{"set.csv", "set.esv", "set.tsv"}));
        }
    }
}

} // namespace

// SPDX-License-Identifier: MIT
// The runner on schematic file sets: loading with the catalogue, the load's messages, exit status.
#include "tests/common/batchfixture.h"
#include "tests/common/filebytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// "Переключатель1" and "Индикатор1" in Windows-1251.
const QByteArray Switch1 = "\xCF\xE5\xF0\xE5\xEA\xEB\xFE\xF7\xE0\xF2\xE5\xEB\xFC\x31";
const QByteArray Lamp1 = "\xC8\xED\xE4\xE8\xEA\xE0\xF2\xEE\xF0\x31";
const QByteArray Special = "\xD1\xEF\xE5\xF6. \xFD\xEB\xE5\xEC\xE5\xED\xF2\xFB";

class BatchSchematic : public BatchFixture {
protected:
    // An inverter of К155ЛН1 between a switch and an indicator, with `nets` as the net file.
    QString WriteSet(const QByteArray& nets, bool withNets = true) {
        Write("\xCA\x31\x35\x35\xCB\xCD\x31\r\n\tD1.1\r\n" + Special + "\r\n\t" + Switch1 + "\r\n\t" + Lamp1 +
                  "\r\n",
              QStringLiteral("set.tsv"));
        Write(Rec(20, 20, "D1.1") + Rec(5, 21, Switch1) + Rec(40, 21, Lamp1), QStringLiteral("set.esv"));
        if (withNets) Write(nets, QStringLiteral("set.csv"));
        return dir.filePath(QStringLiteral("set.tsv"));
    }
};

TEST_F(BatchSchematic, RunsALoadedFileSetWithTheSwitchesOff) {
    const QString set = WriteSet(Pin(2, 0) + Pin(1, 0) + Pin(0, 0) + Pin(1, 1) + Pin(3, 0) + Pin(0, 0));
    const BatchResult r = Call(&BatchRun, {set, QStringLiteral("--units"), QStringLiteral("30")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    // The switch is off, so the inverter's output rises 12 units after its first look at unit 1.
    EXPECT_EQ(r.out, u"Индикатор1 state: 1\nNetLevels: 0 1\nSimTime: 30\n");
}

TEST_F(BatchSchematic, DroppedReferencesAndAMissingNetFileAreReportedOnStandardError) {
    const QString set = WriteSet(Pin(2, 0) + Pin(7, 0) + Pin(1, 0) + Pin(0, 0) + Pin(3, 0) + Pin(0, 0));
    const BatchResult r = Call(&BatchRun, {set, QStringLiteral("--units"), QStringLiteral("30")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, u"Индикатор1 state: 0\nNetLevels: 0\nSimTime: 30\n");
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("tarnwell-batch: %1: ").arg(set)));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("элемента 7")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("Цепь 1 отброшена")));

    QFile::remove(dir.filePath(QStringLiteral("set.csv")));
    const BatchResult noNets = Call(&BatchRun, {set, QStringLiteral("--units"), QStringLiteral("1")});
    EXPECT_EQ(noNets.status, 0);
    // Each line of the message on a line of its own: the fault, the file, what was loaded.
    EXPECT_EQ(noNets.err, QStringLiteral("tarnwell-batch: %1: File not found\n"
                                         "tarnwell-batch: %1: Файл: %2\n"
                                         "tarnwell-batch: %1: Элементы размещены, цепи не загружены.\n")
                              .arg(set, dir.filePath(QStringLiteral("set.csv"))));
    EXPECT_EQ(noNets.out, u"Индикатор1 state: 0\nNetLevels:\nSimTime: 1\n");
    // Without nets the load ends before its routing: nothing but the grids' start.
    const BatchResult route = Call(&BatchRoute, {set});
    EXPECT_EQ(route.status, 0);
    EXPECT_EQ(route.out, QString());
}

// Regression: a chip the catalogue lacks left its element unplaced without a word, and the net
// file's numbers slid onto the next elements (the switch drove the lamp). The runner lists the
// element and why, as the program's box does, and its pins leave their nets.
TEST_F(BatchSchematic, AnElementThatCannotBePlacedIsListedOnStandardErrorAndKeepsItsPins) {
    const QString set = WriteSet(Pin(2, 0) + Pin(1, 0) + Pin(0, 0) + Pin(1, 1) + Pin(3, 0) + Pin(0, 0));
    Write("NOSUCH\r\n\tD1.1\r\n" + Special + "\r\n\t" + Switch1 + "\r\n\t" + Lamp1 + "\r\n",
          QStringLiteral("set.tsv"));
    const BatchResult r = Call(&BatchRun, {set, QStringLiteral("--units"), QStringLiteral("30")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // Two elements, no net: the switch is not wired to the lamp.
    EXPECT_EQ(r.out, u"Индикатор1 state: 0\nNetLevels:\nSimTime: 30\n");
    const QString prefix = QStringLiteral("tarnwell-batch: %1: ").arg(set);
    const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << r.err.toStdString();
    EXPECT_EQ(lines[0], prefix + QStringLiteral("Не размещены элементы схемы (1):"));
    EXPECT_TRUE(lines[1].startsWith(
        prefix + QStringLiteral("D1.1 (запись 1): Микросхема «NOSUCH» не найдена в каталоге; Файл: ")))
        << lines[1].toStdString();
    EXPECT_EQ(lines[2], prefix + QStringLiteral("Их выводы исключены из цепей. Если сохранить схему сейчас, "
                                                "этих элементов в её файлах не будет."));
    // Then the two pins of the element and the two nets left with one pin each.
    EXPECT_EQ(lines.mid(3).filter(QStringLiteral("элемент не размещён")).size(), 2) << r.err.toStdString();
}

TEST_F(BatchSchematic, RouteMatchesTheNetlistOfTheSameCircuit) {
    const QString examples = QStringLiteral(TARNWELL_EXAMPLES);
    for (const char* name : {"rs_latch", "half_adder"}) {
        const BatchResult set =
            Call(&BatchRoute, {examples + u'/' + QString::fromLatin1(name) + QStringLiteral(".tsv")});
        const BatchResult net =
            Call(&BatchRoute, {examples + u'/' + QString::fromLatin1(name) + QStringLiteral(".net")});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_FALSE(set.out.isEmpty());
        EXPECT_EQ(set.out, net.out) << name;
    }
}

// Regression: the runner wrote a table into an empty catalogue file it was only asked to read, and
// called a folder in a file's place "missing". It opens the catalogue read-only and names the file
// and the fault of anything that is no readable catalogue, leaving the folder as it was.
TEST_F(BatchSchematic, ACatalogueThatCannotBeReadIsRefusedByNameAndLeftAlone) {
    struct Case {
        const char* name;
        void (*breakIt)(const QString& file);
        const char* fault;
    };
    const Case cases[] = {
        {"empty", [](const QString& f) { QFile(f).open(QIODevice::WriteOnly | QIODevice::Truncate); },
         "Файл пуст: в нём нет таблицы microchips"},
        {"folder",
         [](const QString& f) {
             QFile::remove(f);
             QDir().mkdir(f);
         },
         "Это папка, а не файл каталога"},
        {"no database",
         [](const QString& f) {
             QFile file(f);
             file.open(QIODevice::WriteOnly | QIODevice::Truncate);
             file.write(QByteArray("Mark;Type\n").repeated(100));
         },
         "file is not a database"},
    };
    const QString set = WriteSet(Pin(2, 0) + Pin(1, 0) + Pin(0, 0));
    const QDir staged(QCoreApplication::applicationDirPath() + QStringLiteral("/bases"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bases = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(QDir().mkpath(bases));
        for (const QString& f : staged.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(staged.filePath(f), QDir(bases).filePath(f)));
        const QString chips = QDir(bases).filePath(QStringLiteral("microchips.db"));
        c.breakIt(chips);
        const auto snapshot = [&bases] {
            QStringList files;
            for (const QFileInfo& info : QDir(bases).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
                files << info.fileName() + u':' + QString::number(info.isDir() ? -1 : info.size());
            return files;
        };
        const QStringList before = snapshot();
        const BatchResult r = Call(&BatchRun, {set, QStringLiteral("--units"), QStringLiteral("1"),
                                               QStringLiteral("--bases"), bases});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, QString());
        const QString prefix = QStringLiteral("tarnwell-batch: cannot open the catalogue in %1: ").arg(bases);
        EXPECT_TRUE(r.err.startsWith(prefix + QStringLiteral("Не удалось открыть таблицу %1.\n").arg(chips)))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(prefix + QString::fromUtf8(c.fault))) << r.err.toStdString();
        EXPECT_EQ(snapshot(), before);
    }
}

} // namespace

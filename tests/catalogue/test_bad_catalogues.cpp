// SPDX-License-Identifier: MIT
// Broken catalogue files: the program starts, says which file and which record is wrong, places
// nothing from a broken record and writes none of the files.
#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"
#include "tests/catalogue/catalogue_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

const QString Pictures = QStringLiteral("elements_images.db");
const QString Elements = QStringLiteral("elements.db");
const QString Chips = QStringLiteral("microchips.db");

void Overwrite(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray PngOf(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

// Every file of a folder with its bytes.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile f(info.filePath());
        if (f.open(QIODevice::ReadOnly)) files[info.fileName()] = f.readAll();
    }
    return files;
}

struct BadCase {
    const char* name;
    std::function<void(const QString& bases)> breakIt;
    // Start-up: the file whose table cannot open and the reason; empty when it opens.
    QString startupFile;
    QString startupReason;
    // Placing K1: the first line of the refusal, the file and the record it names.
    QString refusal;
    QString file;
    QString record;
};

class BadCatalogue : public ::testing::TestWithParam<BadCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        bases = dir.filePath(QStringLiteral("bases"));
        ASSERT_TRUE(QDir().mkpath(bases));
        WriteCatalogue(bases, {{"P", 40, 50}}, {{"INV", "P", "0110", "0001"}}, {{"K1", "t", "INV", 1}});
        ExecOn(QDir(bases).filePath(Chips), {"UPDATE microchips SET React_Time_LH = 11, React_Time_HL = 7"});
    }
    QTemporaryDir dir;
    QString bases;
};

TEST_P(BadCatalogue, StartsSaysWhatIsWrongPlacesNothingAndWritesNoFile) {
    const BadCase& c = GetParam();
    c.breakIt(bases);
    const std::map<QString, QByteArray> before = Snapshot(bases);

    {
        MessageCollector messages;
        TForm1 form1(dir.path());
        form1.CreateWindows();
        form1.show();
        QApplication::processEvents();
        if (c.startupFile.isEmpty()) {
            EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();
        } else {
            ASSERT_EQ(messages.texts.size(), 1) << messages.texts.join(QLatin1Char('\n')).toStdString();
            const QString text = messages.texts.first();
            EXPECT_TRUE(text.contains(QDir(bases).filePath(c.startupFile))) << text.toStdString();
            EXPECT_TRUE(text.contains(c.startupReason)) << text.toStdString();
        }
        messages.texts.clear();

        QStandardItem* chip = form1.model().ListChip(QStringLiteral("K1"), 1);
        form1.NavPanel->TreeView1->setCurrentIndex(form1.NavPanel->viewIndex(chip->child(0)));
        form1.TreeView1DblClick();
        QApplication::processEvents();
        EXPECT_EQ(form1.model().ElementCount(), 0);
        EXPECT_EQ(Navigator::imageIndex(chip->child(0)), Navigator::ImageListed);
        ASSERT_EQ(messages.texts.size(), 1);
        const QStringList lines = messages.texts.first().split(QLatin1Char('\n'));
        EXPECT_TRUE(lines.value(0).startsWith(c.refusal)) << lines.value(0).toStdString();
        EXPECT_EQ(lines.value(1), QStringLiteral("Файл: ") + QDir(bases).filePath(c.file));
        EXPECT_EQ(lines.value(2), c.record.isEmpty() ? QString() : QStringLiteral("Запись: ") + c.record);
        form1.close();
    }

    const std::map<QString, QByteArray> after = Snapshot(bases);
    ASSERT_EQ(after.size(), before.size()) << "no file comes or goes";
    for (const auto& [name, bytes] : before)
        EXPECT_TRUE(after.at(name) == bytes) << name.toStdString() << " was modified";
}

void SetPicture(const QString& bases, const QByteArray& bytes) {
    ExecOn(QDir(bases).filePath(Pictures), {"UPDATE elements_images SET Image = ?"}, {{bytes}});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCatalogue,
    ::testing::Values(
        BadCase{"chips_file_not_sqlite",
                [](const QString& b) {
                    Overwrite(QDir(b).filePath(Chips), QByteArray("Mark;Type\nK1;t\n").repeated(200));
                },
                Chips, "file is not a database", "Каталог не открыт", Chips, ""},
        BadCase{
            "elements_file_without_its_table",
            [](const QString& b) { ExecAll(QDir(b).filePath(Elements), {"CREATE TABLE other(Name TEXT)"}); },
            Elements, "В файле нет таблицы elements", "Каталог не открыт", Elements, ""},
        BadCase{"elements_without_script_column",
                [](const QString& b) {
                    ExecOn(QDir(b).filePath(Elements), {"ALTER TABLE elements DROP COLUMN Script"});
                },
                Elements, "В таблице elements нет столбца Script", "Каталог не открыт", Elements, ""},
        BadCase{
            "picture_column_of_another_type",
            [](const QString& b) {
                ExecAll(QDir(b).filePath(Pictures),
                        {"CREATE TABLE elements_images(Name TEXT NOT NULL PRIMARY KEY, Image INTEGER)",
                         "INSERT INTO elements_images VALUES ('P', 5)"});
            },
            Pictures,
            "Столбец Image таблицы elements_images имеет тип INTEGER, а должен хранить изображение (BLOB)",
            "Каталог не открыт", Pictures, ""},
        BadCase{"delay_column_of_another_type",
                [](const QString& b) {
                    ExecAll(QDir(b).filePath(Chips),
                            {"CREATE TABLE microchips(Mark TEXT NOT NULL, Type TEXT NOT NULL DEFAULT '', "
                             "Elem_Count REAL, Legs_Count REAL, Elem_name TEXT NOT NULL DEFAULT '', "
                             "Image_name TEXT NOT NULL DEFAULT '', React_Time_LH BLOB, React_Time_HL REAL, "
                             "Power REAL, Voltage REAL, Low_voltage REAL, High_voltage REAL)"});
                },
                Chips,
                "Столбец React_Time_LH таблицы microchips имеет тип BLOB, а должен хранить число (REAL)",
                "Каталог не открыт", Chips, ""},
        // Regression: a file cut in its last page opened without a word though an index lost rows.
        BadCase{"chips_cut_in_its_last_page",
                [](const QString& b) {
                    QFile f(QDir(b).filePath(Chips));
                    ASSERT_TRUE(f.resize(f.size() - 1));
                },
                Chips, "Файл повреждён (проверка целостности: ", "Каталог не открыт", Chips, ""},
        BadCase{"picture_not_a_bmp", [](const QString& b) { SetPicture(b, PngOf(40, 50)); }, "", "",
                "Изображение «P» элемента INV: изображение не является рисунком BMP", Pictures, "Name «P»"},
        BadCase{"picture_cut_short", [](const QString& b) { SetPicture(b, BmpOf(40, 50).left(300)); }, "", "",
                "Изображение «P» элемента INV: рисунок BMP обрезан (300 байт)", Pictures, "Name «P»"},
        BadCase{"picture_larger_than_the_workspace", [](const QString& b) { SetPicture(b, BmpOf(2020, 50)); },
                "", "",
                "Изображение «P» элемента INV: рисунок BMP больше рабочего поля (2020 × 50, не более 2010 × "
                "2010)",
                Pictures, "Name «P»"},
        BadCase{"picture_empty", [](const QString& b) { SetPicture(b, QByteArray()); }, "", "",
                "Изображение «P» элемента INV: изображение пусто", Pictures, "Name «P»"},
        BadCase{"text_in_a_delay",
                [](const QString& b) {
                    ExecOn(QDir(b).filePath(Chips), {"UPDATE microchips SET React_Time_HL = '7 нс'"});
                },
                "", "", "'7 нс' is not a valid integer value", Chips,
                "Mark «K1», Type «t», поле React_Time_HL"},
        BadCase{"type_without_picture_name",
                [](const QString& b) {
                    ExecOn(QDir(b).filePath(Elements), {"UPDATE elements SET Image_Name = ''"});
                },
                "", "", "У элемента INV не указано изображение (Image_Name)", Elements, "Name «INV»"},
        BadCase{"type_naming_no_picture",
                [](const QString& b) {
                    ExecOn(QDir(b).filePath(Elements), {"UPDATE elements SET Image_Name = 'Q'"});
                },
                "", "", "Изображение «Q» элемента INV не найдено", Elements, "Name «INV»"},
        BadCase{"define_longer_than_the_picture_allows",
                [](const QString& b) {
                    ExecOn(QDir(b).filePath(Elements), {"UPDATE elements SET Ext_Define = '00001'"});
                },
                "", "",
                "Строка выводов Ext_Define «00001» элемента INV длиннее, чем позволяет изображение «P» "
                "высотой 50 "
                "пикселей (не более 4 знаков)",
                Elements, "Name «INV»"}),
    [](const auto& info) { return std::string(info.param.name); });

// The good catalogue of the fixture places its chip: the refusals above come from the breakage.
TEST_F(BadCatalogue, UnbrokenCataloguePlaces) {
    Catalogue catalogue(bases);
    ASSERT_EQ(catalogue.openPictures(), QString());
    ASSERT_EQ(catalogue.openElements(), QString());
    ASSERT_EQ(catalogue.openChips(), QString());
    TPlacementData data;
    QString error;
    EXPECT_TRUE(LookUpChipElement(catalogue, QStringLiteral("K1"), &data, &error)) << error.toStdString();
    EXPECT_EQ(data.rightPins, QStringLiteral("0001"));
}

} // namespace

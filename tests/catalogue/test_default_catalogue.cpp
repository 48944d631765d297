// SPDX-License-Identifier: MIT
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/dbimage.h"
#include "catalogue/elementchooser.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/elementswindow.h"
#include "catalogue/fields.h"
#include "catalogue/markingdialog.h"
#include "catalogue/picturechooser.h"
#include "catalogue/picturenamedialog.h"
#include "catalogue/pictureswindow.h"
#include "model/schematic.h"
#include "tests/catalogue/catalogue_fixture.h"
#include "ui/windowregistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

namespace {

// The catalogue staged beside the executables, copied so the tests never change it.
class DefaultCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        const QDir staged(QCoreApplication::applicationDirPath() + QStringLiteral("/bases"));
        for (const QString& f : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile})
            ASSERT_TRUE(QFile::copy(staged.filePath(f), dir.filePath(f))) << f.toStdString();
        ASSERT_EQ(cat.openElements(), QString());
        ASSERT_EQ(cat.openPictures(), QString());
        ASSERT_EQ(cat.openChips(), QString());
    }
    QTemporaryDir dir;
    Catalogue cat{dir.path()};
};

int darkPixels(const QImage& img, QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(img.pixel(x, y)) < 100;
    return n;
}

TEST_F(DefaultCatalogue, EveryExpressionHasAGatePictureWithLeadsAtItsPinRows) {
    QStringList expressions;
    for (cat.elements().first();; cat.elements().next()) {
        const QString script = cat.elements().text(ElementField::Script).split(QLatin1Char('\n')).first();
        expressions << script.mid(2);
        // The chain made the element's picture current.
        ASSERT_EQ(cat.pictures().text(PictureField::Name), cat.elements().text(ElementField::ImageName));
        const QImage img = QImage::fromData(cat.pictures().value(PictureField::Image).toByteArray());
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.width() % 10, 0);
        EXPECT_EQ(img.height() % 10, 0);
        const QString in = cat.elements().text(ElementField::IntDefine);
        const QString out = cat.elements().text(ElementField::ExtDefine);
        EXPECT_LE(in.size(), img.height() / 10 - 1);
        EXPECT_LE(out.size(), img.height() / 10 - 1);
        // A lead on the edge exactly at every "1" row, none at the other rows.
        for (int i = 1; i <= img.height() / 10 - 1; ++i) {
            EXPECT_EQ(qGray(img.pixel(1, 10 * i)) < 100, in.mid(i - 1, 1) == QLatin1String("1"))
                << expressions.last().toStdString() << " input row " << i;
            EXPECT_EQ(qGray(img.pixel(img.width() - 2, 10 * i)) < 100,
                      out.mid(i - 1, 1) == QLatin1String("1"))
                << expressions.last().toStdString() << " output row " << i;
        }
        // The bottom 20 rows are left for the designator.
        EXPECT_EQ(darkPixels(img, QRect(0, img.height() - 20, img.width(), 20)), 0);
        if (cat.elements().row() == cat.elements().count() - 1) break;
    }
    EXPECT_EQ(expressions, (QStringList{"~1", "1+2", "1&2", "~1+~2", "~1&~2", "1+2+3+4", "1&2&3&4",
                                        "~1+~2+~3+~4+~5+~6+~7+~8"}));
}

TEST_F(DefaultCatalogue, ChipsCarryTheirDelaysAndElementCounts) {
    struct Chip {
        const char* mark;
        const char* typePrefix;
        const char* element;
        int count;
        int lh;
        int hl;
    };
    const Chip chips[] = {
        {"К155ЛА3", "SN7400,", "2И-НЕ", 4, 11, 7},      {"К155ЛЕ1", "SN7402,", "2ИЛИ-НЕ", 4, 12, 8},
        {"К155ЛН1", "SN7404,", "НЕ", 6, 12, 8},         {"К155ЛИ1", "SN7408,", "2И", 4, 18, 12},
        {"К155ЛЛ1", "SN7432,", "2ИЛИ", 4, 10, 14},      {"К155ЛИ6", "SN7421,", "4И", 2, 18, 12},
        {"К155ЛА2", "SN7430,", "8И-НЕ", 1, 13, 8},      {"К555ЛА3", "SN74LS00,", "2И-НЕ", 4, 9, 10},
        {"К555ЛЕ1", "SN74LS02,", "2ИЛИ-НЕ", 4, 10, 10}, {"К555ЛН1", "SN74LS04,", "НЕ", 6, 9, 10},
        {"К555ЛИ1", "SN74LS08,", "2И", 4, 8, 10},       {"К555ЛЛ1", "SN74LS32,", "2ИЛИ", 4, 14, 14},
        {"CD4072B", "CD4072B,", "4ИЛИ", 2, 125, 125}};
    EXPECT_EQ(cat.chips().count(), static_cast<int>(std::size(chips)));
    for (const Chip& c : chips) {
        ASSERT_TRUE(cat.chips().locate(ChipField::Mark, QString::fromUtf8(c.mark))) << c.mark;
        EXPECT_TRUE(cat.chips().text(ChipField::Type).startsWith(QString::fromUtf8(c.typePrefix))) << c.mark;
        EXPECT_EQ(cat.elements().text(ElementField::Name), QString::fromUtf8(c.element)) << c.mark;
        EXPECT_EQ(cat.chips().number(ChipField::ElemCount), c.count) << c.mark;
        EXPECT_EQ(cat.chips().number(ChipField::LegsCount), 14) << c.mark;
        EXPECT_EQ(cat.chips().text(ChipField::ReactTimeLH), QString::number(c.lh)) << c.mark;
        EXPECT_EQ(cat.chips().text(ChipField::ReactTimeHL), QString::number(c.hl)) << c.mark;
    }
}

// Grabs the four main catalogue windows on the default catalogue; with TARNWELL_SHOT_DIR set the
// pictures are also saved there.
TEST(DefaultCatalogueWindows, ShowTheGatePictures) {
    QTemporaryDir dir;
    const QDir staged(QCoreApplication::applicationDirPath() + QStringLiteral("/bases"));
    for (const QString& f : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile})
        ASSERT_TRUE(QFile::copy(staged.filePath(f), dir.filePath(f)));
    Schematic model;
    CatalogueUi ui(dir.path(), ListInto(model));
    new TForm6(ui);
    new TForm7(ui);
    new TForm8(ui);
    new TForm5(ui);
    new TForm9(ui);
    new TForm10(ui);
    new TForm11(ui);
    new TForm12(ui);
    new TForm13(ui);
    new TForm14(ui);
    ui.catalogue().chips().locate(ChipField::Mark, QStringLiteral("К155ЛА3"));
    const QImage gate = ui.windows().get<TForm5>()->DBImage1->image();
    ASSERT_FALSE(gate.isNull());
    EXPECT_GT(darkPixels(gate, gate.rect()), 100);
    EXPECT_EQ(ui.windows().get<TForm7>()->DBEdit1->text(), QStringLiteral("101"));
    EXPECT_EQ(ui.windows().get<TForm10>()->DBEdit4->text(), QStringLiteral("11"));

    const QString out = qEnvironmentVariable("TARNWELL_SHOT_DIR");
    const std::pair<QWidget*, const char*> shots[] = {{ui.windows().get<TForm5>(), "pictures"},
                                                      {ui.windows().get<TForm7>(), "elements"},
                                                      {ui.windows().get<TForm10>(), "chips"},
                                                      {ui.windows().get<TForm13>(), "add-chip"}};
    for (const auto& [w, name] : shots) {
        w->show();
        const QImage shot = w->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        if (!out.isEmpty())
            shot.save(QDir(out).filePath(QStringLiteral("catalogue-%1.png").arg(QString::fromLatin1(name))));
        w->hide();
    }
    // The elements window's preview is the gate with red pin marks on it.
    const QImage preview = ui.windows().get<TForm7>()->Preview;
    int red = 0;
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x)
            red += qRed(preview.pixel(x, y)) > 200 && qGreen(preview.pixel(x, y)) < 60;
    EXPECT_GT(red, 10);
}

} // namespace

// SPDX-License-Identifier: MIT
// What placing a chip element reads from the catalogue, and the refusals when a datum is missing.
#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"
#include "tests/catalogue/catalogue_fixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LookupCase {
    const char* name;
    const char* mark;
    const char* error; // empty when the lookup succeeds
};

class ChipLookup : public ::testing::TestWithParam<LookupCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteCatalogue(dir.path(), {{"P", 40, 50}}, {{"INV", "P", "0110", "0001"}, {"NOPIC", "Q"}},
                       {{"K1", "t", "INV", 4},
                        {"K2", "t", "MISSING", 1},
                        {"K3", "t", "NOPIC", 1},
                        {"K4", "t", "INV", 1},
                        {"K5", "t", "INV", 1},
                        {"K6", "t", "INV", 1},
                        {"K7", "t", "INV", 1}});
        ExecOn(QDir(dir.path()).filePath(QStringLiteral("microchips.db")),
               {"UPDATE microchips SET React_Time_LH = 11, React_Time_HL = 7",
                "UPDATE microchips SET React_Time_HL = 'abc' WHERE Mark = 'K4'",
                "UPDATE microchips SET React_Time_LH = NULL WHERE Mark = 'K5'",
                "UPDATE microchips SET React_Time_LH = -3 WHERE Mark = 'K6'",
                "UPDATE microchips SET React_Time_HL = 11.5 WHERE Mark = 'K7'"});
        catalogue = std::make_unique<Catalogue>(dir.path());
        ASSERT_TRUE(catalogue->openPictures().isEmpty());
        ASSERT_TRUE(catalogue->openElements().isEmpty());
        ASSERT_TRUE(catalogue->openChips().isEmpty());
    }
    QTemporaryDir dir;
    std::unique_ptr<Catalogue> catalogue;
};

TEST_P(ChipLookup, ReadsTheChainOrRefusesWithAMessage) {
    const LookupCase& c = GetParam();
    TPlacementData data;
    data.reactionLH = -1;
    QString error;
    const bool ok = LookUpChipElement(*catalogue, QString::fromUtf8(c.mark), &data, &error);
    // The first line says what is wrong; the lines after it name the file and the record.
    EXPECT_EQ(error.section(QLatin1Char('\n'), 0, 0), QString::fromUtf8(c.error));
    EXPECT_EQ(ok, error.isEmpty());
    if (!ok) {
        EXPECT_EQ(data.reactionLH, -1) << "nothing is handed out on a refusal";
        return;
    }
    EXPECT_EQ(data.picture.size(), QSize(40, 50));
    EXPECT_EQ(data.leftPins, QStringLiteral("0110"));
    EXPECT_EQ(data.rightPins, QStringLiteral("0001"));
    EXPECT_EQ(data.script, QStringList{QStringLiteral("Y=1&2")});
    EXPECT_EQ(data.reactionLH, 11);
    EXPECT_EQ(data.reactionHL, 7);
}

INSTANTIATE_TEST_SUITE_P(
    Chips, ChipLookup,
    ::testing::Values(LookupCase{"found", "K1", ""},
                      LookupCase{"no_chip", "K9", "Микросхема «K9» не найдена в каталоге"},
                      LookupCase{"no_element_type", "K2",
                                 "Элемент «MISSING» микросхемы K2 не найден в каталоге элементов"},
                      LookupCase{"no_picture", "K3", "Изображение «Q» элемента NOPIC не найдено"},
                      LookupCase{"text_delay", "K4", "'abc' is not a valid integer value"},
                      LookupCase{"empty_delay", "K5", "'' is not a valid integer value"},
                      LookupCase{"negative_delay", "K6", "Задержка -3 вне допустимых пределов 0..2147483647"},
                      LookupCase{"fraction_delay", "K7", "'11.5' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

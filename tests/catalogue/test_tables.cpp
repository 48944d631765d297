// SPDX-License-Identifier: MIT
#include "catalogue/catalogue.h"
#include "catalogue/fields.h"
#include "tests/catalogue/catalogue_fixture.h"

#include <QSignalSpy>
#include <QSqlRecord>

namespace {

class Tables : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteSmallCatalogue(dir.path());
    }
    // Opens in start-up order: elements, pictures, chips.
    void openAll() {
        ASSERT_EQ(cat.openElements(), QString());
        ASSERT_EQ(cat.openPictures(), QString());
        ASSERT_EQ(cat.openChips(), QString());
    }
    QTemporaryDir dir;
    Catalogue cat{dir.path()};
};

TEST(TablesCreate, MissingFilesAreCreatedEmptyWithTheirIndexes) {
    QTemporaryDir dir;
    Catalogue cat(dir.filePath(QStringLiteral("bases")));
    ASSERT_EQ(cat.openElements(), QString());
    ASSERT_EQ(cat.openPictures(), QString());
    ASSERT_EQ(cat.openChips(), QString());
    EXPECT_EQ(cat.chips().count(), 0);
    EXPECT_EQ(cat.chips().row(), -1);
    EXPECT_EQ(cat.chips().text(ChipField::Mark), QString());

    auto columns = [](CatalogueTable& t) {
        QStringList names;
        for (int i = 0; i < t.model()->columnCount(); ++i)
            names << t.model()->record().fieldName(i);
        return names.join(QLatin1Char(','));
    };
    EXPECT_EQ(columns(cat.pictures()), QStringLiteral("Name,Image"));
    EXPECT_EQ(columns(cat.elements()), QStringLiteral("Name,Int_Define,Ext_Define,Image_Name,Script"));
    EXPECT_EQ(columns(cat.chips()), QStringLiteral("Mark,Type,Elem_Count,Legs_Count,Elem_name,Image_name,"
                                                   "React_Time_LH,React_Time_HL,Power,Voltage,Low_voltage,"
                                                   "High_voltage"));
    // The index names of the file format.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
    db.setDatabaseName(dir.filePath(QStringLiteral("bases/microchips.db")));
    ASSERT_TRUE(db.open());
    QSqlQuery q(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL ORDER BY name"),
        db);
    QStringList indexes;
    while (q.next())
        indexes << q.value(0).toString();
    EXPECT_EQ(indexes, (QStringList{QStringLiteral("Mark"), QStringLiteral("Type")}));
    q.clear();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
}

TEST(TablesCreate, UnopenableFileReportsTheEngineErrorAndStaysClosed) {
    QTemporaryDir dir;
    // A folder where the table file should be: the engine cannot open it.
    QDir(dir.path()).mkpath(QStringLiteral("microchips.db"));
    Catalogue cat(dir.path());
    const QString error = cat.openChips();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(cat.chips().isOpen());
    EXPECT_EQ(cat.chips().count(), 0);
    cat.chips().first(); // harmless on a closed table
    EXPECT_FALSE(cat.chips().append(QStringLiteral("X")).isEmpty());
}

TEST_F(Tables, ChipMoveMakesItsElementAndPictureCurrent) {
    openAll();
    CatalogueTable& chips = cat.chips();
    struct Case {
        int chipRow;
        QString element;
        QString picture;
    };
    for (const Case& c : {Case{0, "OR", "C"}, Case{1, "AND", "B"}, Case{2, "NOT", "A"}, Case{0, "OR", "C"}}) {
        chips.setRow(c.chipRow);
        EXPECT_EQ(cat.elements().text(ElementField::Name), c.element) << c.chipRow;
        EXPECT_EQ(cat.pictures().text(PictureField::Name), c.picture) << c.chipRow;
    }
}

TEST_F(Tables, NameMatchingNothingLeavesTheLastRecordCurrent) {
    openAll();
    cat.chips().setField(ChipField::ElemName, QStringLiteral("nothing"));
    ASSERT_EQ(cat.chips().post(), QString());
    cat.chips().first();
    EXPECT_EQ(cat.elements().row(), cat.elements().count() - 1);
    EXPECT_EQ(cat.elements().text(ElementField::Name), QStringLiteral("NOT"));
    // and NOT's picture follows
    EXPECT_EQ(cat.pictures().text(PictureField::Name), QStringLiteral("A"));
    // An element naming no picture: the pictures table ends on its last record ("C" by name).
    cat.elements().setField(ElementField::ImageName, QStringLiteral("gone"));
    ASSERT_EQ(cat.elements().post(), QString());
    cat.elements().first();
    cat.elements().setRow(2);
    EXPECT_EQ(cat.pictures().text(PictureField::Name), QStringLiteral("C"));
}

TEST_F(Tables, ElementsOpenedBeforePicturesDoNotTouchThePicturesTable) {
    ASSERT_EQ(cat.openElements(), QString());
    cat.elements().setRow(2);
    EXPECT_FALSE(cat.pictures().isOpen());
    ASSERT_EQ(cat.openPictures(), QString());
    ASSERT_EQ(cat.openChips(), QString()); // runs the chain for the first chip
    EXPECT_EQ(cat.elements().text(ElementField::Name), QStringLiteral("OR"));
    EXPECT_EQ(cat.pictures().text(PictureField::Name), QStringLiteral("C"));
}

TEST_F(Tables, AfterScrollOnMovesOpenAndDeleteButNotAppendOrStayingAtTheEnd) {
    ASSERT_EQ(cat.openElements(), QString());
    CatalogueTable& t = cat.elements();
    QSignalSpy spy(&t, &CatalogueTable::afterScroll);
    t.next();
    EXPECT_EQ(spy.count(), 1);
    t.next();
    t.next(); // at the last record: stays, no event
    EXPECT_EQ(t.row(), 2);
    EXPECT_EQ(spy.count(), 2);
    ASSERT_EQ(t.append(QStringLiteral("XOR")), QString());
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(t.text(ElementField::Name), QStringLiteral("XOR"));
    EXPECT_EQ(t.text(ElementField::IntDefine), QString());
    ASSERT_EQ(t.remove(), QString());
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(t.count(), 3);
    EXPECT_EQ(t.text(ElementField::Name), QStringLiteral("NOT")); // the new last record
    t.first();
    ASSERT_EQ(t.remove(), QString());
    EXPECT_EQ(t.text(ElementField::Name), QStringLiteral("OR")); // the following record

    // Opening a non-empty table scrolls; an empty one does not.
    QTemporaryDir empty;
    Catalogue other(empty.path());
    QSignalSpy spyEmpty(&other.chips(), &CatalogueTable::afterScroll);
    ASSERT_EQ(other.openChips(), QString());
    EXPECT_EQ(spyEmpty.count(), 0);
    QSignalSpy spyFull(&cat.chips(), &CatalogueTable::afterScroll);
    ASSERT_EQ(cat.openChips(), QString());
    EXPECT_EQ(spyFull.count(), 1);
}

TEST_F(Tables, FieldsByNameIgnoreCaseAndNumbersRound) {
    struct Case {
        QVariant stored;
        int expected;
    };
    const Case cases[] = {
        {4, 4},          {2.4, 2},         {2.6, 3},          {-1.6, -2},
        {QVariant(), 0}, {QString(""), 0}, {QString("7"), 7}, {1e12, std::numeric_limits<int>::max()}};
    QList<SeedChip> chips;
    int i = 0;
    for (const Case& c : cases)
        chips << SeedChip{QStringLiteral("M%1").arg(i++), "", "AND", c.stored};
    WriteCatalogue(dir.path(), {}, {}, chips);
    ASSERT_EQ(cat.openChips(), QString());
    CatalogueTable& t = cat.chips();
    for (int r = 0; r < t.count(); ++r) {
        t.setRow(r);
        EXPECT_EQ(t.number(QStringLiteral("Elem_count")), cases[r].expected) << r;
        EXPECT_EQ(t.number(QStringLiteral("ELEM_COUNT")), cases[r].expected) << r;
    }
    EXPECT_EQ(t.text(QStringLiteral("mark")), t.text(ChipField::Mark));
    EXPECT_EQ(t.fieldIndex(QStringLiteral("no such field")), -1);
    EXPECT_EQ(t.text(QStringLiteral("no such field")), QString());
}

TEST_F(Tables, OrderingKeepsTheCurrentRecordAndChangesFirst) {
    WriteCatalogue(dir.path(), {}, {}, {{"B2", "a", "", 1}, {"A1", "c", "", 1}, {"C3", "b", "", 1}});
    ASSERT_EQ(cat.openChips(), QString());
    CatalogueTable& t = cat.chips();
    EXPECT_EQ(t.text(ChipField::Mark), QStringLiteral("A1")); // primary key order
    t.setRow(2);
    EXPECT_EQ(t.text(ChipField::Mark), QStringLiteral("C3"));
    ASSERT_EQ(t.orderBy(ChipField::Type), QString());
    EXPECT_EQ(t.text(ChipField::Mark), QStringLiteral("C3"));
    EXPECT_EQ(t.row(), 1);
    t.first();
    EXPECT_EQ(t.text(ChipField::Mark), QStringLiteral("B2"));
    ASSERT_EQ(t.orderBy(ChipField::Mark), QString());
    t.first();
    EXPECT_EQ(t.text(ChipField::Mark), QStringLiteral("A1"));
}

TEST_F(Tables, KeyViolationsReportTheEngineTextAndChangeNothing) {
    openAll();
    CatalogueTable& chips = cat.chips();
    ASSERT_EQ(chips.append(QStringLiteral("NEW")), QString());
    EXPECT_EQ(chips.text(ChipField::Mark), QStringLiteral("NEW"));
    EXPECT_EQ(chips.text(ChipField::Type), QString());
    const int count = chips.count();
    const QString error = chips.append(QStringLiteral("NEW"));
    EXPECT_TRUE(error.contains(QStringLiteral("UNIQUE"))) << error.toStdString();
    EXPECT_EQ(chips.count(), count);

    // Renaming an element onto an existing name: the post fails and the record keeps its name.
    CatalogueTable& elements = cat.elements();
    elements.first();
    elements.setField(ElementField::Name, QStringLiteral("OR"));
    EXPECT_FALSE(elements.post().isEmpty());
    EXPECT_FALSE(elements.isDirty());
    EXPECT_EQ(elements.text(ElementField::Name), QStringLiteral("AND"));
}

TEST_F(Tables, EditsAreStoredInTheFileByPostOrByMoving) {
    openAll();
    cat.elements().first();
    cat.elements().setField(ElementField::IntDefine, QStringLiteral("111"));
    ASSERT_EQ(cat.elements().post(), QString());
    cat.elements().setRow(1);
    cat.elements().setField(ElementField::Script, QStringLiteral("Y=1+2\nsecond"));
    cat.elements().setRow(2); // moving stores the pending edit
    Catalogue again(dir.path());
    ASSERT_EQ(again.openElements(), QString());
    EXPECT_EQ(again.elements().text(ElementField::IntDefine), QStringLiteral("111"));
    again.elements().setRow(1);
    EXPECT_EQ(again.elements().text(ElementField::Script), QStringLiteral("Y=1+2\nsecond"));
}

} // namespace

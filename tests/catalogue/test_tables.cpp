// SPDX-License-Identifier: MIT
#include "catalogue/catalogue.h"
#include "catalogue/fields.h"
#include "tests/catalogue/catalogue_fixture.h"

#include <QSignalSpy>
#include <QSqlRecord>

#include <vector>

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

TEST_F(Tables, KeyViolationsSayWhatClashedThenTheEngineTextAndChangeNothing) {
    openAll();
    CatalogueTable& chips = cat.chips();
    ASSERT_EQ(chips.append(QStringLiteral("К155ЛА3")), QString());
    EXPECT_EQ(chips.text(ChipField::Mark), QStringLiteral("К155ЛА3"));
    EXPECT_EQ(chips.text(ChipField::Type), QString());
    const int count = chips.count();
    QString error = chips.append(QStringLiteral("К155ЛА3"));
    EXPECT_EQ(error.section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("Микросхема К155ЛА3 с таким типом уже есть"));
    EXPECT_TRUE(error.section(QLatin1Char('\n'), 1).contains(QStringLiteral("UNIQUE")))
        << error.toStdString();
    EXPECT_EQ(chips.count(), count);

    error = cat.pictures().append(QStringLiteral("B"));
    EXPECT_EQ(error.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Картинка с именем «B» уже есть"));
    EXPECT_EQ(cat.pictures().count(), 3);

    // Renaming an element onto an existing name: the post fails, nothing is stored, and the typed
    // name stays in edit, to be corrected or cancelled.
    CatalogueTable& elements = cat.elements();
    elements.first();
    elements.setField(ElementField::Name, QStringLiteral("OR"));
    error = elements.post();
    EXPECT_EQ(error.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Элемент с именем «OR» уже есть"));
    EXPECT_EQ(error.section(QLatin1Char('\n'), -1),
              QStringLiteral("Изменения не сохранены: введённые значения остались в окне."));
    EXPECT_TRUE(elements.isDirty());
    EXPECT_EQ(elements.text(ElementField::Name), QStringLiteral("OR"));
    elements.cancel();
    EXPECT_EQ(elements.text(ElementField::Name), QStringLiteral("AND"));
}

// What the chips file holds for the chip `mark`, read through a connection of its own.
QVariantList StoredChip(const QString& folder, const QString& mark, const QStringList& fields) {
    QVariantList out;
    const QString name = QStringLiteral("stored");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(folder).filePath(QStringLiteral("microchips.db")));
        EXPECT_TRUE(db.open());
        QStringList columns;
        for (const QString& f : fields)
            columns << QStringLiteral("%1, typeof(%1)").arg(f);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT %1 FROM microchips WHERE Mark = ?")
                      .arg(columns.join(QStringLiteral(", "))));
        q.addBindValue(mark);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        if (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                out << q.value(i);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

struct BadNumber {
    QString field;
    QString text;
    QString message; // the whole refusal
};

class BadNumbers : public Tables, public ::testing::WithParamInterface<BadNumber> {};

// Each bad entry is refused by the post with a message naming the field and the text; the record
// stays in edit (with the other field changed in the same edit) and the file holds none of it.
TEST_P(BadNumbers, AreRefusedByThePostAndNothingIsWritten) {
    const BadNumber& c = GetParam();
    const QStringList fields{c.field, ChipField::ElemName};
    ASSERT_EQ(cat.openChips(), QString());
    CatalogueTable& chips = cat.chips();
    ASSERT_EQ(chips.text(ChipField::Mark), QStringLiteral("K1"));
    const QVariantList before = StoredChip(dir.path(), QStringLiteral("K1"), fields);
    ASSERT_EQ(before.size(), 4);

    chips.setField(ChipField::ElemName, QStringLiteral("changed"));
    chips.setField(c.field, c.text);
    EXPECT_EQ(chips.post(), c.message);
    EXPECT_EQ(chips.lastError(), c.message);
    EXPECT_TRUE(chips.isDirty());
    EXPECT_EQ(chips.text(c.field), c.text); // still shown as typed, to be corrected
    EXPECT_EQ(StoredChip(dir.path(), QStringLiteral("K1"), fields), before);

    // Moving away would store it: the move is refused too and says why.
    QSignalSpy refused(&chips, &CatalogueTable::moveRefused);
    chips.setRow(2);
    EXPECT_EQ(chips.row(), 0);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.first().first().toString(), c.message);
    EXPECT_EQ(chips.orderBy(ChipField::Type), c.message);
    EXPECT_EQ(StoredChip(dir.path(), QStringLiteral("K1"), fields), before);

    chips.cancel();
    EXPECT_FALSE(chips.isDirty());
    EXPECT_EQ(chips.text(ChipField::ElemName), QStringLiteral("OR"));
    chips.setRow(2);
    EXPECT_EQ(chips.row(), 2);
}

QString notInteger(const QString& title, const QString& text) {
    return QStringLiteral("Поле «%1»: '%2' is not a valid integer value").arg(title, text);
}
QString outOfRange(const QString& title, const QString& text, const QString& max) {
    return QStringLiteral("Поле «%1»: значение '%2' вне пределов от 0 до %3").arg(title, text, max);
}
QString notDecimal(const QString& title, const QString& text) {
    return QStringLiteral("Поле «%1»: '%2' не является десятичным числом").arg(title, text);
}

std::vector<BadNumber> BadNumberCases() {
    std::vector<BadNumber> cases;
    struct Whole {
        QString field;
        QString title;
        QString max;
        QString aboveMax;
    };
    const Whole whole[] = {
        {ChipField::ElemCount, QStringLiteral("Количество элементов"), "1000", "1001"},
        {ChipField::LegsCount, QStringLiteral("Количество ножек"), "1000", "5000"},
        {ChipField::ReactTimeLH, QStringLiteral("Задержка Низк -> Выс"), "2147483647", "2147483648"},
        {ChipField::ReactTimeHL, QStringLiteral("Задержка Выс -> Низк"), "2147483647", "2147483648"}};
    for (const Whole& w : whole) {
        cases.push_back({w.field, "abc", notInteger(w.title, "abc")});
        cases.push_back({w.field, "2.5", notInteger(w.title, "2.5")});
        cases.push_back({w.field, "12abc", notInteger(w.title, "12abc")});
        cases.push_back({w.field, "99999999999999999999", notInteger(w.title, "99999999999999999999")});
        cases.push_back({w.field, "-1", outOfRange(w.title, "-1", w.max)});
        cases.push_back({w.field, w.aboveMax, outOfRange(w.title, w.aboveMax, w.max)});
    }
    struct Decimal {
        QString field;
        QString title;
    };
    const Decimal decimals[] = {{ChipField::Power, QStringLiteral("Мощность")},
                                {ChipField::Voltage, QStringLiteral("Напряжение")},
                                {ChipField::LowVoltage, QStringLiteral("Низкий уровень напряжения")},
                                {ChipField::HighVoltage, QStringLiteral("Высокий уровень напряжения")}};
    for (const Decimal& d : decimals) {
        cases.push_back({d.field, "abc", notDecimal(d.title, "abc")});
        cases.push_back({d.field, "1.5.2", notDecimal(d.title, "1.5.2")});
        cases.push_back({d.field, "1e999", notDecimal(d.title, "1e999")});
        cases.push_back({d.field, "nan", notDecimal(d.title, "nan")});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(
    ChipFields, BadNumbers, ::testing::ValuesIn(BadNumberCases()),
    [](const ::testing::TestParamInfo<BadNumber>& info) {
        return QStringLiteral("%1_%2").arg(info.param.field).arg(info.index).toStdString();
    });

TEST_F(Tables, GoodNumbersAreStoredAsNumbersAndEmptyAsNull) {
    struct Case {
        QString field;
        QString text;
        QVariant stored; // null for NULL
    };
    const Case cases[] = {
        {ChipField::ElemCount, "0", 0.0},         {ChipField::ElemCount, "1000", 1000.0},
        {ChipField::LegsCount, " 14 ", 14.0},     {ChipField::ReactTimeLH, "2147483647", 2147483647.0},
        {ChipField::ReactTimeHL, "", QVariant()}, {ChipField::Power, "0.25", 0.25},
        {ChipField::Voltage, "4,75", 4.75},       {ChipField::LowVoltage, "-5.2", -5.2},
        {ChipField::HighVoltage, "1e3", 1000.0},
    };
    ASSERT_EQ(cat.openChips(), QString());
    CatalogueTable& chips = cat.chips();
    for (const Case& c : cases) {
        chips.setField(c.field, c.text);
        ASSERT_EQ(chips.post(), QString()) << c.field.toStdString() << " " << c.text.toStdString();
        const QVariantList stored = StoredChip(dir.path(), QStringLiteral("K1"), {c.field});
        ASSERT_EQ(stored.size(), 2);
        if (c.stored.isNull()) {
            EXPECT_TRUE(stored[0].isNull()) << c.field.toStdString();
            EXPECT_EQ(stored[1].toString(), QStringLiteral("null"));
        } else {
            EXPECT_DOUBLE_EQ(stored[0].toDouble(), c.stored.toDouble()) << c.field.toStdString();
            EXPECT_EQ(stored[1].toString(), QStringLiteral("real")) << c.field.toStdString();
        }
    }
    // A value another tool stored is read as it is and does not stop edits of other fields.
    chips.close();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tool"));
        db.setDatabaseName(QDir(dir.path()).filePath(QStringLiteral("microchips.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery(QStringLiteral("UPDATE microchips SET Legs_Count = 'x' WHERE Mark = 'K1'"), db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tool"));
    ASSERT_EQ(cat.openChips(), QString());
    chips.setField(ChipField::ElemCount, QStringLiteral("3"));
    EXPECT_EQ(chips.post(), QString());
    EXPECT_EQ(chips.text(ChipField::LegsCount), QStringLiteral("x"));
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

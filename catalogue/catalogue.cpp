// SPDX-License-Identifier: MIT
#include "catalogue/catalogue.h"

#include "catalogue/fields.h"

#include <cstdint>
#include <limits>

namespace {

CatalogueTable::Schema picturesSchema() {
    return {QStringLiteral("elements_images"),
            {QStringLiteral("CREATE TABLE IF NOT EXISTS elements_images(Name TEXT NOT NULL PRIMARY KEY, "
                            "Image BLOB)"),
             QStringLiteral("CREATE INDEX IF NOT EXISTS N ON elements_images(Name COLLATE NOCASE)")},
            {PictureField::Name},
            {PictureField::Name},
            {},
            QStringLiteral("Картинка с именем «%1» уже есть"),
            {{PictureField::Name, CatalogueTable::ColumnKind::Text},
             {PictureField::Image, CatalogueTable::ColumnKind::Blob}}};
}

CatalogueTable::Schema elementsSchema() {
    return {QStringLiteral("elements"),
            {QStringLiteral("CREATE TABLE IF NOT EXISTS elements(Name TEXT NOT NULL UNIQUE, "
                            "Int_Define TEXT NOT NULL DEFAULT '', Ext_Define TEXT NOT NULL DEFAULT '', "
                            "Image_Name TEXT NOT NULL DEFAULT '', Script TEXT NOT NULL DEFAULT '')")},
            {ElementField::Name},
            {QStringLiteral("rowid")},
            {},
            QStringLiteral("Элемент с именем «%1» уже есть"),
            {{ElementField::Name, CatalogueTable::ColumnKind::Text},
             {ElementField::IntDefine, CatalogueTable::ColumnKind::Text},
             {ElementField::ExtDefine, CatalogueTable::ColumnKind::Text},
             {ElementField::ImageName, CatalogueTable::ColumnKind::Text},
             {ElementField::Script, CatalogueTable::ColumnKind::Text}}};
}

// Counts and delays are whole numbers (delays in ns become int32 element delays); the electrical
// values are decimals of any size.
QList<CatalogueTable::NumericField> chipNumbers() {
    constexpr double maxCount = 1000;
    constexpr double maxDelay = std::numeric_limits<int32_t>::max();
    constexpr double anyDecimal = std::numeric_limits<double>::max();
    return {
        {ChipField::ElemCount, QStringLiteral("Количество элементов"), true, 0, maxCount},
        {ChipField::LegsCount, QStringLiteral("Количество ножек"), true, 0, maxCount},
        {ChipField::ReactTimeLH, QStringLiteral("Задержка Низк -> Выс"), true, 0, maxDelay},
        {ChipField::ReactTimeHL, QStringLiteral("Задержка Выс -> Низк"), true, 0, maxDelay},
        {ChipField::Power, QStringLiteral("Мощность"), false, -anyDecimal, anyDecimal},
        {ChipField::Voltage, QStringLiteral("Напряжение"), false, -anyDecimal, anyDecimal},
        {ChipField::LowVoltage, QStringLiteral("Низкий уровень напряжения"), false, -anyDecimal, anyDecimal},
        {ChipField::HighVoltage, QStringLiteral("Высокий уровень напряжения"), false, -anyDecimal,
         anyDecimal}};
}

QList<CatalogueTable::Column> chipColumns() {
    QList<CatalogueTable::Column> columns{{ChipField::Mark, CatalogueTable::ColumnKind::Text},
                                          {ChipField::Type, CatalogueTable::ColumnKind::Text},
                                          {ChipField::ElemName, CatalogueTable::ColumnKind::Text},
                                          {ChipField::ImageName, CatalogueTable::ColumnKind::Text}};
    for (const CatalogueTable::NumericField& f : chipNumbers())
        columns.append({f.field, CatalogueTable::ColumnKind::Number});
    return columns;
}

CatalogueTable::Schema chipsSchema() {
    return {
        QStringLiteral("microchips"),
        {QStringLiteral("CREATE TABLE IF NOT EXISTS microchips(Mark TEXT NOT NULL, Type TEXT NOT NULL "
                        "DEFAULT '', Elem_Count REAL, Legs_Count REAL, Elem_name TEXT NOT NULL DEFAULT '', "
                        "Image_name TEXT NOT NULL DEFAULT '', React_Time_LH REAL, React_Time_HL REAL, "
                        "Power REAL, Voltage REAL, Low_voltage REAL, High_voltage REAL, "
                        "PRIMARY KEY (Mark, Type))"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS Type ON microchips(Type)"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS Mark ON microchips(Mark)")},
        {ChipField::Mark, ChipField::Type},
        {ChipField::Mark, ChipField::Type},
        chipNumbers(),
        QStringLiteral("Микросхема %1 с таким типом уже есть"),
        chipColumns()};
}

} // namespace

const QString Catalogue::PicturesFile = QStringLiteral("elements_images.db");
const QString Catalogue::ElementsFile = QStringLiteral("elements.db");
const QString Catalogue::ChipsFile = QStringLiteral("microchips.db");

Catalogue::Catalogue(const QString& folder, CatalogueTable::OpenMode mode, QObject* parent)
    : QObject(parent), folder_(folder), mode_(mode),
      pictures_(std::make_unique<CatalogueTable>(picturesSchema())),
      elements_(std::make_unique<CatalogueTable>(elementsSchema())),
      chips_(std::make_unique<CatalogueTable>(chipsSchema())) {
    connect(chips_.get(), &CatalogueTable::afterScroll, this, &Catalogue::chipsScrolled);
    connect(elements_.get(), &CatalogueTable::afterScroll, this, &Catalogue::elementsScrolled);
}

Catalogue::~Catalogue() {
    // Stops the chain, then closes the tables in this fixed order, whatever order they were opened
    // in; each close tells the views still on that table that it has no current record.
    chips_->disconnect(this);
    elements_->disconnect(this);
    chips_->close();
    elements_->close();
    pictures_->close();
}

QString Catalogue::openPictures() {
    QString e = pictures_->open(folder_, PicturesFile, mode_);
    if (e.isEmpty()) e = pictures_->orderBy(PictureField::Name);
    return e;
}

QString Catalogue::openElements() {
    return elements_->open(folder_, ElementsFile, mode_);
}

QString Catalogue::openChips() {
    return chips_->open(folder_, ChipsFile, mode_);
}

QStringList Catalogue::ReopenFailed() {
    QStringList errors;
    if (elements_->openFailed()) errors << openElements();
    if (pictures_->openFailed()) errors << openPictures();
    if (chips_->openFailed()) errors << openChips();
    errors.removeAll(QString());
    return errors;
}

void Catalogue::chipsScrolled() {
    if (!elements_->isOpen()) return;
    elements_->locate(ElementField::Name, chips_->text(ChipField::ElemName));
}

void Catalogue::elementsScrolled() {
    FindPicture();
}

void Catalogue::FindPicture() {
    if (!pictures_->isOpen() || !elements_->isOpen()) return;
    const QString name = elements_->text(ElementField::ImageName);
    if (pictures_->row() >= 0 && pictures_->text(PictureField::Name) == name) return;
    pictures_->locate(PictureField::Name, name);
}

// SPDX-License-Identifier: MIT
#include "catalogue/chiplookup.h"

#include "catalogue/catalogue.h"
#include "catalogue/cataloguetable.h"
#include "catalogue/fields.h"
#include "model/specialelements.h"
#include "model/types.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardItem>

#include <algorithm>
#include <utility>

namespace {

// A delay as stored: a whole decimal number (a REAL column holds 11 as 11.0). Anything else,
// including an empty field, is refused with the text the user sees in the chips table.
bool ReadDelay(const CatalogueTable& chips, const QString& field, int32_t* out, QString* error) {
    const QVariant v = chips.value(field);
    QString text = v.toString();
    bool ok = false;
    double number = 0;
    if (v.isNull()) {
        ok = false;
    } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int ||
               v.typeId() == QMetaType::LongLong) {
        number = v.toDouble(&ok);
        if (ok) text = QString::number(number, 'g', 17);
    } else {
        static const QRegularExpression decimal(QStringLiteral("^-?[0-9]+$"));
        ok = decimal.match(text).hasMatch();
        if (ok) number = text.toDouble(&ok);
    }
    if (!ok || number != static_cast<double>(static_cast<int64_t>(number))) {
        *error = QStringLiteral("'%1' is not a valid integer value").arg(text);
        return false;
    }
    if (number < 0 || number > 2147483647.0) {
        *error = QStringLiteral("Задержка %1 вне допустимых пределов 0..2147483647").arg(text);
        return false;
    }
    *out = static_cast<int32_t>(number);
    return true;
}

} // namespace

bool LookUpChipElement(Catalogue& catalogue, const QString& mark, TPlacementData* out, QString* error) {
    CatalogueTable& chips = catalogue.chips();
    CatalogueTable& elements = catalogue.elements();
    CatalogueTable& pictures = catalogue.pictures();
    const QDir folder(catalogue.folder());
    const QString chipsFile = folder.filePath(Catalogue::ChipsFile);
    const QString elementsFile = folder.filePath(Catalogue::ElementsFile);
    const QString picturesFile = folder.filePath(Catalogue::PicturesFile);
    // The user's message, then the file and the record to look at.
    const auto fail = [error](const QString& what, const QString& file, const QString& record = {}) {
        *error = what + QStringLiteral("\nФайл: ") + file;
        if (!record.isEmpty()) *error += QStringLiteral("\nЗапись: ") + record;
        return false;
    };
    for (const auto& [table, file] : {std::pair{&pictures, picturesFile}, std::pair{&elements, elementsFile},
                                      std::pair{&chips, chipsFile}})
        if (!table->isOpen()) return fail(QStringLiteral("Каталог не открыт"), file);
    if (!chips.locate(ChipField::Mark, mark))
        return fail(QStringLiteral("Микросхема «%1» не найдена в каталоге").arg(mark), chipsFile);
    const QString chipRecord = QStringLiteral("Mark «%1», Type «%2»").arg(mark, chips.text(ChipField::Type));
    const QString type = chips.text(ChipField::ElemName);
    if (elements.row() < 0 || elements.text(ElementField::Name) != type)
        return fail(
            QStringLiteral("Элемент «%1» микросхемы %2 не найден в каталоге элементов").arg(type, mark),
            chipsFile, chipRecord);
    const QString typeRecord = QStringLiteral("Name «%1»").arg(type);
    const QString pictureName = elements.text(ElementField::ImageName);
    if (pictureName.isEmpty())
        return fail(QStringLiteral("У элемента %1 не указано изображение (Image_Name)").arg(type),
                    elementsFile, typeRecord);
    if (pictures.row() < 0 || pictures.text(PictureField::Name) != pictureName)
        return fail(QStringLiteral("Изображение «%1» элемента %2 не найдено").arg(pictureName, type),
                    elementsFile, typeRecord);
    TPlacementData data;
    QString fault;
    data.picture = DecodeBitmap(pictures.value(PictureField::Image).toByteArray(), &fault);
    if (data.picture.isNull())
        return fail(QStringLiteral("Изображение «%1» элемента %2: %3").arg(pictureName, type, fault),
                    picturesFile, QStringLiteral("Name «%1»").arg(pictureName));
    data.leftPins = elements.text(ElementField::IntDefine);
    data.rightPins = elements.text(ElementField::ExtDefine);
    // A picture of height H has pin positions 1..H div 10 - 1 on each side; a longer string would
    // put pins below the element.
    const int limit = std::max(0, data.picture.height() / PictureCellPixels - 1);
    for (const auto& [field, pins] : {std::pair{ElementField::IntDefine, data.leftPins},
                                      std::pair{ElementField::ExtDefine, data.rightPins}})
        if (pins.size() > limit)
            return fail(
                QStringLiteral("Строка выводов %1 «%2» элемента %3 длиннее, чем позволяет изображение «%4» "
                               "высотой %5 пикселей (не более %6 знаков)")
                    .arg(field, pins, type, pictureName)
                    .arg(data.picture.height())
                    .arg(limit),
                elementsFile, typeRecord);
    for (const QString& field : {ChipField::ReactTimeLH, ChipField::ReactTimeHL}) {
        int32_t* delay = field == ChipField::ReactTimeLH ? &data.reactionLH : &data.reactionHL;
        if (!ReadDelay(chips, field, delay, &fault))
            return fail(fault, chipsFile, chipRecord + QStringLiteral(", поле ") + field);
    }
    const QString script = elements.text(ElementField::Script);
    data.script =
        script.isEmpty() ? QStringList() : script.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    *out = std::move(data);
    return true;
}

bool LookUpPlacement(Catalogue& catalogue, const QStandardItem* node, TPlacementData* out, QString* error) {
    const ElementKind kind = KindOfName(node->text());
    if (kind == ElementKind::Unknown || !node->parent()) return false;
    // Special elements bring their own set-up; a chip element's data come from the catalogue, and
    // the slot is taken only when every datum is at hand.
    if (kind != ElementKind::Chip) {
        *out = SpecialElements::Placement(kind);
        return true;
    }
    return LookUpChipElement(catalogue, node->parent()->text(), out, error);
}

PlacementSource CataloguePlacement(Catalogue& catalogue) {
    return [&catalogue](const QStandardItem* node, TPlacementData* data, QString* error) {
        return LookUpPlacement(catalogue, node, data, error);
    };
}

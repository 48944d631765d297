// SPDX-License-Identifier: MIT
#include "catalogue/chiplookup.h"

#include "catalogue/catalogue.h"
#include "catalogue/cataloguetable.h"
#include "catalogue/fields.h"

#include <QRegularExpression>

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
    if (!chips.isOpen() || !elements.isOpen() || !pictures.isOpen()) {
        *error = QStringLiteral("Каталог микросхем не открыт");
        return false;
    }
    if (!chips.locate(ChipField::Mark, mark)) {
        *error = QStringLiteral("Микросхема «%1» не найдена в каталоге").arg(mark);
        return false;
    }
    const QString type = chips.text(ChipField::ElemName);
    if (elements.row() < 0 || elements.text(ElementField::Name) != type) {
        *error = QStringLiteral("Элемент «%1» микросхемы %2 не найден в каталоге элементов").arg(type, mark);
        return false;
    }
    const QString pictureName = elements.text(ElementField::ImageName);
    if (pictures.row() < 0 || pictures.text(PictureField::Name) != pictureName) {
        *error = QStringLiteral("Изображение «%1» элемента %2 не найдено").arg(pictureName, type);
        return false;
    }
    TPlacementData data;
    data.picture = QImage::fromData(pictures.value(PictureField::Image).toByteArray());
    if (data.picture.isNull()) {
        *error = QStringLiteral("Изображение «%1» элемента %2 не читается").arg(pictureName, type);
        return false;
    }
    if (!ReadDelay(chips, ChipField::ReactTimeLH, &data.reactionLH, error) ||
        !ReadDelay(chips, ChipField::ReactTimeHL, &data.reactionHL, error))
        return false;
    data.leftPins = elements.text(ElementField::IntDefine);
    data.rightPins = elements.text(ElementField::ExtDefine);
    const QString script = elements.text(ElementField::Script);
    data.script =
        script.isEmpty() ? QStringList() : script.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    *out = std::move(data);
    return true;
}

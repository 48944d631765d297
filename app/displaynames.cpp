// SPDX-License-Identifier: MIT
#include "app/displaynames.h"

#include "model/specialelements.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr const char* Context = "DisplayName";

// The data texts as the translation tools see them; each is looked up by the model's own text, so
// the two cannot part.
[[maybe_unused]] constexpr const char* Texts[] = {
    QT_TRANSLATE_NOOP("DisplayName", "Спец. элементы"), QT_TRANSLATE_NOOP("DisplayName", "Индикатор"),
    QT_TRANSLATE_NOOP("DisplayName", "Переключатель"),  QT_TRANSLATE_NOOP("DisplayName", "Генератор"),
    QT_TRANSLATE_NOOP("DisplayName", "Осциллограф"),
};

QString Translated(const QString& text) {
    return QCoreApplication::translate(Context, text.toUtf8().constData());
}

bool AllDigits(QStringView s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString DisplayName(const QString& name) {
    if (name == SpecialElements::GroupName()) return Translated(name);
    for (const ElementKind kind :
         {ElementKind::Indicator, ElementKind::Switch, ElementKind::Generator, ElementKind::Probe}) {
        const QString base = SpecialElements::BaseName(kind);
        if (name.startsWith(base) && AllDigits(QStringView(name).mid(base.size())))
            return Translated(base) + name.mid(base.size());
    }
    return name;
}

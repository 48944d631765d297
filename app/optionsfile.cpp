// SPDX-License-Identifier: MIT
#include "app/optionsfile.h"

#include <algorithm>
#include <array>
#include <variant>

namespace {

struct OptionKey {
    const char16_t* section;
    const char16_t* key;
    std::variant<int32_t TOptions::*, bool TOptions::*> field;
    int32_t def;
};

const std::array<OptionKey, 6> Keys{{
    {u"Colors", u"Desktop", &TOptions::DesktopColor, 16777215},
    {u"Colors", u"Grid", &TOptions::GridColor, 0},
    {u"Selection", u"Full", &TOptions::FullSelection, 0},
    {u"Creation", u"Selection", &TOptions::SelectOnCreate, 0},
    {u"Selection", u"Draw_conn", &TOptions::DrawConnections, 0},
    {u"Selection", u"Sel_conn", &TOptions::HighlightConnection, 1},
}};

} // namespace

void ReadOptions(const IniFile& file, TOptions& options) {
    for (const OptionKey& k : Keys) {
        const QString section = QString::fromUtf16(k.section), key = QString::fromUtf16(k.key);
        if (auto* f = std::get_if<int32_t TOptions::*>(&k.field))
            options.*(*f) = file.ReadInteger(section, key, k.def);
        else
            options.*std::get<bool TOptions::*>(k.field) = file.ReadBool(section, key, k.def != 0);
    }
}

bool WriteOptions(IniFile& file, const TOptions& options, QString* error) {
    for (const OptionKey& k : Keys) {
        const QString section = QString::fromUtf16(k.section), key = QString::fromUtf16(k.key);
        const bool ok =
            std::holds_alternative<int32_t TOptions::*>(k.field)
                ? file.WriteInteger(section, key, options.*std::get<int32_t TOptions::*>(k.field), error)
                : file.WriteBool(section, key, options.*std::get<bool TOptions::*>(k.field), error);
        if (!ok) return false;
    }
    return true;
}

int32_t ReadNavigatorWidth(const IniFile& file) {
    return std::clamp(
        file.ReadInteger(QStringLiteral("Navigator"), QStringLiteral("Width"), DefaultNavigatorWidth),
        NavigatorWidthMin, NavigatorWidthMax);
}

bool WriteNavigatorWidth(IniFile& file, int32_t width, QString* error) {
    const QString section = QStringLiteral("Navigator"), key = QStringLiteral("Width");
    if (width == DefaultNavigatorWidth && !file.contains(section, key)) return true;
    return file.WriteInteger(section, key, width, error);
}

bool ReadLockBases(const IniFile& file) {
    return file.ReadBool(QStringLiteral("Main"), QStringLiteral("LockBases"), true);
}

QString ReadLanguage(const IniFile& file) {
    return file.ReadString(QStringLiteral("Main"), QStringLiteral("Language"), QString());
}

bool WriteLanguage(IniFile& file, const QString& code, QString* error) {
    if (code.isEmpty()) return true;
    return file.WriteString(QStringLiteral("Main"), QStringLiteral("Language"), code, error);
}

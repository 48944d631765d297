// SPDX-License-Identifier: MIT
#pragma once

#include "app/inifile.h"
#include "editor/options.h"

#include <QString>

// The options as stored in the settings file: one table of section, key, default and field serves
// both reading and writing.
void ReadOptions(const IniFile& file, TOptions& options);
// Writes every option in table order and stops at the first failed write; false then, with
// "Unable to write to <path>" in `error`.
bool WriteOptions(IniFile& file, const TOptions& options, QString* error);
// Navigator/Width: the width of the open navigator panel, DefaultNavigatorWidth when missing,
// held within NavigatorWidthMin..NavigatorWidthMax. Written only when it differs from the default
// or the file has it already, so a file that never had it stays as it was.
constexpr int32_t DefaultNavigatorWidth = 150;
constexpr int32_t NavigatorWidthMin = 100;
constexpr int32_t NavigatorWidthMax = 600;
int32_t ReadNavigatorWidth(const IniFile& file);
bool WriteNavigatorWidth(IniFile& file, int32_t width, QString* error);
// Main/LockBases: the catalogue editors stay disabled while it is non-zero (read only).
bool ReadLockBases(const IniFile& file);
// Main/Language: the interface language chosen in the settings, "ru" or "en"; empty when the
// user never chose one (the system locale decides then). Written only when chosen.
QString ReadLanguage(const IniFile& file);
bool WriteLanguage(IniFile& file, const QString& code, QString* error);

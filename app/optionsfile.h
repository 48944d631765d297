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
// Main/LockBases: the catalogue editors stay disabled while it is non-zero (read only).
bool ReadLockBases(const IniFile& file);

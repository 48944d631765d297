// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// A settings file in INI form. Reading: sections and keys match without regard to case, the
// first occurrence wins; an integer is decimal or hexadecimal with "0x", "0X" or "$"; anything
// else, or a missing key, reads as the default. Writing: each write updates the key in place
// (or appends it) and rewrites the whole file before it returns.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return path_; }
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // The value as written, trimmed; `def` when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // False when the file cannot be written; `error` then holds "Unable to write to <path>".
    bool WriteInteger(const QString& section, const QString& key, int32_t value, QString* error);
    bool WriteBool(const QString& section, const QString& key, bool value, QString* error);
    bool WriteString(const QString& section, const QString& key, const QString& value, QString* error) {
        return writeString(section, key, value, error);
    }
    // The key is in the file, whatever its value.
    bool contains(const QString& section, const QString& key) const { return find(section, key, nullptr); }

    // Integer text by the reading rules; false when it is no integer that fits 32 bits.
    static bool ParseInteger(const QString& text, int32_t* out);

private:
    bool find(const QString& section, const QString& key, QString* value) const;
    bool writeString(const QString& section, const QString& key, const QString& value, QString* error);

    QString path_;
    QStringList lines_;
};

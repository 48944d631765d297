// SPDX-License-Identifier: MIT
#include "app/inifile.h"

#include <QFile>

#include <algorithm>

namespace {

// "[name]" with optional blanks around; returns the name or a null string.
QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[')) return {};
    const qsizetype close = t.indexOf(u']');
    if (close < 0) return {};
    return t.mid(1, close - 1).trimmed();
}

bool keyOf(const QString& line, QString* key, QString* value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) return false;
    *key = line.left(eq).trimmed();
    if (value) *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) return;
    // Latin-1 keeps every byte; the values we read are plain numbers.
    const QString text = QString::fromLatin1(f.readAll());
    lines_ = text.split(u'\n');
    for (QString& l : lines_)
        if (l.endsWith(u'\r')) l.chop(1);
    if (!lines_.isEmpty() && lines_.back().isEmpty()) lines_.removeLast();
}

bool IniFile::find(const QString& section, const QString& key, QString* value) const {
    bool inSection = false;
    bool seenSection = false;
    for (const QString& line : lines_) {
        const QString name = sectionName(line);
        if (!name.isNull()) {
            // Only the first section of a name is read.
            if (inSection) return false;
            inSection = !seenSection && name.compare(section, Qt::CaseInsensitive) == 0;
            seenSection = seenSection || inSection;
            continue;
        }
        QString k;
        if (inSection && keyOf(line, &k, value) && k.compare(key, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

bool IniFile::ParseInteger(const QString& text, int32_t* out) {
    const QString t = text.trimmed();
    QString digits;
    if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        digits = t.mid(2);
    else if (t.startsWith(u'$'))
        digits = t.mid(1);
    const auto all = [](QStringView s, auto pred) { return std::all_of(s.begin(), s.end(), pred); };
    const auto isHex = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!digits.isNull()) {
        // Only hexadecimal digits may follow the prefix: "0x 1F" and "$0x10" are no numbers.
        if (digits.isEmpty() || digits.size() > 8 || !all(digits, isHex)) return false;
        *out = static_cast<int32_t>(digits.toUInt(nullptr, 16));
        return true;
    }
    const QStringView number = t.startsWith(u'-') ? QStringView(t).mid(1) : QStringView(t);
    if (number.isEmpty() || !all(number, isDigit)) return false;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok) return false;
    *out = v;
    return true;
}

int32_t IniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    QString value;
    int32_t v = def;
    if (find(section, key, &value) && ParseInteger(value, &v)) return v;
    return def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    QString value;
    return find(section, key, &value) ? value.trimmed() : def;
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int32_t value, QString* error) {
    return writeString(section, key, QString::number(value), error);
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value, QString* error) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"), error);
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value, QString* error) {
    QStringList next = lines_;
    const QString entry = key + u'=' + value;
    qsizetype sectionAt = -1, insertAt = -1, keyAt = -1;
    for (qsizetype i = 0; i < next.size(); ++i) {
        const QString name = sectionName(next[i]);
        if (!name.isNull()) {
            if (sectionAt >= 0) break;
            if (name.compare(section, Qt::CaseInsensitive) == 0) sectionAt = insertAt = i + 1;
            continue;
        }
        if (sectionAt < 0) continue;
        QString k;
        if (keyOf(next[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
            keyAt = i;
            break;
        }
        if (!next[i].trimmed().isEmpty()) insertAt = i + 1;
    }
    if (keyAt >= 0)
        next[keyAt] = entry;
    else if (sectionAt >= 0)
        next.insert(insertAt, entry);
    else
        next << u'[' + section + u']' << entry;

    QFile f(path_);
    QByteArray bytes;
    for (const QString& l : next)
        bytes += l.toLatin1() + "\r\n";
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush()) {
        if (error) *error = QStringLiteral("Unable to write to %1").arg(path_);
        return false;
    }
    f.close();
    lines_ = next;
    return true;
}

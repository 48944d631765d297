// SPDX-License-Identifier: MIT
#include "catalogue/cataloguetable.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString quoted(const QString& field) {
    if (field.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0) return field;
    return QLatin1Char('"') + field + QLatin1Char('"');
}

int connectionSerial = 0;

// How long a read or write waits for another program's lock on a catalogue file before it fails.
constexpr int BusyTimeoutMs = 1000;

bool isDuplicateKey(const QSqlError& error) {
    // SQLite reports a taken primary key or unique index as a UNIQUE constraint (extended codes
    // 1555 and 2067; the primary code 19 covers every constraint, so its text decides).
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("1555") || code == QLatin1String("2067") ||
           error.databaseText().contains(QLatin1String("UNIQUE constraint failed"));
}

// Reads `value` as the number a numeric field may store: null for an empty text, else the number
// or, when it is none, the refusal.
struct ParsedNumber {
    QVariant number;
    QString refusal;
};

ParsedNumber parseNumber(const QVariant& value, const CatalogueTable::NumericField& f) {
    if (value.isNull()) return {value, {}};
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) return {QVariant(QMetaType::fromType<double>()), {}};
    const QString field = QStringLiteral("Поле «%1»: ").arg(f.title);
    const int type = value.typeId();
    const bool isNumber = type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
    bool ok = isNumber;
    double d = value.toDouble();
    if (f.integer) {
        if (isNumber)
            ok = std::isfinite(d) && d == std::floor(d);
        else
            d = static_cast<double>(text.toLongLong(&ok, 10));
        if (!ok) return {{}, field + QStringLiteral("'%1' is not a valid integer value").arg(text)};
    } else {
        if (!isNumber) d = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return {{}, field + QStringLiteral("'%1' не является десятичным числом").arg(text)};
    }
    if (d < f.minimum || d > f.maximum)
        return {{},
                field +
                    QStringLiteral("значение '%1' вне пределов от %2 до %3")
                        .arg(text, QString::number(f.minimum, 'f', 0), QString::number(f.maximum, 'f', 0))};
    return {d, {}};
}

} // namespace

QString CatalogueModel::orderByClause() const {
    if (orderFields_.isEmpty()) return QSqlTableModel::orderByClause();
    QStringList parts;
    for (const QString& f : orderFields_)
        parts << quoted(f);
    return QStringLiteral("ORDER BY ") + parts.join(QStringLiteral(", "));
}

CatalogueTable::CatalogueTable(Schema schema, QObject* parent)
    : QObject(parent), schema_(std::move(schema)) {}

CatalogueTable::~CatalogueTable() {
    close();
}

QString CatalogueTable::open(const QString& folder, const QString& fileName, OpenMode mode) {
    close();
    lastError_.clear();
    const bool readOnly = mode == OpenMode::ReadOnly;
    if (!readOnly) QDir().mkpath(folder);
    connection_ = QStringLiteral("catalogue-%1-%2").arg(schema_.table).arg(++connectionSerial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(QDir(folder).filePath(fileName));
        // Another program's lock is waited for this long before a read or write gives up.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (readOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        const QFileInfo info(db.databaseName());
        // An empty file is what a failed earlier creation may leave: it holds no table to keep.
        const bool existing = info.exists() && info.size() > 0;
        QString engine;
        if (info.isDir()) {
            engine = QStringLiteral("Это папка, а не файл каталога");
        } else if (readOnly && !info.exists()) {
            engine = QStringLiteral("Файла нет");
        } else if (readOnly && !existing) {
            engine = QStringLiteral("Файл пуст: в нём нет таблицы %1").arg(schema_.table);
        } else if (!db.open()) {
            engine = db.lastError().text();
        } else if (existing) {
            engine = checkExisting(db);
            if (engine.isEmpty()) engine = checkIntegrity(db);
        } else {
            for (const QString& sql : schema_.createSql) {
                QSqlQuery q(db);
                if (!q.exec(sql)) {
                    engine = q.lastError().text();
                    break;
                }
            }
        }
        if (engine.isEmpty()) {
            model_ = std::make_unique<CatalogueModel>(nullptr, db);
            model_->setTable(schema_.table);
            model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
            model_->setOrderFields(schema_.primaryOrder);
            if (!model_->select()) engine = model_->lastError().text();
            if (model_->columnCount() == 0 && engine.isEmpty())
                engine = QStringLiteral("Table %1 not found in %2").arg(schema_.table, fileName);
            if (!engine.isEmpty()) model_.reset();
        }
        if (!engine.isEmpty())
            lastError_ = QStringLiteral("Не удалось открыть таблицу %1.\n%2")
                             .arg(QDir(folder).filePath(fileName), engine);
    }
    openFailed_ = !model_;
    if (!model_) {
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
        return lastError_;
    }
    fetchAll();
    row_ = count() > 0 ? 0 : -1;
    Q_EMIT rowChanged(row_);
    if (row_ >= 0) Q_EMIT afterScroll();
    return {};
}

void CatalogueTable::close() {
    if (model_) {
        model_.reset();
        row_ = -1;
        Q_EMIT rowChanged(row_);
    }
    if (!connection_.isEmpty()) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
        connection_.clear();
    }
}

void CatalogueTable::fetchAll() {
    while (model_->canFetchMore())
        model_->fetchMore();
}

int CatalogueTable::count() const {
    return model_ ? model_->rowCount() : 0;
}

void CatalogueTable::first() {
    if (count() > 0) setRow(0, true);
}

void CatalogueTable::next() {
    if (row_ >= 0 && row_ < count() - 1) setRow(row_ + 1);
}

void CatalogueTable::setRow(int row, bool alwaysScroll) {
    if (!model_ || count() == 0) return;
    row = std::clamp(row, 0, count() - 1);
    if (row != row_ && isDirty()) {
        // Moving to another record stores the pending edit first.
        const QStringList target = keyAt(row);
        if (const QString error = post(); !error.isEmpty()) {
            Q_EMIT rowChanged(row_);
            Q_EMIT moveRefused(error);
            return;
        }
        row = std::max(0, rowOfKey(target));
    }
    const bool moved = row != row_;
    row_ = row;
    Q_EMIT rowChanged(row_);
    if (moved || alwaysScroll) Q_EMIT afterScroll();
}

bool CatalogueTable::locate(const QString& field, const QString& value) {
    const int n = count();
    if (n == 0) return false;
    const int col = fieldIndex(field);
    int target = n - 1;
    bool found = false;
    for (int r = 0; r < n && col >= 0; ++r) {
        if (model_->data(model_->index(r, col)).toString() == value) {
            target = r;
            found = true;
            break;
        }
    }
    setRow(target, true);
    return found;
}

int CatalogueTable::fieldIndex(const QString& name) const {
    if (!model_) return -1;
    const QSqlRecord rec = model_->record();
    for (int i = 0; i < rec.count(); ++i)
        if (rec.fieldName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant CatalogueTable::valueAt(int row, const QString& field) const {
    const int col = fieldIndex(field);
    if (col < 0 || row < 0 || row >= count()) return {};
    return model_->data(model_->index(row, col), Qt::EditRole);
}

QVariant CatalogueTable::value(const QString& field) const {
    return valueAt(row_, field);
}

QString CatalogueTable::text(const QString& field) const {
    const QVariant v = value(field);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(static_cast<long long>(d));
    }
    return v.toString();
}

int CatalogueTable::number(const QString& field) const {
    const QVariant v = value(field);
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) return 0;
    const double r = std::round(d);
    if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

QStringList CatalogueTable::keyAt(int row) const {
    QStringList key;
    for (const QString& f : schema_.keyFields)
        key << valueAt(row, f).toString();
    return key;
}

int CatalogueTable::rowOfKey(const QStringList& key) const {
    if (key.isEmpty()) return -1;
    for (int r = 0; r < count(); ++r)
        if (keyAt(r) == key) return r;
    return -1;
}

QString CatalogueTable::reselect(const QStringList& key) {
    QString error;
    if (!model_->select()) error = model_->lastError().text();
    fetchAll();
    const int n = count();
    int r = rowOfKey(key);
    if (r < 0) r = std::min(std::max(row_, 0), n - 1);
    row_ = n > 0 ? r : -1;
    Q_EMIT rowChanged(row_);
    return error;
}

QString CatalogueTable::orderBy(const QString& field) {
    if (!model_) return {};
    QStringList fields;
    if (field.isEmpty()) {
        fields = schema_.primaryOrder;
    } else {
        fields << field;
        for (const QString& f : schema_.primaryOrder)
            if (f.compare(field, Qt::CaseInsensitive) != 0) fields << f;
    }
    if (isDirty()) {
        if (QString e = post(); !e.isEmpty()) return e;
    }
    const QStringList key = keyAt(row_);
    order_ = field;
    model_->setOrderFields(fields);
    return lastError_ = reselect(key);
}

namespace {

// SQLite's column affinity from a declared type.
enum class Affinity { Integer, Text, Blob, Real, Numeric };

Affinity AffinityOf(const QString& declared) {
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT"))) return Affinity::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("TEXT")))
        return Affinity::Text;
    if (t.isEmpty() || t.contains(QLatin1String("BLOB"))) return Affinity::Blob;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return Affinity::Real;
    return Affinity::Numeric;
}

bool Fits(CatalogueTable::ColumnKind kind, Affinity a) {
    switch (kind) {
    case CatalogueTable::ColumnKind::Text:
        return a == Affinity::Text;
    case CatalogueTable::ColumnKind::Number:
        return a == Affinity::Integer || a == Affinity::Real || a == Affinity::Numeric;
    case CatalogueTable::ColumnKind::Blob:
        return a == Affinity::Blob;
    }
    return false;
}

QString KindName(CatalogueTable::ColumnKind kind) {
    switch (kind) {
    case CatalogueTable::ColumnKind::Text:
        return QStringLiteral("текст (TEXT)");
    case CatalogueTable::ColumnKind::Number:
        return QStringLiteral("число (REAL)");
    case CatalogueTable::ColumnKind::Blob:
        return QStringLiteral("изображение (BLOB)");
    }
    return {};
}

} // namespace

QString CatalogueTable::checkExisting(const QSqlDatabase& db) const {
    QSqlQuery q(db);
    // The first read of a file that is no SQLite database fails here with the engine's text.
    if (!q.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?")))
        return q.lastError().text();
    q.addBindValue(schema_.table);
    if (!q.exec()) return q.lastError().text();
    if (!q.next()) return QStringLiteral("В файле нет таблицы %1").arg(schema_.table);
    QSqlQuery info(db);
    if (!info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(schema_.table)))
        return info.lastError().text();
    QHash<QString, QString> declared; // column name in lower case -> declared type
    while (info.next())
        declared.insert(info.value(1).toString().toLower(), info.value(2).toString());
    for (const Column& c : schema_.columns) {
        const auto it = declared.constFind(c.name.toLower());
        if (it == declared.constEnd())
            return QStringLiteral("В таблице %1 нет столбца %2").arg(schema_.table, c.name);
        if (!Fits(c.kind, AffinityOf(*it)))
            return QStringLiteral("Столбец %1 таблицы %2 имеет тип %3, а должен хранить %4")
                .arg(c.name, schema_.table, it->isEmpty() ? QStringLiteral("без названия") : *it,
                     KindName(c.kind));
    }
    return {};
}

QString CatalogueTable::checkIntegrity(const QSqlDatabase& db) {
    QSqlQuery q(db);
    // The full check: the quick one misses index rows lost with a cut last page.
    if (!q.exec(QStringLiteral("PRAGMA integrity_check(5)"))) return q.lastError().text();
    QStringList faults;
    while (q.next()) {
        const QString line = q.value(0).toString();
        if (line != QLatin1String("ok")) faults << line;
    }
    if (faults.isEmpty()) return {};
    return QStringLiteral("Файл повреждён (проверка целостности: %1)").arg(faults.join(QStringLiteral("; ")));
}

QSqlError CatalogueTable::execute(const QString& sql, const QVariantList& values) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.prepare(sql)) return q.lastError();
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) return q.lastError();
    return {};
}

QString CatalogueTable::describe(const QSqlError& error, const QStringList& key) const {
    const QString sentence = isDuplicateKey(error) && !schema_.duplicateKey.isEmpty()
                                 ? schema_.duplicateKey.arg(key.value(0))
                                 : QStringLiteral("Не удалось записать в таблицу %1.").arg(schema_.table);
    return sentence + QLatin1Char('\n') + error.text();
}

QString CatalogueTable::append(const QString& firstField) {
    if (!model_) return lastError_ = QStringLiteral("Table %1 is not open").arg(schema_.table);
    if (isDirty()) {
        if (QString e = post(); !e.isEmpty()) return e;
    }
    const QString first = model_->record().fieldName(0);
    QStringList key;
    for (const QString& f : schema_.keyFields)
        key << (f.compare(first, Qt::CaseInsensitive) == 0 ? firstField : QString());
    if (const QSqlError e = execute(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(schema_.table, quoted(first)), {firstField});
        e.isValid())
        return lastError_ = describe(e, key);
    return lastError_ = reselect(key);
}

bool CatalogueTable::setField(const QString& field, const QVariant& value) {
    const int col = fieldIndex(field);
    if (col < 0 || row_ < 0) return false;
    return model_->setData(model_->index(row_, col), value);
}

bool CatalogueTable::isDirty() const {
    return model_ && model_->isDirty();
}

bool CatalogueTable::submit(const QStringList& key, bool keepEdit) {
    if (model_->submitAll()) return true;
    lastError_ = describe(model_->lastError(), key);
    if (keepEdit)
        lastError_ += QStringLiteral("\nИзменения не сохранены: введённые значения остались в окне.");
    else
        model_->revertAll();
    Q_EMIT rowChanged(row_);
    return false;
}

QString CatalogueTable::checkNumbers() {
    if (row_ < 0) return {};
    QList<std::pair<QModelIndex, QVariant>> converted;
    for (const NumericField& f : schema_.numericFields) {
        const int col = fieldIndex(f.field);
        if (col < 0) continue;
        const QModelIndex index = model_->index(row_, col);
        // Only what this edit changed: a value stored by another tool is read as it is.
        if (!model_->isDirty(index)) continue;
        const ParsedNumber parsed = parseNumber(model_->data(index, Qt::EditRole), f);
        if (!parsed.refusal.isEmpty()) return parsed.refusal;
        converted.append({index, parsed.number});
    }
    for (const auto& [index, number] : converted)
        model_->setData(index, number);
    return {};
}

QString CatalogueTable::post() {
    if (!isDirty()) return {};
    if (QString refusal = checkNumbers(); !refusal.isEmpty()) return lastError_ = refusal;
    const QStringList key = keyAt(row_);
    if (!submit(key, true)) return lastError_;
    fetchAll();
    int r = rowOfKey(key);
    if (r < 0) r = std::min(row_, count() - 1);
    row_ = count() > 0 ? r : -1;
    Q_EMIT rowChanged(row_);
    return {};
}

void CatalogueTable::cancel() {
    if (!isDirty()) return;
    model_->revertAll();
    Q_EMIT rowChanged(row_);
}

QString CatalogueTable::remove() {
    if (!model_ || row_ < 0) return {};
    cancel();
    QStringList following;
    if (row_ + 1 < count())
        following = keyAt(row_ + 1);
    else if (row_ > 0)
        following = keyAt(row_ - 1);
    const QStringList key = keyAt(row_);
    model_->removeRow(row_);
    if (!submit(key, false)) return lastError_;
    fetchAll();
    row_ = count() > 0 ? std::max(0, rowOfKey(following)) : -1;
    Q_EMIT rowChanged(row_);
    if (row_ >= 0) Q_EMIT afterScroll();
    return {};
}

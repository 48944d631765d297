// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlTableModel>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// The query model of one catalogue table; its ORDER BY is set by field names.
class CatalogueModel : public QSqlTableModel {
    Q_OBJECT
public:
    using QSqlTableModel::QSqlTableModel;
    void setOrderFields(const QStringList& fields) { orderFields_ = fields; }

protected:
    QString orderByClause() const override;

private:
    QStringList orderFields_;
};

// One catalogue table file with its single shared cursor. Every window that shows the table works
// on this object: it holds the current record (-1 when the table is empty or closed) and raises
// afterScroll whenever the current record moves by navigation, by opening a non-empty table or by
// a delete, never after an append. Errors are returned as text for the user (empty on success) and
// leave the table consistent: a failed post or append changes nothing stored. A post that is
// refused (a numeric field holds no number in its range, the engine refuses the write: a taken key,
// a locked or read-only file) keeps the record in edit with the typed values, to be corrected,
// posted again or cancelled.
class CatalogueTable : public QObject {
    Q_OBJECT
public:
    // A field that holds a number: a post stores it only as a number within [minimum, maximum].
    struct NumericField {
        QString field;
        QString title; // the field's name in messages
        bool integer;  // whole numbers only; otherwise decimals, with a point or a comma
        double minimum;
        double maximum;
    };
    // What a column must hold; an existing file is checked against it by the column's declared
    // type (SQLite's affinity rules), since a value of another type would be read as garbage.
    enum class ColumnKind { Text, Number, Blob };
    struct Column {
        QString name;
        ColumnKind kind;
    };
    struct Schema {
        QString table;            // table name = file name without ".db"
        QStringList createSql;    // CREATE TABLE + CREATE INDEX statements, run on a new file only
        QStringList keyFields;    // fields that identify a record
        QStringList primaryOrder; // order of the primary key ("" ordering)
        QList<NumericField> numericFields;
        // The sentence for a record whose key is taken; %1 is the value of its first key field.
        QString duplicateKey;
        QList<Column> columns; // every column the program reads or writes
    };

    CatalogueTable(Schema schema, QObject* parent = nullptr);
    ~CatalogueTable() override;

    // ReadWrite: the program's catalogue, created empty when missing. ReadOnly: a catalogue that is
    // only read (the runner): nothing is created or written, and a missing or empty file is an error.
    enum class OpenMode { ReadWrite, ReadOnly };
    // Opens folder/file; in ReadWrite mode a missing (or empty) file is created with an empty
    // table. An existing file is only read: it must be a whole database (its integrity check passes)
    // holding the table with every column of the schema, of a fitting type, or the table stays
    // closed. Returns the error for the user (the file's path first), else empty.
    QString open(const QString& folder, const QString& fileName, OpenMode mode = OpenMode::ReadWrite);
    void close();
    bool isOpen() const { return model_ != nullptr; }
    // The last open() failed (a lock, a damaged file); the table stays closed until it is tried again.
    bool openFailed() const { return openFailed_; }
    const Schema& schema() const { return schema_; }

    CatalogueModel* model() const { return model_.get(); }

    int count() const;
    int row() const { return row_; }
    bool isEmpty() const { return count() == 0; }
    void first();
    void next(); // stays on the last record
    // Makes `row` current (clamped); raises afterScroll when it moved or `alwaysScroll`.
    void setRow(int row, bool alwaysScroll = false);
    // Walks from the first record to the first one whose `field` equals `value` exactly; the
    // last record stays current when none does. Returns true when a record matched.
    bool locate(const QString& field, const QString& value);

    // Field access by name, letter case ignored. Unknown fields read as empty.
    int fieldIndex(const QString& name) const;
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    int number(const QString& field) const; // nearest whole number; empty reads as 0
    QVariant valueAt(int row, const QString& field) const;

    // "Name", "Mark", "Type" or empty for the primary-key order. The current record stays current.
    QString orderBy(const QString& field);
    QString order() const { return order_; }

    // Appends a record with only its first field set; it is stored at once and becomes current.
    QString append(const QString& firstField);
    // Setting a field starts a pending edit of the current record (bound boxes and grids edit it
    // the same way); post stores it, cancel drops it, moving to another record posts it first.
    bool setField(const QString& field, const QVariant& value);
    // Checks the pending numeric fields, turns their text into numbers (empty text into NULL) and
    // stores the record. Returns the refusal or the engine's error.
    QString post();
    void cancel();
    bool isDirty() const;
    // Deletes the current record; the following one (or the new last one) becomes current.
    QString remove();

    QString lastError() const { return lastError_; }

Q_SIGNALS:
    // The current record moved (see the class comment).
    void afterScroll();
    // The current row changed or the rows were re-read: views and mappers follow `row`.
    void rowChanged(int row);
    // Moving to another record could not store the pending edit; the record stays current. Raised
    // after rowChanged, so views are back on the record when the error is shown.
    void moveRefused(const QString& error);

private:
    QStringList keyAt(int row) const;
    int rowOfKey(const QStringList& key) const;
    QString reselect(const QStringList& key);
    void fetchAll();
    // Checks and converts the pending numeric fields of the current record; the refusal or empty.
    QString checkNumbers();
    // Writes the model's pending changes. On failure keeps the error for the user in lastError_,
    // drops the pending changes unless `keepEdit` (then the error says they were kept), tells the
    // views and returns false. `key` names the record in that error.
    bool submit(const QStringList& key, bool keepEdit);
    // The user's sentence for an engine error on the record with `key`, the engine's text below it.
    QString describe(const QSqlError& error, const QStringList& key) const;
    QSqlError execute(const QString& sql, const QVariantList& values = {});
    // The fault of an existing file's table against the schema, empty when it fits.
    QString checkExisting(const QSqlDatabase& db) const;
    // The fault of an existing file as a database (SQLite's integrity check), empty when whole.
    static QString checkIntegrity(const QSqlDatabase& db);

    Schema schema_;
    QString connection_;
    std::unique_ptr<CatalogueModel> model_;
    QString order_;
    int row_ = -1;
    QString lastError_;
    bool openFailed_ = false;
};

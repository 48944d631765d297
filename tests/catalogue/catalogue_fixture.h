// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogueui.h"
#include "model/schematic.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>

#include <gtest/gtest.h>

// Catalogue files written directly with SQL in a temporary folder, as a user's SQLite tool would.
struct SeedPicture {
    QString name;
    int width;
    int height;
};
struct SeedElement {
    QString name;
    QString imageName;
    QString intDefine = QStringLiteral("101");
    QString extDefine = QStringLiteral("010");
};
struct SeedChip {
    QString mark;
    QString type;
    QString elemName;
    QVariant elemCount;
};

// The add-chip dialog lists its chips straight into `s`.
inline CatalogueUi::ChipLister ListInto(Schematic& s) {
    return [&s](const QString& mark, int elements) { s.ListChip(mark, elements); };
}

inline QByteArray BmpOf(int width, int height, QColor color = Qt::white) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// Runs statements on a catalogue file (created when missing), `binds[i]` bound to statement i.
inline void ExecOn(const QString& file, const QStringList& sql, const QList<QVariantList>& binds = {}) {
    const QString name = QStringLiteral("seed");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        for (qsizetype i = 0; i < sql.size(); ++i) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.prepare(sql[i])) << q.lastError().text().toStdString();
            for (const QVariant& v : binds.value(i))
                q.addBindValue(v);
            ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The same on a new file in place of `file`.
inline void ExecAll(const QString& file, const QStringList& sql, const QList<QVariantList>& binds = {}) {
    QFile::remove(file);
    ExecOn(file, sql, binds);
}

inline void WriteCatalogue(const QString& folder, const QList<SeedPicture>& pictures,
                           const QList<SeedElement>& elements, const QList<SeedChip>& chips) {
    QStringList sql{
        QStringLiteral("CREATE TABLE elements_images(Name TEXT NOT NULL PRIMARY KEY, Image BLOB)")};
    QList<QVariantList> binds{{}};
    for (const SeedPicture& p : pictures) {
        sql << QStringLiteral("INSERT INTO elements_images VALUES (?, ?)");
        binds << QVariantList{p.name, BmpOf(p.width, p.height)};
    }
    ExecAll(QDir(folder).filePath(QStringLiteral("elements_images.db")), sql, binds);

    sql = {QStringLiteral(
        "CREATE TABLE elements(Name TEXT NOT NULL UNIQUE, Int_Define TEXT NOT NULL DEFAULT '', "
        "Ext_Define TEXT NOT NULL DEFAULT '', Image_Name TEXT NOT NULL DEFAULT '', "
        "Script TEXT NOT NULL DEFAULT '')")};
    binds = {{}};
    for (const SeedElement& e : elements) {
        sql << QStringLiteral("INSERT INTO elements VALUES (?, ?, ?, ?, 'Y=1&2')");
        binds << QVariantList{e.name, e.intDefine, e.extDefine, e.imageName};
    }
    ExecAll(QDir(folder).filePath(QStringLiteral("elements.db")), sql, binds);

    sql = {QStringLiteral(
        "CREATE TABLE microchips(Mark TEXT NOT NULL, Type TEXT NOT NULL DEFAULT '', Elem_Count "
        "REAL, Legs_Count REAL, Elem_name TEXT NOT NULL DEFAULT '', Image_name TEXT NOT NULL "
        "DEFAULT '', React_Time_LH REAL, React_Time_HL REAL, Power REAL, Voltage REAL, "
        "Low_voltage REAL, High_voltage REAL, PRIMARY KEY (Mark, Type))")};
    binds = {{}};
    for (const SeedChip& c : chips) {
        sql << QStringLiteral(
            "INSERT INTO microchips (Mark, Type, Elem_name, Elem_Count) VALUES (?, ?, ?, ?)");
        binds << QVariantList{c.mark, c.type, c.elemName, c.elemCount};
    }
    ExecAll(QDir(folder).filePath(QStringLiteral("microchips.db")), sql, binds);
}

// The usual small catalogue: three pictures of different heights, three element types, chips.
inline void WriteSmallCatalogue(const QString& folder) {
    WriteCatalogue(folder, {{"A", 50, 60}, {"B", 50, 100}, {"C", 50, 95}},
                   {{"AND", "B"}, {"OR", "C"}, {"NOT", "A", "01", "01"}},
                   {{"K1", "t1", "OR", 4}, {"K2", "t2", "AND", 1}, {"K3", "t3", "NOT", 6}});
}

// Closes every message box that comes up while it lives, keeping the texts.
class MessageCollector {
public:
    MessageCollector() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start(5);
    }
    QStringList texts;

private:
    QTimer timer_;
};

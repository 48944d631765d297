// SPDX-License-Identifier: MIT
#pragma once

#include "tools/batch.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

// Lets GoogleTest show QStrings as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// What a batch command printed and returned.
struct BatchResult {
    int status = -1;
    QString out;
    QString err;
};

// Writes netlist files into a temporary folder and calls a batch command in-process with
// temporary files for its two output streams.
class BatchFixture : public ::testing::Test {
protected:
    using Command = int (*)(const QStringList&, FILE*, FILE*);

    QString Write(const QByteArray& text, const QString& name = QStringLiteral("schematic.net")) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        return path;
    }
    QString Write(const QString& text) { return Write(text.toUtf8()); }
    QString Write(const char* text) { return Write(QByteArray(text)); }

    // A fixture file under tests/data.
    static QString DataPath(const char* name) { return QStringLiteral(TARNWELL_TEST_DATA "/") + name; }
    static QByteArray Data(const char* name) {
        QFile f(DataPath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }

    // A file the command wrote, whole.
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    static BatchResult Call(Command command, const QStringList& args) {
        FILE* out = std::tmpfile();
        BatchResult r = Call(command, args, out);
        r.out = ReadAll(out);
        std::fclose(out);
        return r;
    }
    // Calls with `out` as standard output (left open); fills status and err only.
    static BatchResult Call(Command command, const QStringList& args, FILE* out) {
        FILE* err = std::tmpfile();
        BatchResult r;
        r.status = command(args, out, err);
        r.err = ReadAll(err);
        std::fclose(err);
        return r;
    }

    static QString ReadAll(FILE* f) {
        std::rewind(f);
        QByteArray bytes;
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, static_cast<qsizetype>(n));
        return QString::fromUtf8(bytes);
    }

    QTemporaryDir dir;
};

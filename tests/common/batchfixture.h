// SPDX-License-Identifier: MIT
#pragma once

#include "tools/batch.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

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

    static BatchResult Call(Command command, const QStringList& args) {
        FILE* out = std::tmpfile();
        FILE* err = std::tmpfile();
        BatchResult r;
        r.status = command(args, out, err);
        r.out = ReadAll(out);
        r.err = ReadAll(err);
        std::fclose(out);
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

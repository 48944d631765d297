// SPDX-License-Identifier: MIT
#include "tools/batchio.h"

#include "document/netlistload.h"
#include "sim/traceexport.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>

void ReportError(FILE* err, const QString& message) {
    const QByteArray bytes = QStringLiteral("tarnwell-batch: %1\n").arg(message).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), err);
    std::fflush(err);
}

std::optional<QByteArray> ReadInputFile(const QString& path, FILE* err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportError(err, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    // Reads in pieces so that a device without an end stops one byte past the limit.
    QByteArray bytes;
    for (;;) {
        const qint64 room = MaxNetlistBytes + 1 - bytes.size();
        if (room <= 0) {
            ReportError(err, QStringLiteral("%1 is larger than %2 MiB").arg(path).arg(MaxNetlistBytes >> 20));
            return std::nullopt;
        }
        const qsizetype before = bytes.size();
        bytes.resize(before + static_cast<qsizetype>(std::min<qint64>(room, qint64{1} << 20)));
        const qint64 n = file.read(bytes.data() + before, bytes.size() - before);
        if (n < 0) {
            ReportError(err, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
            return std::nullopt;
        }
        bytes.resize(before + static_cast<qsizetype>(n));
        if (n == 0) break;
    }
    return bytes;
}

std::optional<NetlistResult> ReadNetlistFile(const QString& path, SchematicDocument& document, FILE* err) {
    const std::optional<QByteArray> bytes = ReadInputFile(path, err);
    if (!bytes) return std::nullopt;
    // Stateless: a sequence cut off at the end of the file is an error, not a wait for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(*bytes);
    if (utf8.hasError()) {
        ReportError(err, QStringLiteral("%1 is not UTF-8 text").arg(path));
        return std::nullopt;
    }
    NetlistResult r = LoadNetlist(text, document);
    if (!r.ok) {
        ReportError(err, QStringLiteral("%1: %2").arg(path, r.message));
        return std::nullopt;
    }
    for (const QString& warning : r.warnings)
        ReportError(err, QStringLiteral("%1: %2").arg(path, warning));
    return r;
}

bool WriteFileWhole(const QString& path, const QByteArray& bytes, FILE* err) {
    QString why;
    if (SaveFileWhole(path, bytes, &why)) return true;
    ReportError(err, QStringLiteral("cannot write %1: %2").arg(path, why));
    return false;
}

bool WriteOutput(FILE* out, const QByteArray& bytes, FILE* err) {
    const size_t size = static_cast<size_t>(bytes.size());
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size, out) == size && std::fflush(out) == 0) return true;
    const int code = errno;
    ReportError(err,
                QStringLiteral("cannot write the output: %1")
                    .arg(code ? QString::fromLocal8Bit(std::strerror(code)) : QStringLiteral("write error")));
    return false;
}

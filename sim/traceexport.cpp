// SPDX-License-Identifier: MIT
#include "sim/traceexport.h"

#include "sim/vcdwriter.h"

#include <QSaveFile>

#include <algorithm>

namespace {

// The changes of a record from `start` on, and its level before them.
struct Slice {
    std::span<const TSimTime> changes;
    bool initial;
};

Slice SliceFrom(const TraceRecord& r, TSimTime start) {
    const auto from = std::lower_bound(r.transitions.begin(), r.transitions.end(), start);
    const auto skipped = from - r.transitions.begin();
    return {r.transitions.subspan(static_cast<size_t>(skipped)), r.levelBefore != (skipped % 2 != 0)};
}

QByteArray CsvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r'))
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

} // namespace

TraceRecord ProbeRecord(const TElement& probe) {
    return {probe.Name, probe.Transitions, probe.LevelBefore, probe.RecordFrom};
}

TSimTime RecordStart(const std::vector<TraceRecord>& records) {
    TSimTime start = 0;
    for (const TraceRecord& r : records)
        start = std::max(start, r.recordFrom);
    return start;
}

QByteArray TracesVcd(const std::vector<TraceRecord>& records, TSimTime endTime) {
    const TSimTime start = RecordStart(records);
    std::vector<VcdWire> wires;
    wires.reserve(records.size());
    for (const TraceRecord& r : records) {
        const Slice slice = SliceFrom(r, start);
        VcdWire& w = wires.emplace_back();
        w.scope = QStringLiteral("probes");
        w.name = r.name;
        w.initial = slice.initial;
        w.changes.reserve(slice.changes.size());
        bool level = slice.initial;
        for (TSimTime t : slice.changes)
            w.changes.emplace_back(t, level = !level);
    }
    return VcdText(wires, start, std::max(start, endTime));
}

QByteArray TracesCsv(const std::vector<TraceRecord>& records) {
    const TSimTime start = RecordStart(records);
    struct Row {
        TSimTime time;
        size_t record;
        bool level;
    };
    std::vector<Row> rows;
    for (size_t i = 0; i < records.size(); ++i) {
        const Slice slice = SliceFrom(records[i], start);
        bool level = slice.initial;
        for (TSimTime t : slice.changes)
            rows.push_back({t, i, level = !level});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.time < b.time; });
    std::vector<QByteArray> names;
    for (const TraceRecord& r : records)
        names.push_back(CsvField(r.name));
    QByteArray out = "time,probe,level\n";
    for (const Row& row : rows)
        out += QByteArray::number(row.time) + ',' + names[row.record] + ',' + (row.level ? '1' : '0') + '\n';
    return out;
}

bool SaveFileWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    if (error) *error = file.errorString();
    return false;
}

// SPDX-License-Identifier: MIT
// The netlist's edit lines as edits of the document, undo and redo lines among them.
#include "document/netlistload.h"
#include "model/invariants.h"
#include "model/schematicfiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The edit lines change the schematic through the document's edits once every element and net is
// in, without routing.
TEST(NetlistLoad, EditLinesApplyInFileOrderAfterReading) {
    QFile f(QStringLiteral(TARNWELL_TEST_DATA "/edits.net"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    SchematicDocument d;
    const RoutingGrids unrouted = d.grids();
    const NetlistResult r = LoadNetlist(QString::fromUtf8(f.readAll()), d);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const Schematic& s = d.schematic();
    ASSERT_EQ(s.ElementCount(), 4);
    EXPECT_EQ(s.element(2).Name, QStringLiteral("D3.1"));
    EXPECT_EQ(s.Conns(), (std::vector<TConns>{{{1, 0}, {3, 1}, {4, 1}}, {{4, 0}, {3, 0}}, {{2, 0}, {1, 1}}}));
    EXPECT_EQ(d.grids().WireMap, unrouted.WireMap);
    EXPECT_TRUE(d.routeAfterEdits());
}

// What a random file leaves: its elements and nets as the files write them.
struct Result {
    bool ok = false;
    QString message;
    QByteArray elements, nets;
    RoutingGrids grids;
    friend bool operator==(const Result& a, const Result& b) {
        return a.ok == b.ok && a.message == b.message && a.elements == b.elements && a.nets == b.nets &&
               a.grids.WireMap == b.grids.WireMap && a.grids.NetMap == b.grids.NetMap;
    }
};

Result Load(const QString& text) {
    SchematicDocument d;
    const NetlistResult r = LoadNetlist(text, d);
    d.Reroute();
    EXPECT_EQ(CheckInvariants(d.schematic()), "");
    return {r.ok, r.message, WriteElementFile(d.schematic()), WriteNetFile(d.schematic()), d.grids()};
}

// Random files of elements, nets and valid edit lines with undo and redo lines among them, written
// while a document follows them (so every name is known where it stands). A file acts as the same
// file without its undo and redo lines and without the edit lines they left undone.
TEST(NetlistLoad, AFileActsAsItsLinesLeftUndoneRemoved) {
    int undos = 0;
    for (uint32_t seed = 1; seed <= 1000; ++seed) {
        std::mt19937 rng(seed);
        const auto range = [&rng](int lo, int hi) {
            return lo + static_cast<int>(rng() % static_cast<uint32_t>(hi - lo + 1));
        };
        QString head;
        const int count = range(3, 7);
        for (int i = 1; i <= count; ++i)
            head += QStringLiteral("element E%1 %2 %3 4 5 0101 01 1 1\n")
                        .arg(i)
                        .arg(range(2, 50))
                        .arg(range(2, 50));
        head += QStringLiteral("net 1 0 2 2\n");

        SchematicDocument follow;
        ASSERT_TRUE(LoadNetlist(head, follow).ok);
        const Schematic& s = follow.schematic();
        struct Line {
            QString text;
            bool step = false;
        };
        std::vector<Line> done, undone;
        QString full = head;
        for (int k = range(4, 14); k > 0; --k) {
            const int kind = range(0, 6);
            if (kind == 5 && !done.empty()) {
                full += QStringLiteral("undo\n");
                if (done.back().step) follow.Undo();
                undone.push_back(done.back());
                done.pop_back();
                ++undos;
                continue;
            }
            if (kind == 6 && !undone.empty()) {
                full += QStringLiteral("redo\n");
                if (undone.back().step) follow.Redo();
                done.push_back(undone.back());
                undone.pop_back();
                continue;
            }
            if (s.ElementCount() == 0) break;
            const auto name = [&](int e) { return s.element(e).Name; };
            const int a = range(1, s.ElementCount()), b = range(1, s.ElementCount());
            const int la = range(0, 2), lb = range(0, 2);
            QString line;
            if (kind <= 1 && !(a == b && la == lb))
                line = QStringLiteral("connect %1 %2 %3 %4").arg(name(a)).arg(la).arg(name(b)).arg(lb);
            else if (kind == 2)
                line = QStringLiteral("disconnect %1 %2").arg(name(a)).arg(la);
            else if (kind == 3)
                line = QStringLiteral("removenet %1").arg(range(-1, static_cast<int>(s.Conns().size())));
            else
                line = a == b ? QStringLiteral("delete %1").arg(name(a))
                              : QStringLiteral("delete %1 %2").arg(name(a), name(b));
            // The follower takes the line through the loader's own path: a file of its state plus it.
            const uint64_t made = follow.stepsMade();
            std::vector<int> elements;
            std::vector<TPinRef> pins;
            TNetlistEdit e;
            const QStringList w = line.split(u' ');
            if (w[0] == u"connect") {
                e = {0, NetlistEditKind::Connect, {w[1], w[3]}, {w[2].toInt(), w[4].toInt()}};
                ASSERT_EQ(ResolveEdit(s, e, &elements, &pins), "");
                follow.ConnectPins(pins[0], pins[1]);
            } else if (w[0] == u"disconnect") {
                e = {0, NetlistEditKind::Disconnect, {w[1]}, {w[2].toInt(), 0}};
                ASSERT_EQ(ResolveEdit(s, e, &elements, &pins), "");
                follow.DisconnectPin(pins[0]);
            } else if (w[0] == u"removenet") {
                follow.RemoveNet(w[1].toInt());
            } else {
                e = {0, NetlistEditKind::Delete, w.mid(1)};
                ASSERT_EQ(ResolveEdit(s, e, &elements, &pins), "");
                follow.schematic().DeselectAll();
                for (int el : elements)
                    follow.schematic().SelectElement(el);
                follow.DeleteSelected();
            }
            done.push_back({line, follow.stepsMade() != made});
            undone.clear();
            full += line + u'\n';
        }
        QString kept = head;
        for (const Line& l : done)
            kept += l.text + u'\n';
        const Result a = Load(full), b = Load(kept);
        ASSERT_TRUE(a.ok) << a.message.toStdString() << "\n" << full.toStdString();
        ASSERT_TRUE(a == b) << "seed " << seed << "\n" << full.toStdString();
    }
    EXPECT_GT(undos, 500);
}

} // namespace

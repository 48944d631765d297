// SPDX-License-Identifier: MIT
// Writes the example schematics: each is built with the program's own edits (listing chips and
// special elements, placing them with the default catalogue's data, moving and connecting) and
// saved as the program saves it. The circuits with switches also get a netlist of the same
// elements and nets with switch toggles, so a run can turn the switches over.
#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"
#include "document/schematicdocument.h"
#include "model/netlist.h"
#include "model/schematicfiles.h"
#include "model/specialelements.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

class Builder {
public:
    explicit Builder(Catalogue& catalogue) : s(doc.schematic()) {
        doc.setPlacementSource(CataloguePlacement(catalogue));
        // The files hold no wires.
        doc.setRouteAfterEdits(false);
    }

    SchematicDocument doc;
    Schematic& s;

    // Lists a chip and returns its group node.
    QStandardItem* Chip(const char* mark, int elements) {
        return doc.ListChip(QString::fromUtf8(mark), elements);
    }
    // Places a listed node at cell (x, y); returns the element index.
    int Place(QStandardItem* node, int x, int y) {
        QString error;
        const int index = doc.PlaceNode(node, false, nullptr, &error);
        if (index == 0)
            throw std::runtime_error("cannot place " + node->text().toStdString() + ": " +
                                     error.toStdString());
        doc.MoveElements({{index, {x, y}}});
        return index;
    }
    int Special(ElementKind kind, int x, int y) { return Place(doc.ListSpecial(kind), x, y); }
    // Joins the pins into one net, in this order.
    void Net(std::vector<std::pair<int, int>> pins) {
        for (size_t i = 1; i < pins.size(); ++i)
            if (!doc.ConnectPins({pins[0].first, pins[0].second}, {pins[i].first, pins[i].second}))
                throw std::runtime_error("cannot connect");
    }
};

// The netlist of the same schematic: its elements with their pin strings and scripts, its nets,
// then the toggles.
QByteArray Netlist(const Schematic& s, const QString& title, const QStringList& toggles) {
    QString out = QStringLiteral("# %1\n").arg(title) + NetlistText(s);
    for (const QString& t : toggles)
        out += QStringLiteral("toggle %1\n").arg(t);
    return out.toUtf8();
}

void Save(SchematicDocument& doc, const QString& folder, const char* name) {
    const QString error = doc.Save(SchematicFileNames(QDir(folder).filePath(QString::fromUtf8(name))));
    if (!error.isEmpty()) throw std::runtime_error(error.toStdString());
}

void WriteText(const QString& folder, const char* name, const QByteArray& text) {
    QFile f(QDir(folder).filePath(QString::fromUtf8(name)));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
        throw std::runtime_error("cannot write " + std::string(name));
}

// Two NAND gates cross-coupled, each set input from a switch (active low), an indicator and a
// probe on each output.
void RsLatch(Catalogue& catalogue, const QString& folder) {
    Builder b(catalogue);
    QStandardItem* chip = b.Chip("К155ЛА3", 4);
    const int q = b.Place(chip->child(0), 25, 10);
    const int nq = b.Place(chip->child(1), 25, 28);
    const int set = b.Special(ElementKind::Switch, 8, 10);
    const int reset = b.Special(ElementKind::Switch, 8, 32);
    const int lampQ = b.Special(ElementKind::Indicator, 45, 11);
    const int lampNQ = b.Special(ElementKind::Indicator, 45, 29);
    const int probeQ = b.Special(ElementKind::Probe, 55, 3);
    const int probeNQ = b.Special(ElementKind::Probe, 55, 30);
    b.Net({{set, 0}, {q, 0}});
    b.Net({{reset, 0}, {nq, 1}});
    b.Net({{q, 2}, {nq, 0}, {lampQ, 0}, {probeQ, 0}});
    b.Net({{nq, 2}, {q, 1}, {lampNQ, 0}, {probeNQ, 0}});
    Save(b.doc, folder, "rs_latch.tsv");
    WriteText(folder, "rs_latch.net",
              Netlist(b.s,
                      QStringLiteral("RS latch of two NANDs; the switches are the active-low set and reset"),
                      {QStringLiteral("Переключатель2 100"), QStringLiteral("Переключатель1 200"),
                       QStringLiteral("Переключатель2 300"), QStringLiteral("Переключатель2 400")}));
}

// Three inverters in a ring, a probe on the last one's output.
void RingOscillator(Catalogue& catalogue, const QString& folder) {
    Builder b(catalogue);
    QStandardItem* chip = b.Chip("К155ЛН1", 6);
    const int a = b.Place(chip->child(0), 20, 20);
    const int c = b.Place(chip->child(1), 35, 20);
    const int d = b.Place(chip->child(2), 50, 20);
    const int probe = b.Special(ElementKind::Probe, 65, 18);
    b.Net({{a, 1}, {c, 0}});
    b.Net({{c, 1}, {d, 0}});
    b.Net({{d, 1}, {a, 0}, {probe, 0}});
    Save(b.doc, folder, "ring_oscillator.tsv");
}

// Sum = A xor B from four NANDs, carry = A and B; two switches in, two indicators out.
void HalfAdder(Catalogue& catalogue, const QString& folder) {
    Builder b(catalogue);
    QStandardItem* nands = b.Chip("К155ЛА3", 4);
    QStandardItem* ands = b.Chip("К155ЛИ1", 4);
    const int n1 = b.Place(nands->child(0), 22, 24);
    const int n2 = b.Place(nands->child(1), 38, 10);
    const int n3 = b.Place(nands->child(2), 38, 38);
    const int n4 = b.Place(nands->child(3), 54, 24);
    const int carry = b.Place(ands->child(0), 38, 55);
    const int a = b.Special(ElementKind::Switch, 5, 10);
    const int bIn = b.Special(ElementKind::Switch, 5, 42);
    const int sum = b.Special(ElementKind::Indicator, 70, 25);
    const int c = b.Special(ElementKind::Indicator, 70, 56);
    b.Net({{a, 0}, {n1, 0}, {n2, 0}, {carry, 0}});
    b.Net({{bIn, 0}, {n1, 1}, {n3, 1}, {carry, 1}});
    b.Net({{n1, 2}, {n2, 1}, {n3, 0}});
    b.Net({{n2, 2}, {n4, 0}});
    b.Net({{n3, 2}, {n4, 1}});
    b.Net({{n4, 2}, {sum, 0}});
    b.Net({{carry, 2}, {c, 0}});
    Save(b.doc, folder, "half_adder.tsv");
    WriteText(folder, "half_adder.net",
              Netlist(b.s, QStringLiteral("Half adder; A = Переключатель1, B = Переключатель2"),
                      {QStringLiteral("Переключатель1 100"), QStringLiteral("Переключатель2 200"),
                       QStringLiteral("Переключатель1 300")}));
}

// A master-slave D flip-flop of eight NANDs whose inverted output is its D input, clocked by the
// generator's two complementary outputs: the output toggles once per generator period. A NAND
// latch whose two gates change together at the same moment never settles in a simulator without
// skew (both outputs go up and down in step), so one gate of each latch pair comes from the faster
// К555ЛА3: the latch settles one way at the start, as a real one does at power-up.
void DivideByTwo(Catalogue& catalogue, const QString& folder) {
    Builder b(catalogue);
    QStandardItem* slow = b.Chip("К155ЛА3", 4);
    QStandardItem* fast = b.Chip("К555ЛА3", 4);
    QStandardItem* slow2 = b.Chip("К155ЛА3", 4);
    const int gen = b.Special(ElementKind::Generator, 3, 20);
    const int m1 = b.Place(slow->child(0), 20, 10);
    const int m2 = b.Place(slow->child(1), 20, 40);
    const int mq = b.Place(fast->child(0), 35, 10);
    const int mnq = b.Place(slow->child(2), 35, 40);
    const int s1 = b.Place(slow->child(3), 52, 10);
    const int s2 = b.Place(slow2->child(0), 52, 40);
    const int sq = b.Place(fast->child(1), 67, 10);
    const int snq = b.Place(slow2->child(1), 67, 40);
    const int clockProbe = b.Special(ElementKind::Probe, 5, 60);
    const int outProbe = b.Special(ElementKind::Probe, 85, 8);
    b.doc.SetGeneratorDurations(gen, 50, 50);
    b.Net({{gen, 0}, {m1, 1}, {m2, 1}, {clockProbe, 0}});
    b.Net({{gen, 1}, {s1, 1}, {s2, 1}});
    b.Net({{m1, 2}, {mq, 0}});
    b.Net({{m2, 2}, {mnq, 1}});
    b.Net({{mq, 2}, {mnq, 0}, {s1, 0}});
    b.Net({{mnq, 2}, {mq, 1}, {s2, 0}});
    b.Net({{s1, 2}, {sq, 0}});
    b.Net({{s2, 2}, {snq, 1}});
    b.Net({{sq, 2}, {snq, 0}, {m2, 0}, {outProbe, 0}});
    b.Net({{snq, 2}, {sq, 1}, {m1, 0}});
    Save(b.doc, folder, "divide_by_two.tsv");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarnwell-mkexamples BASES OUTPUT\n");
        return 2;
    }
    Catalogue catalogue(QString::fromLocal8Bit(argv[1]));
    for (const QString& error : {catalogue.openPictures(), catalogue.openElements(), catalogue.openChips()}) {
        if (!error.isEmpty()) {
            std::fprintf(stderr, "tarnwell-mkexamples: %s\n", qPrintable(error));
            return 1;
        }
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    try {
        RsLatch(catalogue, out);
        RingOscillator(catalogue, out);
        HalfAdder(catalogue, out);
        DivideByTwo(catalogue, out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnwell-mkexamples: %s\n", e.what());
        return 1;
    }
    return 0;
}

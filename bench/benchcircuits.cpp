// SPDX-License-Identifier: MIT
// Writes the simulator benchmark's circuits for the side-by-side comparison with other simulators
// (bench/side_by_side.sh): each as a netlist for tarnwell-batch and as gate-level Verilog.
//
//   tarnwell-benchcircuits CIRCUIT DIR UNITS [T...]
//
// CIRCUIT is one of bench_sim's circuits: busy_chain, idle_chain, or nand_network with every delay
// 1 (the Verilog simulators disagree with each other and with the filtering of short pulses
// here once gates have delays of several units, and verga takes no separate rise and fall delays).
// Writes DIR/CIRCUIT.net and DIR/CIRCUIT.v. The Verilog runs UNITS units and, for every sample time
// T, prints the levels of all nets as they stand after unit T - 1 (what `tarnwell-batch run
// CIRCUIT.net --units T` prints as NetLevels) as one line "T LEVELS", net N - 1 first.
//
// The translation: a net is a wire driven by the last output in its pin order (its one output in
// these circuits); a chip element is the primitive of its expression with its delays (#D, or
// #(LH, HL) when they differ); a generator is a register pair that starts high (its complement low)
// and changes after its high duration, then after its low duration, and so on, as the generator's
// first output does from unit 0 on. An input in no net reads 0.
#include "model/netlist.h"
#include "sim/expression.h"
#include "tools/gen/clockedcircuits.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <map>

namespace {

constexpr int Elements = 1000;

bool Build(const QString& name, Schematic& s) {
    if (name == u"busy_chain")
        MakeInverterChain(s, Elements - 1, 1, 1);
    else if (name == u"nand_network")
        MakeNandNetwork(s, Elements - 8, 8, 2024, 1);
    else if (name == u"idle_chain")
        MakeInverterChain(s, Elements - 1, 334, 334);
    else
        return false;
    return true;
}

const char* Primitive(ExprCode code) {
    switch (code) {
    case ExprCode::Not1:
        return "not";
    case ExprCode::Or2:
    case ExprCode::Or4:
        return "or";
    case ExprCode::And2:
    case ExprCode::And4:
        return "and";
    case ExprCode::Nand2:
    case ExprCode::Nand8:
        return "nand";
    case ExprCode::Nor2:
        return "nor";
    case ExprCode::Other:
        break;
    }
    return nullptr;
}

int Operands(ExprCode code) {
    switch (code) {
    case ExprCode::Not1:
        return 1;
    case ExprCode::Or4:
    case ExprCode::And4:
        return 4;
    case ExprCode::Nand8:
        return 8;
    default:
        return 2;
    }
}

QString Verilog(const Schematic& s, int64_t units, const std::vector<int64_t>& samples, QString* error) {
    // The Verilog name of every pin that is in a net: its net's driver.
    std::map<std::pair<int, int>, QString> pinName;
    QString decl, body;
    const std::vector<TConns>& conns = s.Conns();
    QStringList netNames;
    for (size_t n = 0; n < conns.size(); ++n) {
        const TPinRef* driver = nullptr;
        for (const TPinRef& pin : conns[n])
            if (s.element(pin.Element).Legs[static_cast<size_t>(pin.Leg)].X != 0) driver = &pin;
        QString name = driver ? QStringLiteral("e%1_%2").arg(driver->Element).arg(driver->Leg)
                              : QStringLiteral("n%1").arg(n);
        if (!driver) body += QStringLiteral("  assign %1 = 1'b0;\n").arg(name);
        for (const TPinRef& pin : conns[n])
            pinName[{pin.Element, pin.Leg}] = name;
        netNames << name;
    }
    const auto pin = [&](int element, int leg) {
        const auto it = pinName.find({element, leg});
        if (it != pinName.end()) return it->second;
        const TLeg& l = s.element(element).Legs[static_cast<size_t>(leg)];
        return l.X == 0 ? QStringLiteral("1'b0") : QStringLiteral("e%1_%2").arg(element).arg(leg);
    };
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        if (e.kind() == ElementKind::Generator) {
            const QString q = QStringLiteral("e%1_0").arg(i), qn = QStringLiteral("e%1_1").arg(i);
            decl += QStringLiteral("  reg %1, %2;\n").arg(q, qn);
            body += QStringLiteral("  initial begin %1 = 1; %2 = 0; end\n").arg(q, qn);
            if (e.Reaction_HL == e.Reaction_LH)
                body += QStringLiteral("  always #%1 begin %2 = ~%2; %3 = ~%3; end\n")
                            .arg(e.Reaction_HL)
                            .arg(q, qn);
            else
                body += QStringLiteral("  always begin #%1 %3 = 0; %4 = 1; #%2 %3 = 1; %4 = 0; end\n")
                            .arg(e.Reaction_HL)
                            .arg(e.Reaction_LH)
                            .arg(q, qn);
            continue;
        }
        const ExprCode code =
            e.Script.isEmpty() ? ExprCode::Other : ResolveExpression(ExpressionText(e.Script.first()));
        if (e.kind() != ElementKind::Chip || !Primitive(code)) {
            *error = QStringLiteral("element %1 has no Verilog primitive").arg(e.Name);
            return {};
        }
        TElement numbered = e;
        NumberLegs(numbered);
        QStringList inputs(Operands(code), QStringLiteral("1'b0"));
        QStringList outputs;
        for (size_t l = 0; l < numbered.Legs.size(); ++l) {
            const TLeg& leg = numbered.Legs[l];
            const QString name = pin(i, static_cast<int>(l));
            if (!leg.IsInput) {
                outputs << name;
                if (!decl.contains(QStringLiteral(" %1;").arg(name)))
                    decl += QStringLiteral("  wire %1;\n").arg(name);
            } else if (leg.Ordinal <= inputs.size()) {
                inputs[leg.Ordinal - 1] = name;
            }
        }
        const QString delay = e.Reaction_LH == e.Reaction_HL
                                  ? QStringLiteral("#%1").arg(e.Reaction_LH)
                                  : QStringLiteral("#(%1,%2)").arg(e.Reaction_LH).arg(e.Reaction_HL);
        for (int o = 0; o < outputs.size(); ++o)
            body += QStringLiteral("  %1 %2 g%3_%4 (%5, %6);\n")
                        .arg(QString::fromLatin1(Primitive(code)), delay)
                        .arg(i)
                        .arg(o)
                        .arg(outputs[o], inputs.join(QStringLiteral(", ")));
    }
    QString out = QStringLiteral("// Generated by tarnwell-benchcircuits.\nmodule top;\n") + decl + body;
    if (!samples.empty()) {
        QStringList msbFirst;
        for (qsizetype n = netNames.size() - 1; n >= 0; --n)
            msbFirst << netNames[n];
        out += QStringLiteral("  wire [%1:0] levels = {%2};\n")
                   .arg(netNames.size() - 1)
                   .arg(msbFirst.join(u','));
    }
    // Long waits in steps: verga does not come back from single delays of some thousand units.
    const auto wait = [](int64_t units) {
        constexpr int64_t Step = 1000;
        QString w = QStringLiteral("    ");
        if (units >= Step) w += QStringLiteral("repeat (%1) #%2; ").arg(units / Step).arg(Step);
        return w + QStringLiteral("#%1").arg(units % Step);
    };
    out += QStringLiteral("  initial begin\n");
    int64_t at = 0;
    for (int64_t t : samples) {
        out += wait(t - 1 - at) + QStringLiteral(" $strobe(\"%1 %b\", levels);\n").arg(t);
        at = t - 1;
    }
    out += wait(units - at) + QStringLiteral(" $finish;\n  end\nendmodule\n");
    return out;
}

bool Write(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray bytes = text.toUtf8();
    return f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: tarnwell-benchcircuits busy_chain|nand_network|idle_chain DIR UNITS [T...]\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    bool ok = false;
    const int64_t units = QByteArray(argv[3]).toLongLong(&ok);
    if (!ok || units < 1) {
        std::fprintf(stderr, "tarnwell-benchcircuits: bad UNITS %s\n", argv[3]);
        return 2;
    }
    std::vector<int64_t> samples;
    for (int a = 4; a < argc; ++a) {
        const int64_t t = QByteArray(argv[a]).toLongLong(&ok);
        if (!ok || t < 1 || t > units || (!samples.empty() && t <= samples.back())) {
            std::fprintf(stderr, "tarnwell-benchcircuits: bad sample time %s\n", argv[a]);
            return 2;
        }
        samples.push_back(t);
    }
    Schematic s;
    if (!Build(name, s)) {
        std::fprintf(stderr, "tarnwell-benchcircuits: unknown circuit %s\n", argv[1]);
        return 2;
    }
    QString error;
    const QString verilog = Verilog(s, units, samples, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tarnwell-benchcircuits: %s\n", qPrintable(error));
        return 2;
    }
    const QString base = dir.filePath(name);
    if (!Write(base + QStringLiteral(".net"),
               QStringLiteral("# %1, generated by tarnwell-benchcircuits\n").arg(name) + NetlistText(s)) ||
        !Write(base + QStringLiteral(".v"), verilog)) {
        std::fprintf(stderr, "tarnwell-benchcircuits: cannot write to %s\n", argv[2]);
        return 1;
    }
    return 0;
}

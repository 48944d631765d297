// SPDX-License-Identifier: MIT
#include "model/invariants.h"

#include <cstdint>
#include <sstream>
#include <unordered_map>

namespace {

// The words of a fault joined into its text.
template <class... Parts> std::string Fault(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

} // namespace

std::string CheckInvariants(const Schematic& s) {
    const int32_t count = s.ElementCount();
    if (count < 0 || count > MaxElements) return Fault("ElementCount ", count, " out of 0..", MaxElements);
    const std::vector<TConns>& nets = s.Conns();
    if (s.NetIds().size() != nets.size())
        return Fault(s.NetIds().size(), " net ids for ", nets.size(), " nets");
    std::unordered_map<uint64_t, size_t> owner; // pin -> its net
    for (size_t n = 0; n < nets.size(); ++n) {
        if (nets[n].size() < 2) return Fault("net ", n, " has ", nets[n].size(), " pin(s)");
        for (const TPinRef& p : nets[n]) {
            if (p.Element < 1 || p.Element > count)
                return Fault("net ", n, ": pin (", p.Element, ", ", p.Leg, ") names no element");
            if (p.Leg < 0 || static_cast<size_t>(p.Leg) >= s.element(p.Element).Legs.size())
                return Fault("net ", n, ": pin (", p.Element, ", ", p.Leg, ") names no leg");
            const uint64_t key = static_cast<uint64_t>(p.Element) << 32 | static_cast<uint32_t>(p.Leg);
            const auto [it, fresh] = owner.emplace(key, n);
            if (!fresh)
                return Fault("net ", n, ": pin (", p.Element, ", ", p.Leg, ") is also in net ", it->second);
        }
    }
    if (s.OscCount() < 0 || s.OscCount() > 5) return Fault("OscCount ", s.OscCount(), " out of 0..5");
    for (int c = 1; c <= 5; ++c) {
        const int32_t probe = s.OscChannel(c);
        if (probe != 0 && (probe < 1 || probe > count || s.element(probe).kind() != ElementKind::Probe))
            return Fault("channel ", c, " names element ", probe, ", no probe");
    }
    return {};
}

std::string CheckNavigator(const Schematic& s) {
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder()) {
        if (Navigator::imageIndex(node) != Navigator::ImagePlaced) continue;
        const int slot = Navigator::dataRef(node);
        const std::string name = node->text().toStdString();
        if (slot < 1 || slot > s.ElementCount()) return Fault("placed node ", name, " refers to slot ", slot);
        if (s.element(slot).Name != node->text())
            return Fault("placed node ", name, " refers to ", s.element(slot).Name.toStdString());
    }
    return {};
}

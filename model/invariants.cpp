// SPDX-License-Identifier: MIT
#include "model/invariants.h"

#include <cstdint>
#include <unordered_map>

std::string CheckInvariants(const Schematic& s) {
    const int32_t count = s.ElementCount();
    if (count < 0 || count > MaxElements) return "ElementCount " + std::to_string(count) + " out of 0..1000";
    const std::vector<TConns>& nets = s.Conns();
    if (s.NetIds().size() != nets.size())
        return std::to_string(s.NetIds().size()) + " net ids for " + std::to_string(nets.size()) + " nets";
    std::unordered_map<uint64_t, size_t> owner; // pin -> its net
    for (size_t n = 0; n < nets.size(); ++n) {
        const std::string net = "net " + std::to_string(n);
        if (nets[n].size() < 2) return net + " has " + std::to_string(nets[n].size()) + " pin(s)";
        for (const TPinRef& p : nets[n]) {
            const std::string pin = "(" + std::to_string(p.Element) + ", " + std::to_string(p.Leg) + ")";
            if (p.Element < 1 || p.Element > count) return net + ": pin " + pin + " names no element";
            if (p.Leg < 0 || static_cast<size_t>(p.Leg) >= s.element(p.Element).Legs.size())
                return net + ": pin " + pin + " names no leg";
            const uint64_t key = static_cast<uint64_t>(p.Element) << 32 | static_cast<uint32_t>(p.Leg);
            const auto [it, fresh] = owner.emplace(key, n);
            if (!fresh) return net + ": pin " + pin + " is also in net " + std::to_string(it->second);
        }
    }
    return {};
}

std::string CheckNavigator(const Schematic& s) {
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder()) {
        if (Navigator::imageIndex(node) != Navigator::ImagePlaced) continue;
        const int slot = Navigator::dataRef(node);
        const std::string name = node->text().toStdString();
        if (slot < 1 || slot > s.ElementCount())
            return "placed node " + name + " refers to slot " + std::to_string(slot);
        if (s.element(slot).Name != node->text())
            return "placed node " + name + " refers to " + s.element(slot).Name.toStdString();
    }
    return {};
}

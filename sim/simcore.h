// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/elementkinds.h"
#include "sim/probetrace.h"

#include <QMetaObject>
#include <QString>

#include <cstdint>
#include <vector>

// What both simulators share: the clock, one level per net, the two flags of the toolbar, the
// preparation of a run, the tables read from the schematic at each of its revisions, the plain
// pass and the indicators' pictures. Elements are visited through the behaviour table of their
// kind (sim/elementkinds.h). The simulators work only on the element table and the nets of the
// schematic they were given.
//
// A pass calls no code outside the simulator: an indicator whose State changes is only noted,
// and ShowIndicators, which RunUnit and RunUnits call after their units, gives it its lit or
// unlit picture (Selected false) with the schematic's elementImageChanged signal. So the
// schematic cannot change during a pass; between two calls anything may change.
//
// NetLevels keeps an entry for every net of Conns at all times the simulator reads it: PrepareRun
// sizes it to the nets, and every pass first makes it follow the nets as they are now: a net
// keeps its level wherever it moved, a removed net's level goes with it and a new net starts at
// 0. So deletions, merges, a new or a loaded schematic during a run never make a net read
// another net's level, nor a pass read past the end.
class SimCore {
public:
    explicit SimCore(Schematic& schematic);
    virtual ~SimCore();
    SimCore(const SimCore&) = delete;
    SimCore& operator=(const SimCore&) = delete;

    Schematic& schematic() { return s_; }

    // Resets for a new run: SimTime 0, one level 0 per net, every element's Transitions emptied
    // and State cleared (a switch that was on gets its off picture, a lit indicator its unlit
    // one), every leg numbered and its Timer cleared. Leg levels and Pending stay.
    void PrepareRun();
    // One evaluation pass: nets to inputs, elements by kind, outputs to nets. The pictures of the
    // indicators it changed wait for ShowIndicators.
    virtual void SimStep() = 0;
    // Two passes at the current time, the clock advances by one unit, then ShowIndicators.
    virtual void RunUnit();
    // Makes NetLevels follow the nets of the schematic (see the class comment).
    void SyncNetLevels();
    // Gives every indicator whose State changed since the last call the picture of its State.
    void ShowIndicators();

    // "Время: " followed by SimTime.
    QString TimeText() const;

    TSimTime SimTime = 0;
    std::vector<uint8_t> NetLevels;
    bool Paused = false;
    bool StopRequested = false;
    // How much each probe keeps of its input's changes.
    ProbeRecording Recording = ProbeRecording::Visible;

protected:
    static constexpr uint64_t NoRevision = ~uint64_t{0};

    // A leg with the element it belongs to or with the net it is loaded from or drives.
    struct PinLeg {
        TLeg* leg;
        uint32_t at;
    };

    // Reads the tables below from the schematic as it is now.
    virtual void ReadTables();
    bool TablesCurrent() const { return tablesRevision_ == s_.Revision(); }
    // The pass that loads every input, visits every element in table order and drives every net.
    void PlainPass();
    Visit VisitOf(int index) const {
        const auto i = static_cast<size_t>(index);
        return {elements_[i], index,       SimTime, codes_[i], &operands_[i * MaxOperands],
                Recording,    &indicators_};
    }

    Schematic& s_;
    // The tables of the schematic's revision tablesRevision_.
    uint64_t tablesRevision_ = NoRevision;
    int count_ = 0;
    TElement* elements_ = nullptr;                 // slot 0 of the element table
    std::vector<const KindBehaviour*> behaviours_; // per element index
    std::vector<ExprCode> codes_;                  // per element index
    std::vector<TLeg*> operands_;                  // per element, MaxOperands legs (FindOperands)
    std::vector<uint32_t> inputsBegin_;            // net n's loaded legs: inputs_[begin[n], begin[n+1])
    std::vector<PinLeg> inputs_;                   // with their elements, in net and pin order
    std::vector<PinLeg> inputNets_;                // the same legs with their nets
    std::vector<TLeg*> lastDriver_;                // per net: its last output in pin order, or null
    std::vector<int> driverElement_;               // per net: the element of lastDriver_
    mutable ChangedIndicators indicators_;

private:
    std::vector<uint64_t> levelIds_; // the net id of every entry of NetLevels
    uint64_t levelsRevision_ = NoRevision;
    QMetaObject::Connection followDeletions_;
    QMetaObject::Connection followRemovals_;
};

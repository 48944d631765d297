// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "sim/elementkinds.h"
#include "sim/probetrace.h"

#include <QMetaObject>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

// What both simulators share: the clock, one level per net, the two flags of the toolbar, the
// preparation of a run, the tables read from the schematic at each of its revisions, the plain
// pass and the indicators' pictures. Elements are visited through the behaviour table of their
// kind (sim/elementkinds.h). The simulators work only on the element table and the nets of the
// schematic they were given.
//
// A pass works on a compact copy of the legs' run-time fields (Pin), read with the tables and
// written back to the legs it changed at the end of every call (SimStep, RunUnit, RunUnits).
// Between calls the run may change a switch's State, a generator's durations and the level of a
// leg that is in no net, which the next call reads; every other run-time field of the legs, and a chip's
// delays, are the simulator's own while it runs. Any edit of the schematic (a new revision) and
// PrepareRun make the next call read everything again.
//
// A pass calls no code outside the simulator: an indicator whose State changes is only noted,
// and ShowIndicators, which RunUnit and RunUnits call after their units, gives it its lit or
// unlit picture (Selected false) with the schematic's elementImageChanged signal. So the
// schematic cannot change during a pass.
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
    // Under ProbeRecording::Whole all probes together keep at most this many bytes of changes,
    // an equal share each.
    size_t WholeRecordBytes = WholeRecordDefaultBytes;
    // When set, every indicator also keeps the time of each change of its State in its
    // Transitions, all of them (the runner's test command checks them).
    bool RecordIndicators = false;

protected:
    static constexpr uint64_t NoRevision = ~uint64_t{0};
    static constexpr uint32_t NoPin = ~uint32_t{0};

    // A pin with the element it belongs to, or with the net it is loaded from or drives.
    struct NetPin {
        uint32_t pin;
        uint32_t at;
    };
    // A leg in no net: the user may set its level between calls, and the next call takes it as
    // if the passes worked on the leg itself. Only a change of a leg its element reads wakes it.
    struct LoosePin {
        uint32_t pin;
        int element;
        const TLeg* leg;
        bool read;
    };

    // Reads the tables below, and the pins, from the schematic as it is now.
    virtual void ReadTables();
    bool TablesCurrent() const { return tablesRevision_ == s_.Revision(); }
    // Takes the levels the user gave the loose legs; `changed(element)` for every read one that
    // moved.
    template <class F> void ReadLoosePins(F&& changed) {
        for (const LoosePin& l : loose_) {
            if (pins_[l.pin].level == l.leg->Level) continue;
            pins_[l.pin].level = l.leg->Level;
            if (l.read) changed(l.element);
        }
    }
    // Writes the pins of element `index` back to its legs.
    void StorePins(int index);
    void StoreAllPins();
    // The pass that loads every input, visits every element in table order and drives every net.
    void PlainPass();
    // The context of a pass at the present time.
    const PassContext& Context() {
        context_.time = SimTime;
        context_.recording = Recording;
        context_.recordLimit = RecordLimit();
        context_.recordIndicators = RecordIndicators;
        return context_;
    }

    Schematic& s_;
    // The tables of the schematic's revision tablesRevision_.
    uint64_t tablesRevision_ = NoRevision;
    int count_ = 0;
    TElement* elements_ = nullptr;                 // slot 0 of the element table
    std::vector<Pin> pins_;                        // pin 0 (ZeroPin), then every leg in table order
    std::vector<uint32_t> pinBegin_;               // per element index, and one past the last
    std::vector<uint32_t> outputsBegin_;           // per element index, and one past the last
    std::vector<uint32_t> outputs_;                // the pins of legs numbered as outputs
    std::vector<const KindBehaviour*> behaviours_; // per element index
    std::vector<ExprCode> codes_;                  // per element index
    std::vector<ChipDelays> delays_;               // per element index
    std::vector<uint32_t> operands_;               // per element, MaxOperands pins (FindOperands)
    std::vector<uint32_t> inputsBegin_;            // net n's loaded pins: inputs_[begin[n], begin[n+1])
    std::vector<NetPin> inputs_;                   // with their elements, in net and pin order
    std::vector<NetPin> inputNets_;                // the same pins with their nets
    std::vector<uint32_t> lastDriver_;             // per net: its last output in pin order, or NoPin
    std::vector<int> driverElement_;               // per net: the element of lastDriver_
    std::vector<int32_t> pinNet_;                  // per pin: its net, -1 for none
    std::vector<LoosePin> loose_;
    ChangedIndicators indicators_;
    PassContext context_{};
    int probes_ = 0; // probe elements in the tables

    // The changes one probe keeps under ProbeRecording::Whole.
    size_t RecordLimit() const {
        return std::max<size_t>(2, WholeRecordBytes / sizeof(TSimTime) /
                                       static_cast<size_t>(std::max(1, probes_)));
    }

private:
    std::vector<uint64_t> levelIds_; // the net id of every entry of NetLevels
    uint64_t levelsRevision_ = NoRevision;
    QMetaObject::Connection followDeletions_;
    QMetaObject::Connection followRemovals_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include "model/navigator.h"
#include "model/placement.h"
#include "model/schematicchange.h"
#include "model/types.h"

#include <QByteArrayView>
#include <QObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

// Why a net cannot be added; `pin` is the first offending pin (in net order).
enum class NetFault { None, TooFewPins, NoSuchElement, NoSuchLeg, PinTaken };
struct NetCheck {
    NetFault fault = NetFault::None;
    TPinRef pin;
    explicit operator bool() const { return fault == NetFault::None; }
};

// The one schematic of the program: element table, nets, derived pin cells, the navigator tree
// and the counters. Every change to elements or nets goes through an operation below, which
// keeps the invariants and bumps Revision():
// - the elements in use are slots 1..ElementCount() without gaps;
// - every pin reference names an element in use and one of its legs, so readers never check;
// - a pin occurs in at most one net, at most once; every net has two pins or more.
// Cons, when derived, has the shape of Conns.
class Schematic : public QObject {
    Q_OBJECT
public:
    explicit Schematic(QObject* parent = nullptr);
    ~Schematic() override;

    // Slot i for i in 1..MaxElements.
    const TElement& element(int index) const { return elements_[static_cast<size_t>(index)]; }
    int32_t ElementCount() const { return elementCount_; }
    bool isFull() const { return elementCount_ >= MaxElements; }
    const std::vector<TConns>& Conns() const { return conns_; }
    const std::vector<TCons>& Cons() const { return cons_; }
    int32_t ChipCount() const { return chipCount_; }
    int32_t OscCount() const { return oscCount_; }
    // Element index of the probe on channel 1..5, 0 for none.
    int32_t OscChannel(int channel) const { return oscChannel_[static_cast<size_t>(channel)]; }
    // Puts element `element` (0 for none) on channel 1..5. Returns false and changes nothing for
    // a channel or element out of range.
    bool SetOscChannel(int channel, int element);
    const Navigator& navigator() const { return navigator_; }
    // The navigator's item model for a tree view to show. Views never edit it; whatever changes it
    // raises the revision all the same.
    QStandardItemModel& navigatorModel() { return navigator_.model(); }
    // A number per net that stays with the net while other nets come and go (nets keep their
    // order, so the ids increase along Conns). Lets run-time data follow its net.
    const std::vector<uint64_t>& NetIds() const { return netIds_; }
    // Raised by every operation that changes elements, nets or the navigator's listing; caches
    // of derived data key on it.
    uint64_t Revision() const { return revision_; }

    // Takes the next slot for `e` (its Selected and Transitions are reset). Returns the new
    // index, or 0 when the table is full (nothing changes then).
    int AddElement(TElement e);
    // Appends a net after checking every pin: returns the first fault, and adds nothing unless
    // there is none.
    NetCheck CheckNet(const TConns& net) const;
    NetCheck AddNet(TConns net);
    // True when the pin is in a net.
    bool PinIsConnected(TPinRef pin) const;
    // Joins two pins into one net: a new net [a, b] when neither is connected, the unconnected
    // one appended to the other's net, or net b's pins appended to net a and net b removed.
    // Returns false when nothing changed (both already in one net, or a pin that does not exist).
    bool ConnectPins(TPinRef a, TPinRef b);
    // Removes the pin from its net; a net left with fewer than two pins goes.
    void DisconnectPin(TPinRef pin);
    // Removes net n; nothing when n is no net.
    void RemoveNet(int n);
    // Deletes the selected elements: their pins leave the nets, nets left with fewer than two pins
    // go, later elements move down a slot (references follow) and the oscilloscope channels of a
    // deleted probe are cleared (the others follow their probe). The navigator is not touched.
    void DeleteSelected();
    // Clears elements, nets and derived cells, the oscilloscope channels and the navigator.
    // ChipCount stays (designators are never reused).
    void Clear();
    // Replaces the navigator's nodes by those of a tree file (ReadTreeFile, schematicfiles.h); the
    // nodes read before a failure remain. Returns the failure, empty when the whole file was read,
    // and the failing line (1-based) in `failedLine`.
    QString ReadTree(QByteArrayView bytes, qsizetype* failedLine = nullptr);

    // Selection, each over the elements in index order where it covers several. Selection is no
    // edit: it is never recorded, and the views draw the tint.
    void SelectElement(int index);
    void DeselectElement(int index);
    void SelectAll();
    void DeselectAll();
    void InvertSelection();
    // Moves an element's top-left cell.
    void SetCoord(int index, TPoint32 coord);
    // Replaces an element's picture; the element is no longer selected (a fresh picture is shown
    // without the tint, as a picture replaced on screen is).
    void SetBitmap(int index, QImage bitmap);
    // Inverts Selected.
    void ToggleSelection(int index);
    // Lists a chip in the navigator: raises ChipCount and inserts at the top a group node with
    // the marking (data reference = chip number) and `elementCount` listed nodes "D n" (one
    // element) or "D n.j". Returns the group node.
    QStandardItem* ListChip(const QString& mark, int elementCount);

    // Places the listed navigator node `node` as a new element built from `data` (a chip element
    // gets its designator written on the picture; a probe takes the channel of its number) at cell
    // (0, 0), marks the node placed with its slot and selects the element when `selectOnCreate`. Appends
    // "legs1 …" and "legs2 …" to `log`. Returns the new index, or 0 (nothing changed) when the node is no
    // listed element or the table is full.
    int PlaceNode(QStandardItem* node, const TPlacementData& data, bool selectOnCreate, QStringList* log);
    // Lists one element of a special kind under "Спец. элементы" (made as the last root node when
    // missing): numbered one above the highest of its kind, placed right after the last node of
    // its kind, or as the group's last child when it is the first. A probe's number sets OscCount;
    // a sixth probe is refused (null, nothing changes). Returns the new node.
    QStandardItem* ListSpecial(ElementKind kind);
    // A switch's position flips and its picture follows (without tint).
    void ToggleSwitch(int index);
    // A generator's durations of the high and the low level.
    void SetGeneratorDurations(int index, int32_t high, int32_t low);
    // An element's two delays (a generator's durations of the low and the high level).
    void SetReactions(int index, int32_t lh, int32_t hl) { SetGeneratorDurations(index, hl, lh); }
    // The number of oscilloscope channels listed, 0..5 (a loaded probe adds one).
    void SetOscCount(int32_t count);
    // Raises ChipCount to at least `n`, so later chips are numbered above it.
    void RaiseChipCount(int32_t n);

    // Re-links placed nodes to the elements of their name, and marks the nodes whose element is
    // gone as listed again.
    void AssociateTree();
    // Selection follows a click on a navigator node: only the node's element, or the placed
    // elements of a chip group; a click on the special group only clears the selection.
    void SelectFromTree(const QStandardItem* node);
    // Deletes the elements of a navigator node: of a chip group (the group node goes too) or of a
    // placed element (its node stays listed). Nothing for a listed node.
    void RemoveFromTree(QStandardItem* node);

    // Rebuilds Cons from Conns and the element coordinates; appends the trace lines to `log`.
    void DeriveCons(QStringList* log = nullptr);

    // Recording an edit: from StartRecording on, every operation notes what it is about to change,
    // and StopRecording returns the change (empty when nothing changed). One recording at a time;
    // an edit either deletes elements or adds elements and moves them, never both. Clear and the
    // loaders are not recorded.
    void StartRecording();
    SchematicChange StopRecording();
    bool recording() const { return recorder_ != nullptr; }
    // Takes a recorded change back; the schematic must stand as right after it. Afterwards it
    // stands exactly as before it (elements, nets with their ids, navigator, counters).
    void Revert(const SchematicChange& change);
    // Makes a recorded change again; the schematic must stand as right before it.
    void Reapply(const SchematicChange& change);
Q_SIGNALS:
    // The element's picture was replaced.
    void elementImageChanged(int index);
    // The element was selected or deselected.
    void selectionChanged(int index);
    // An element was added at `index`, or moved.
    void elementAdded(int index);
    void elementMoved(int index);
    // An element came back at `index` (a deletion taken back): the elements from there on moved up a
    // slot.
    void elementInserted(int index);
    // Element `index` was deleted and the later elements moved down a slot (emitted once per
    // deleted element, in the numbering left by the previous deletions).
    void elementDeleted(int index);
    // Elements were deleted or the schematic cleared: views follow the table again.
    void elementsRemoved();
    // An oscilloscope channel changed its probe.
    void channelsChanged();
    // Nets were added, joined, split or removed (also by deleting elements and clearing).
    void netsChanged();

private:
    // The simulators' access to one element's run-time fields: leg levels, numbering and timers,
    // State and Transitions. Nothing structural (legs, name, script, position) changes here; a
    // switch is flipped by ToggleSwitch.
    TElement& elementForRun(int index) { return elements_[static_cast<size_t>(index)]; }
    friend class SimCore;
    friend class Simulator;
    friend class FullPassSimulator;
    // The runner's test bench puts back the leg levels a run started from before each case.
    friend class TestBench;
    // Tests and benchmarks that set up a run's state by hand (tests/common/runaccess.h).
    friend struct SchematicRunAccess;

    std::vector<TElement> elements_; // index 0 unused
    int32_t elementCount_ = 0;
    std::vector<TConns> conns_;
    std::vector<uint64_t> netIds_;
    uint64_t nextNetId_ = 1;
    std::vector<TCons> cons_;
    int32_t chipCount_ = 0;
    int32_t oscCount_ = 0;
    std::array<int32_t, 6> oscChannel_{}; // entries 1..5 used
    Navigator navigator_;
    uint64_t revision_ = 0;
    // The pins of all nets, as (element << 32 | leg), valid while pinIndexRevision_ == revision_.
    mutable std::unordered_set<uint64_t> pinIndex_;
    mutable uint64_t pinIndexRevision_ = ~uint64_t{0};
    const std::unordered_set<uint64_t>& PinIndex() const;
    // Index of the net holding the pin, -1 for none.
    int NetOf(TPinRef pin) const;
    void EraseNet(size_t n);
    // Removes every net with fewer than two pins.
    void DropShortNets();
    // Selects the element of a placed navigator node; nothing for any other node.
    void SelectPlacedNode(const QStandardItem* node);

    TCounters Counters() const;
    void SetCounters(const TCounters& counters);
    std::vector<TNetRecord> NetRecords() const;
    // Replaces the nets listed in `from` (by id) by those listed in `to`, keeping the ids in order.
    void ReplaceNets(const std::vector<TNetRecord>& from, const std::vector<TNetRecord>& to);
    // Changes every pin reference e to map[e].
    void RenumberPins(const std::vector<int32_t>& map);
    void RemoveSlot(int index);
    void InsertSlot(int index, TElement e);
    // Sends the element signals of a change: pairs of a notice kind and an element index.
    void Notify(const std::vector<std::pair<int, int>>& notices);

    // What the operations note while recording.
    struct Recorder;
    std::unique_ptr<Recorder> recorder_;
    void NoteNets();
    void NoteNavigator();
    void NoteFields(int index);
    void NoteDeleted(int index);
};

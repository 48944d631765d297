// SPDX-License-Identifier: MIT
#pragma once

#include "model/placement.h"
#include "model/schematic.h"
#include "model/schematicfiles.h"
#include "router/gridsdelta.h"
#include "router/routinggrids.h"
#include "sim/simulator.h"

#include <QObject>
#include <QStringList>
#include <QUndoStack>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class EditStep;

// What kind of edit a step of the history is; the windows name it.
enum class StepKind { ListChip, ListSpecial, Place, Connect, Disconnect, RemoveNet, Delete, Move, Durations };

// The schematic being edited and what follows from it: the schematic, its routing grids, the
// simulator and the undo history (the last UndoLimit steps). Every edit is a method below that
// applies the rules after it (route the wires, prepare the run, tell the views through changed())
// and becomes one step of the history; undoing a step restores exactly the state before it
// (elements, nets, navigator, counters, channels, and the wires cell for cell with the carried
// direction), redoing it the state after it. Selection, zoom, switch toggles and what the
// simulator changes are no edits: they go to the schematic and the simulator directly.
//
// A routing that is no edit (a zoom, a click, a save) may still change the wires, because the
// router carries a direction from one routing to the next; that change joins the step before it
// and the step after it, so undo and redo keep restoring the wires as they stood.
class SchematicDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int UndoLimit = 1000;

    // What changed, for changed().
    enum Change : unsigned {
        ElementsChanged = 1,  // elements added, deleted, moved, or their delays
        NetsChanged = 2,      // the nets
        NavigatorChanged = 4, // the navigator tree
        WiresChanged = 8,     // the routing grids and Cons, with a new routing log
        HistoryChanged = 16,  // the change is an undo or a redo
        Replaced = 32,        // a new or loaded schematic in place of the old one
    };
    Q_DECLARE_FLAGS(Changes, Change)

    explicit SchematicDocument(QObject* parent = nullptr);
    ~SchematicDocument() override;

    Schematic& schematic() { return schematic_; }
    const Schematic& schematic() const { return schematic_; }
    const RoutingGrids& grids() const { return grids_; }
    Simulator& simulator() { return simulator_; }
    const QUndoStack& undoStack() const { return undoStack_; }
    // The pin-cell trace lines of the latest routing (or derivation after an undo or redo).
    const QStringList& consLog() const { return consLog_; }

    void setPlacementSource(PlacementSource source) { placement_ = std::move(source); }
    // Edits route the wires after them (on at first). Off, the wires stay as they are until
    // Reroute: the runner applies a file's edits and routes once at the end.
    void setRouteAfterEdits(bool on) { routeAfterEdits_ = on; }
    bool routeAfterEdits() const { return routeAfterEdits_; }

    // Edits. Each returns what it made, or false / null / 0 when it changed nothing (no step then).
    // Lists a chip in the navigator (no routing).
    QStandardItem* ListChip(const QString& mark, int elementCount);
    // Lists a special element (no routing); null for a sixth probe.
    QStandardItem* ListSpecial(ElementKind kind);
    // Places the listed `node` with the data of the placement source at cell (0, 0) and prepares
    // the run; the wires are not routed. 0 when the node is no listed element of a group, the
    // table is full or the data cannot be had (`error` says why for the user, when it is known).
    int PlaceNode(QStandardItem* node, bool selectOnCreate, QStringList* log = nullptr,
                  QString* error = nullptr);
    // Net edits prepare the run when they change the nets, and route in any case.
    bool ConnectPins(TPinRef a, TPinRef b);
    bool DisconnectPin(TPinRef pin);
    bool RemoveNet(int n);
    // Deletes the selected elements, re-links the navigator and routes.
    bool DeleteSelected();
    // Deletes the selected elements and nothing more (no re-link, no routing).
    bool DestroySelected();
    // Deletes the elements of a navigator node (the group node with them), then routes (also when
    // the node had no element).
    bool RemoveFromNavigator(QStandardItem* node);
    // A generator's durations of the high and the low level (no routing).
    bool SetGeneratorDurations(int index, int32_t high, int32_t low);
    // Moves elements to new cells as one step, then routes.
    bool MoveElements(const std::vector<std::pair<int, TPoint32>>& moves);
    // A drag: MoveElement as often as the pointer moves (Reroute in between to show the wires),
    // then EndMove; everything from the first move to EndMove is one step. Any other edit, an undo
    // or a redo ends an open drag first.
    void MoveElement(int index, TPoint32 coord);
    void EndMove();
    bool moving() const;
    // Edits between BeginStep and EndStep make one step of the kind given first (pairs nest).
    void BeginStep(StepKind kind);
    void EndStep();

    // The history. Undo and redo apply the edit's own rules: the wires as they were, and the run
    // prepared when the edit prepared it.
    bool canUndo() const { return undoStack_.canUndo(); }
    bool canRedo() const { return undoStack_.canRedo(); }
    void Undo();
    void Redo();
    // The kind of the step that Undo and Redo would take, none when there is nothing to take.
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    // The schematic differs from the one last saved, opened or made new.
    bool isModified() const { return !undoStack_.isClean(); }
    // The memory the history holds, in bytes, and the memory of the step Undo would take.
    size_t historyBytes() const;
    size_t undoStepBytes() const;
    // How many steps the edits have made so far (a count that only grows).
    uint64_t stepsMade() const { return stepsMade_; }

    // No edits.
    // Derives the pin cells and routes the wires.
    void Reroute();
    // Empties the schematic (ChipCount stays), routes and starts a new history.
    void New();
    // New, then the file set; when all three files were read, routes twice, as the program does
    // after a load. The history starts anew.
    TLoadResult Load(const TSchematicFileNames& names, bool selectOnCreate = false);
    // Saves to the file set; on success the schematic counts as unmodified. Returns the failure
    // text, empty on success; what was found of an earlier save cut short goes to `log`.
    QString Save(const TSchematicFileNames& names, QStringList* log = nullptr);

Q_SIGNALS:
    void changed(SchematicDocument::Changes what);
    // The schematic became modified or unmodified.
    void modifiedChanged(bool modified);
    // The history changed: what Undo and Redo would do now.
    void historyChanged();

private:
    friend class EditStep;
    struct OpenStep;

    // A net edit (`edit` says whether the nets changed): the run is prepared when they did, the
    // wires are routed in any case.
    bool EditNets(StepKind kind, const std::function<bool()>& edit);
    // The rules after an edit.
    void Prepare();
    void RouteAfterEdit();
    void RouteNow();
    void Notify(Changes what) { Q_EMIT changed(what); }
    // Undo (forward false) or redo of a step.
    void ApplyStep(const EditStep& step, bool forward);
    // A routing outside any step changed the wires from `before` to grids_: the neighbouring steps
    // follow.
    void FoldIntoHistory(const RoutingGrids& before);
    void DropOpenStep();

    Schematic schematic_;
    RoutingGrids grids_;
    Simulator simulator_;
    QUndoStack undoStack_;
    QStringList consLog_;
    PlacementSource placement_;
    bool routeAfterEdits_ = true;
    // The step being recorded, null between steps.
    std::unique_ptr<OpenStep> open_;
    uint64_t stepsMade_ = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SchematicDocument::Changes)

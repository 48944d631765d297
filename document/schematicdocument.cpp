// SPDX-License-Identifier: MIT
#include "document/schematicdocument.h"

#include "router/router.h"

#include <QUndoCommand>

// One step of the history: what the edit changed in the schematic and in the wires, and whether
// it prepared the run. It was made when it was pushed; the stack's first redo finds it done.
class EditStep : public QUndoCommand {
public:
    EditStep(SchematicDocument& document, StepKind kind, SchematicChange change, GridsDelta wires,
             bool prepares)
        : document_(document), kind(kind), change(std::move(change)), wires(std::move(wires)),
          prepares(prepares) {}

    void undo() override { document_.ApplyStep(*this, false); }
    void redo() override {
        if (done_) {
            done_ = false;
            return;
        }
        document_.ApplyStep(*this, true);
    }
    size_t bytes() const { return sizeof(EditStep) + change.bytes() + wires.bytes() - sizeof(GridsDelta); }

    SchematicDocument& document_;
    const StepKind kind;
    const SchematicChange change;
    // Side A the wires before the edit, side B after it.
    GridsDelta wires;
    const bool prepares;

private:
    bool done_ = true;
};

// The step being recorded: its kind, how deep its BeginStep calls nest, whether it is a drag,
// whether it prepared the run, and the wires before its first routing.
struct SchematicDocument::OpenStep {
    StepKind kind = StepKind::Move;
    int depth = 0;
    bool moving = false;
    bool prepares = false;
    std::unique_ptr<RoutingGrids> wiresBefore;
};

namespace {

// BeginStep and EndStep around one edit method.
class Scope {
public:
    Scope(SchematicDocument& d, StepKind kind) : d_(d) { d_.BeginStep(kind); }
    ~Scope() { d_.EndStep(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    SchematicDocument& d_;
};

// The stack hands out its commands read-only; the wires of a step follow a routing that is no
// edit (FoldIntoHistory), and the steps are ours.
EditStep* StepAt(const QUndoStack& stack, int index) {
    if (index < 0 || index >= stack.count()) return nullptr;
    return const_cast<EditStep*>(static_cast<const EditStep*>(stack.command(index)));
}

} // namespace

SchematicDocument::SchematicDocument(QObject* parent) : QObject(parent), simulator_(schematic_) {
    undoStack_.setUndoLimit(UndoLimit);
    connect(&undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { Q_EMIT modifiedChanged(!clean); });
    connect(&undoStack_, &QUndoStack::indexChanged, this, &SchematicDocument::historyChanged);
    RouteNow();
}

SchematicDocument::~SchematicDocument() {
    DropOpenStep();
}

void SchematicDocument::BeginStep(StepKind kind) {
    if (open_ && open_->moving && kind != StepKind::Move) EndMove();
    if (open_) {
        ++open_->depth;
        return;
    }
    open_ = std::make_unique<OpenStep>();
    open_->kind = kind;
    open_->depth = 1;
    open_->moving = kind == StepKind::Move;
    schematic_.StartRecording();
}

void SchematicDocument::EndStep() {
    if (!open_ || --open_->depth > 0) return;
    SchematicChange change = schematic_.StopRecording();
    // A step that did not route leaves the wires as they are, carried direction included.
    GridsDelta wires = open_->wiresBefore ? GridsDelta::Between(*open_->wiresBefore, grids_)
                                          : GridsDelta::Unchanged(grids_.RouteDirection);
    const StepKind kind = open_->kind;
    const bool prepares = open_->prepares;
    const std::unique_ptr<OpenStep> step = std::move(open_);
    if (change.empty()) {
        // Nothing of the schematic changed, but a routing may have moved the wires.
        if (!wires.empty()) FoldIntoHistory(*step->wiresBefore);
        return;
    }
    ++stepsMade_;
    undoStack_.push(new EditStep(*this, kind, std::move(change), std::move(wires), prepares));
}

void SchematicDocument::DropOpenStep() {
    if (!open_) return;
    schematic_.StopRecording();
    open_.reset();
}

bool SchematicDocument::moving() const {
    return open_ && open_->moving;
}

void SchematicDocument::Prepare() {
    simulator_.PrepareRun();
    if (open_) open_->prepares = true;
}

void SchematicDocument::RouteNow() {
    if (open_ && !open_->wiresBefore) open_->wiresBefore = std::make_unique<RoutingGrids>(grids_);
    consLog_.clear();
    schematic_.DeriveCons(&consLog_);
    RouteWires(schematic_, grids_);
    Notify(WiresChanged);
}

void SchematicDocument::RouteAfterEdit() {
    if (routeAfterEdits_) RouteNow();
}

void SchematicDocument::Reroute() {
    // Inside a step the routing is the step's; without a history nothing has to follow it.
    if (open_ || undoStack_.count() == 0) {
        RouteNow();
        return;
    }
    const auto before = std::make_unique<RoutingGrids>(grids_);
    RouteNow();
    if (before->WireMap != grids_.WireMap || before->NetMap != grids_.NetMap ||
        before->RouteDirection != grids_.RouteDirection)
        FoldIntoHistory(*before);
}

void SchematicDocument::FoldIntoHistory(const RoutingGrids& before) {
    // The step before now ends at the new routing, the step after now starts from it; their
    // other sides are rebuilt from the old routing.
    const int index = undoStack_.index();
    auto other = std::make_unique<RoutingGrids>();
    if (EditStep* done = StepAt(undoStack_, index - 1)) {
        *other = before;
        done->wires.Apply(*other, true);
        done->wires = GridsDelta::Between(*other, grids_);
    }
    if (EditStep* undone = StepAt(undoStack_, index)) {
        *other = before;
        undone->wires.Apply(*other, false);
        undone->wires = GridsDelta::Between(grids_, *other);
    }
}

QStandardItem* SchematicDocument::ListChip(const QString& mark, int elementCount) {
    Scope step(*this, StepKind::ListChip);
    QStandardItem* group = schematic_.ListChip(mark, elementCount);
    Notify(NavigatorChanged);
    return group;
}

QStandardItem* SchematicDocument::ListSpecial(ElementKind kind) {
    Scope step(*this, StepKind::ListSpecial);
    QStandardItem* node = schematic_.ListSpecial(kind);
    if (node) Notify(NavigatorChanged);
    return node;
}

int SchematicDocument::PlaceNode(QStandardItem* node, bool selectOnCreate, QStringList* log, QString* error) {
    if (!node || !node->parent() || Navigator::imageIndex(node) <= Navigator::ImagePlaced ||
        schematic_.isFull())
        return 0;
    TPlacementData data;
    QString why;
    if (!placement_ || !placement_(node, &data, &why)) {
        if (error) *error = why;
        return 0;
    }
    Scope step(*this, StepKind::Place);
    const int index = schematic_.PlaceNode(node, data, selectOnCreate, log);
    if (index == 0) return 0;
    Prepare();
    Notify(ElementsChanged | NavigatorChanged);
    return index;
}

bool SchematicDocument::EditNets(StepKind kind, const std::function<bool()>& edit) {
    Scope step(*this, kind);
    const bool changed = edit();
    if (changed) {
        Prepare();
        Notify(NetsChanged);
    }
    RouteAfterEdit();
    return changed;
}

bool SchematicDocument::ConnectPins(TPinRef a, TPinRef b) {
    return EditNets(StepKind::Connect, [&] { return schematic_.ConnectPins(a, b); });
}

bool SchematicDocument::DisconnectPin(TPinRef pin) {
    return EditNets(StepKind::Disconnect, [&] {
        const uint64_t revision = schematic_.Revision();
        schematic_.DisconnectPin(pin);
        return schematic_.Revision() != revision;
    });
}

bool SchematicDocument::RemoveNet(int n) {
    return EditNets(StepKind::RemoveNet, [&] {
        const uint64_t revision = schematic_.Revision();
        schematic_.RemoveNet(n);
        return schematic_.Revision() != revision;
    });
}

bool SchematicDocument::DeleteSelected() {
    Scope step(*this, StepKind::Delete);
    const int count = schematic_.ElementCount();
    schematic_.DeleteSelected();
    schematic_.AssociateTree();
    const bool deleted = schematic_.ElementCount() != count;
    Notify(ElementsChanged | NetsChanged | NavigatorChanged);
    RouteAfterEdit();
    return deleted;
}

bool SchematicDocument::DestroySelected() {
    Scope step(*this, StepKind::Delete);
    const int count = schematic_.ElementCount();
    schematic_.DeleteSelected();
    const bool deleted = schematic_.ElementCount() != count;
    if (deleted) Notify(ElementsChanged | NetsChanged);
    return deleted;
}

bool SchematicDocument::RemoveFromNavigator(QStandardItem* node) {
    if (schematic_.navigator().model().rowCount() == 0) return false;
    Scope step(*this, StepKind::Delete);
    const uint64_t revision = schematic_.Revision();
    schematic_.RemoveFromTree(node);
    const bool changed = schematic_.Revision() != revision;
    if (changed) Notify(ElementsChanged | NetsChanged | NavigatorChanged);
    RouteAfterEdit();
    return changed;
}

bool SchematicDocument::SetGeneratorDurations(int index, int32_t high, int32_t low) {
    if (index < 1 || index > schematic_.ElementCount()) return false;
    const TElement& e = schematic_.element(index);
    if (e.Reaction_HL == high && e.Reaction_LH == low) return false;
    Scope step(*this, StepKind::Durations);
    schematic_.SetGeneratorDurations(index, high, low);
    Notify(ElementsChanged);
    return true;
}

void SchematicDocument::MoveElement(int index, TPoint32 coord) {
    if (index < 1 || index > schematic_.ElementCount() || schematic_.element(index).Coord == coord) return;
    if (!moving()) BeginStep(StepKind::Move);
    schematic_.SetCoord(index, coord);
    Notify(ElementsChanged);
}

void SchematicDocument::EndMove() {
    if (!moving()) return;
    // A drag's step closes however deep the steps inside it went.
    open_->depth = 1;
    EndStep();
}

bool SchematicDocument::MoveElements(const std::vector<std::pair<int, TPoint32>>& moves) {
    const uint64_t made = stepsMade_;
    for (const auto& [element, coord] : moves)
        MoveElement(element, coord);
    if (moving()) RouteAfterEdit();
    EndMove();
    return stepsMade_ != made;
}

std::optional<StepKind> SchematicDocument::undoKind() const {
    if (const EditStep* s = StepAt(undoStack_, undoStack_.index() - 1)) return s->kind;
    return std::nullopt;
}

std::optional<StepKind> SchematicDocument::redoKind() const {
    if (const EditStep* s = StepAt(undoStack_, undoStack_.index())) return s->kind;
    return std::nullopt;
}

void SchematicDocument::Undo() {
    EndMove();
    if (open_) return;
    undoStack_.undo();
}

void SchematicDocument::Redo() {
    EndMove();
    if (open_) return;
    undoStack_.redo();
}

void SchematicDocument::ApplyStep(const EditStep& step, bool forward) {
    const SchematicChange& c = step.change;
    if (forward)
        schematic_.Reapply(c);
    else
        schematic_.Revert(c);
    step.wires.Apply(grids_, !forward);
    consLog_.clear();
    schematic_.DeriveCons(&consLog_);
    if (step.prepares) simulator_.PrepareRun();
    Changes what = WiresChanged | HistoryChanged;
    if (!c.deleted.empty() || !c.appended.empty() || !c.fields.empty()) what |= ElementsChanged;
    if (!c.netsBefore.empty() || !c.netsAfter.empty()) what |= NetsChanged;
    if (!c.navigator.empty()) what |= NavigatorChanged;
    Notify(what);
}

size_t SchematicDocument::historyBytes() const {
    size_t total = 0;
    for (int i = 0; i < undoStack_.count(); ++i)
        total += StepAt(undoStack_, i)->bytes();
    return total;
}

size_t SchematicDocument::undoStepBytes() const {
    const EditStep* step = StepAt(undoStack_, undoStack_.index() - 1);
    return step ? step->bytes() : 0;
}

void SchematicDocument::New() {
    DropOpenStep();
    undoStack_.clear();
    schematic_.Clear();
    RouteNow();
    Notify(Replaced | ElementsChanged | NetsChanged | NavigatorChanged);
}

TLoadResult SchematicDocument::Load(const TSchematicFileNames& names, bool selectOnCreate) {
    New();
    TLoadOptions options;
    options.placement = placement_;
    options.selectOnCreate = selectOnCreate;
    options.placed = [this](int) { simulator_.PrepareRun(); };
    TLoadResult r = LoadSchematicFiles(schematic_, names, options);
    if (r.complete) {
        // Routed twice: the second routing starts from the direction the first one left.
        RouteNow();
        RouteNow();
    }
    Notify(Replaced | ElementsChanged | NetsChanged | NavigatorChanged);
    return r;
}

QString SchematicDocument::Save(const TSchematicFileNames& names, QStringList* log) {
    EndMove();
    const QString error = SaveSchematicFiles(schematic_, names, log);
    if (error.isEmpty()) undoStack_.setClean();
    return error;
}

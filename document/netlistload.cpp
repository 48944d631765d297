// SPDX-License-Identifier: MIT
#include "document/netlistload.h"

#include <vector>

namespace {

// An edit line applied or taken back, and whether it made a step of the history (an edit that
// changed nothing makes none).
struct AppliedLine {
    int line = 0;
    bool step = false;
};

} // namespace

NetlistResult LoadNetlist(const QString& text, SchematicDocument& document) {
    Schematic& s = document.schematic();
    NetlistResult r = ReadNetlist(text, s);
    if (!r.ok) return r;
    const bool routing = document.routeAfterEdits();
    document.setRouteAfterEdits(false);
    std::vector<AppliedLine> done, undone;
    std::vector<int> elements;
    std::vector<TPinRef> pins;
    for (const TNetlistEdit& e : r.edits) {
        if (e.kind == NetlistEditKind::Undo) {
            if (done.empty() || (done.back().step && !document.canUndo())) {
                r.Fail(e.line, done.empty()
                                   ? QStringLiteral("nothing to undo")
                                   : QStringLiteral("nothing to undo: the history keeps the last %1 edits")
                                         .arg(SchematicDocument::UndoLimit));
                break;
            }
            if (done.back().step) document.Undo();
            undone.push_back(done.back());
            done.pop_back();
            continue;
        }
        if (e.kind == NetlistEditKind::Redo) {
            if (undone.empty()) {
                r.Fail(e.line, QStringLiteral("nothing to redo"));
                break;
            }
            if (undone.back().step) document.Redo();
            done.push_back(undone.back());
            undone.pop_back();
            continue;
        }
        if (const QString why = ResolveEdit(s, e, &elements, &pins); !why.isEmpty()) {
            r.Fail(e.line, why);
            break;
        }
        const uint64_t steps = document.stepsMade();
        switch (e.kind) {
        case NetlistEditKind::Connect:
            document.ConnectPins(pins[0], pins[1]);
            break;
        case NetlistEditKind::Disconnect:
            document.DisconnectPin(pins[0]);
            break;
        case NetlistEditKind::RemoveNet:
            document.RemoveNet(e.net);
            break;
        case NetlistEditKind::Delete:
            s.DeselectAll();
            for (int element : elements)
                s.SelectElement(element);
            document.DeleteSelected();
            break;
        case NetlistEditKind::Undo:
        case NetlistEditKind::Redo:
            break;
        }
        done.push_back({e.line, document.stepsMade() != steps});
        undone.clear();
    }
    document.setRouteAfterEdits(routing);
    if (r.ok) ResolveToggles(s, r);
    return r;
}

// SPDX-License-Identifier: MIT
#include "model/schematicchange.h"

#include "model/navigator.h"

#include <QStandardItemModel>

#include <algorithm>

namespace {

bool SamePlace(const TNodeRecord& a, const TNodeRecord& b) {
    return a.depth == b.depth && a.text == b.text;
}

// True when nodes [at, at + count) of `seq` are whole subtrees of one parent, one after another.
bool IsSiblingRun(const std::vector<TNodeRecord>& seq, size_t at, size_t count) {
    if (count == 0) return true;
    const int top = seq[at].depth;
    for (size_t i = at; i < at + count; ++i)
        if (seq[i].depth < top) return false;
    return at + count == seq.size() || seq[at + count].depth <= top;
}

// The rows from the roots to the parent of a node of depth `depth` standing at position `at` of
// `seq`, and its own row under that parent.
void PlaceOf(const std::vector<TNodeRecord>& seq, size_t at, int depth, std::vector<int>* parentRows,
             int* row) {
    std::vector<int> rows; // rows[d]: the row of the latest node of depth d on the path
    for (size_t i = 0; i < at; ++i) {
        const auto d = static_cast<size_t>(seq[i].depth);
        if (d < rows.size()) {
            rows.resize(d + 1);
            ++rows[d];
        } else {
            rows.push_back(0);
        }
    }
    const auto d = static_cast<size_t>(depth);
    *row = d < rows.size() ? rows[d] + 1 : 0;
    parentRows->assign(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(std::min(d, rows.size())));
}

int TopLevelCount(const std::vector<TNodeRecord>& run) {
    if (run.empty()) return 0;
    return static_cast<int>(std::count_if(
        run.begin(), run.end(), [top = run.front().depth](const TNodeRecord& r) { return r.depth == top; }));
}

QStandardItem* NodeAt(Navigator& navigator, const std::vector<int>& rows) {
    QStandardItem* node = navigator.model().invisibleRootItem();
    for (int r : rows)
        node = node->child(r);
    return node;
}

void SetAttributes(QStandardItem* node, int image, const QVariant& data) {
    Navigator::setImageIndex(node, image);
    node->setData(data, Navigator::DataRole);
}

// Builds the subtrees of `run` and inserts them under `parent` from `row` on.
void InsertRun(QStandardItem* parent, int row, const std::vector<TNodeRecord>& run) {
    if (run.empty()) return;
    const int top = run.front().depth;
    std::vector<QStandardItem*> path; // path[d - top]: the latest node of depth d
    for (const TNodeRecord& r : run) {
        QStandardItem* node = Navigator::makeNode(r.text, r.image);
        node->setData(r.data, Navigator::DataRole);
        const auto level = static_cast<size_t>(r.depth - top);
        path.resize(level);
        if (level == 0)
            parent->insertRow(row++, node);
        else
            path[level - 1]->appendRow(node);
        path.push_back(node);
    }
}

size_t RecordBytes(const TNodeRecord& r) {
    return sizeof(TNodeRecord) + static_cast<size_t>(r.text.capacity()) * sizeof(QChar);
}

size_t ElementBytes(const TElement& e) {
    size_t bytes =
        sizeof(TElement) + e.Legs.capacity() * sizeof(TLeg) + e.Transitions.capacity() * sizeof(int32_t) +
        static_cast<size_t>(e.Name.capacity()) * sizeof(QChar) + static_cast<size_t>(e.Bitmap.sizeInBytes());
    for (const QString& line : e.Script)
        bytes += sizeof(QString) + static_cast<size_t>(line.capacity()) * sizeof(QChar);
    return bytes;
}

size_t NetBytes(const std::vector<TNetRecord>& nets) {
    size_t bytes = nets.capacity() * sizeof(TNetRecord);
    for (const TNetRecord& n : nets)
        bytes += n.pins.capacity() * sizeof(TPinRef);
    return bytes;
}

} // namespace

std::vector<TNodeRecord> NavigatorRecords(const Navigator& navigator) {
    std::vector<TNodeRecord> records;
    for (const QStandardItem* node : navigator.nodesInTreeOrder())
        records.push_back({Navigator::depth(node), node->text(), Navigator::imageIndex(node),
                           node->data(Navigator::DataRole)});
    return records;
}

TNavigatorChange DiffNavigator(const std::vector<TNodeRecord>& before,
                               const std::vector<TNodeRecord>& after) {
    const size_t nb = before.size(), na = after.size();
    size_t p = 0;
    while (p < nb && p < na && SamePlace(before[p], after[p]))
        ++p;
    size_t s = 0;
    while (s < nb - p && s < na - p && SamePlace(before[nb - 1 - s], after[na - 1 - s]))
        ++s;
    size_t kb = nb - p - s, ka = na - p - s;
    bool run = false;
    if (kb == 0 || ka == 0) {
        // A pure insertion or removal may stand at several places among equal nodes: it slides to
        // one where it is a run of whole subtrees.
        const std::vector<TNodeRecord>& side = kb ? before : after;
        const size_t k = kb ? kb : ka;
        size_t q = p;
        while (!IsSiblingRun(side, q, k) && q > 0 && SamePlace(side[q - 1], side[q - 1 + k]))
            --q;
        if (IsSiblingRun(side, q, k)) {
            p = q;
            run = true;
        }
    } else {
        run = IsSiblingRun(before, p, kb) && IsSiblingRun(after, p, ka) && before[p].depth == after[p].depth;
    }
    size_t eb = p + kb, ea = p + ka;
    const auto rootAt = [](const std::vector<TNodeRecord>& seq, size_t i) {
        return i >= seq.size() || seq[i].depth == 0;
    };
    if (!run) {
        // Otherwise the whole root subtrees around the difference are replaced.
        while (p > 0 && !(rootAt(before, p) && rootAt(after, p)))
            --p;
        // The nodes after the difference are alike on both sides, so both ends move together.
        while (!(rootAt(before, eb) && rootAt(after, ea))) {
            ++eb;
            ++ea;
        }
        kb = eb - p;
        ka = ea - p;
    }

    TNavigatorChange c;
    c.at = static_cast<int>(p);
    if (kb + ka > 0) {
        const int depth = kb ? before[p].depth : after[p].depth;
        PlaceOf(before, p, depth, &c.parentRows, &c.row);
    }
    c.before.assign(before.begin() + static_cast<std::ptrdiff_t>(p),
                    before.begin() + static_cast<std::ptrdiff_t>(eb));
    c.after.assign(after.begin() + static_cast<std::ptrdiff_t>(p),
                   after.begin() + static_cast<std::ptrdiff_t>(ea));
    const auto compare = [&](size_t ib, size_t ia) {
        const TNodeRecord& b = before[ib];
        const TNodeRecord& a = after[ia];
        if (b.image != a.image || b.data != a.data)
            c.attributes.push_back({static_cast<int>(ib), b.image, a.image, b.data, a.data});
    };
    for (size_t i = 0; i < p; ++i)
        compare(i, i);
    for (size_t i = eb; i < nb; ++i)
        compare(i, i - eb + ea);
    return c;
}

void ApplyNavigatorChange(Navigator& navigator, const TNavigatorChange& c, bool forward) {
    if (c.empty()) return;
    const std::vector<TNodeRecord>& from = forward ? c.before : c.after;
    const std::vector<TNodeRecord>& to = forward ? c.after : c.before;
    if (!c.attributes.empty()) {
        const std::vector<QStandardItem*> nodes = navigator.nodesInTreeOrder();
        for (const TNodeAttributes& a : c.attributes) {
            // Positions after the run move by the difference of the runs' lengths.
            int i = a.index;
            if (!forward && i >= c.at)
                i += static_cast<int>(c.after.size()) - static_cast<int>(c.before.size());
            SetAttributes(nodes[static_cast<size_t>(i)], forward ? a.imageAfter : a.imageBefore,
                          forward ? a.dataAfter : a.dataBefore);
        }
    }
    if (from.empty() && to.empty()) return;
    QStandardItem* parent = NodeAt(navigator, c.parentRows);
    parent->removeRows(c.row, TopLevelCount(from));
    InsertRun(parent, c.row, to);
}

bool SchematicChange::empty() const {
    return before == after && deleted.empty() && appended.empty() && fields.empty() && netsBefore.empty() &&
           netsAfter.empty() && navigator.empty();
}

size_t SchematicChange::bytes() const {
    size_t total = sizeof(SchematicChange) + deleted.capacity() * sizeof(int) +
                   fields.capacity() * sizeof(TElementFields) + NetBytes(netsBefore) + NetBytes(netsAfter);
    for (const TElement& e : deletedElements)
        total += ElementBytes(e);
    for (const TElement& e : appended)
        total += ElementBytes(e);
    for (const std::vector<TNodeRecord>* run : {&navigator.before, &navigator.after})
        for (const TNodeRecord& r : *run)
            total += RecordBytes(r);
    total += navigator.parentRows.capacity() * sizeof(int) +
             navigator.attributes.capacity() * sizeof(TNodeAttributes);
    return total;
}

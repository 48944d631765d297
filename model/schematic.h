// SPDX-License-Identifier: MIT
#pragma once

#include "model/navigator.h"
#include "model/types.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <vector>

// User options, loaded from and saved to the settings file by the main window.
struct TOptions {
    int32_t DesktopColor = 0x00FFFFFF; // 0x00BBGGRR
    int32_t GridColor = 0;
    bool FullSelection = false;
    bool SelectOnCreate = false;
    bool DrawConnections = false;
    bool HighlightConnection = true;
};

// A 201 x 201 grid of int32 cells indexed [x][y], stored x-major.
class TGrid {
public:
    explicit TGrid(int32_t fill = 0) { data_.fill(fill); }
    int32_t& at(int x, int y) { return data_[static_cast<size_t>(x * GridSize + y)]; }
    int32_t at(int x, int y) const { return data_[static_cast<size_t>(x * GridSize + y)]; }
    void fill(int32_t v) { data_.fill(v); }
    int32_t* data() { return data_.data(); }
    const int32_t* data() const { return data_.data(); }
    friend bool operator==(const TGrid&, const TGrid&) = default;

private:
    std::array<int32_t, GridCells> data_;
};

// Exclusive or of every pixel with the colour `rgb` (0x00RRGGBB); the picture becomes RGB32.
void XorImage(QImage& image, uint32_t rgb);

constexpr int32_t WireFree = 0;
constexpr int32_t WireBody = 9999999;
constexpr int32_t NoNet = -1;

// The one schematic of the program: element table, nets, derived pin cells, router grids, the
// navigator tree and the shared scalars. Invariants: the elements in use are slots
// 1..ElementCount without gaps; every pin occurs in at most one net; every net has two or more
// pins; Cons, when derived, has the shape of Conns.
class Schematic : public QObject {
    Q_OBJECT
public:
    explicit Schematic(QObject* parent = nullptr);
    ~Schematic() override;

    // Slot i for i in 1..MaxElements.
    TElement& element(int index) { return Elements[static_cast<size_t>(index)]; }
    const TElement& element(int index) const { return Elements[static_cast<size_t>(index)]; }
    bool isFull() const { return ElementCount >= MaxElements; }

    // Takes the next slot and resets it: not selected, no picture, empty script. Returns the
    // new index, or 0 when the table is full (nothing is changed then).
    int NewElementSlot();
    // Inverts the element's picture with yellow (exclusive or) and inverts Selected.
    void ToggleSelection(int index);
    // Rebuilds Cons from Conns and the element coordinates; appends the trace lines to `log`.
    void DeriveCons(QStringList* log = nullptr);
    // Lists a chip in the navigator: raises ChipCount and inserts at the top a group node with
    // the marking (data reference = chip number) and `elementCount` listed nodes "D n" (one
    // element) or "D n.j". Returns the group node.
    QStandardItem* ListChip(const QString& mark, int elementCount);

    std::vector<TElement> Elements; // index 0 unused
    int32_t ElementCount = 0;
    std::vector<TConns> Conns;
    std::vector<TCons> Cons;
    TGrid WireMap{WireFree};
    TGrid NetMap{NoNet};

    int32_t Scale = 10;
    int32_t PrevScale = 10;
    int32_t ChipCount = 0;
    int32_t OscCount = 0;
    std::array<int32_t, 6> OscChannel{}; // entries 1..5 used
    int32_t HoverNet = -1;
    TOptions Options;

    // Router: the search direction (1 up, 2 right, 3 down, 4 left) that one pin's search leaves
    // behind for the next one when its start has no free neighbour; 2 before the first search.
    int32_t RouteDirection = 2;

    Navigator navigator;

Q_SIGNALS:
    // The element's bitmap changed in place (selection tint, a new picture).
    void elementImageChanged(int index);
};

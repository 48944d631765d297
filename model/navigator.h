// SPDX-License-Identifier: MIT
#pragma once

#include <QStandardItemModel>
#include <QString>

#include <vector>

// The navigator tree: nodes with a text, an image index (0 group, 1 placed element, 2 listed
// element; the selected-image index always equals it) and an optional data reference (the
// element slot of a placed node, the chip number of a chip group).
class Navigator {
public:
    static constexpr int ImageIndexRole = Qt::UserRole + 1;
    static constexpr int DataRole = Qt::UserRole + 2;
    static constexpr int ImageGroup = 0;
    static constexpr int ImagePlaced = 1;
    static constexpr int ImageListed = 2;

    Navigator();

    QStandardItemModel& model() { return model_; }
    const QStandardItemModel& model() const { return model_; }

    // A new node; insert it with appendRoot/insertRoot or QStandardItem::appendRow.
    static QStandardItem* makeNode(const QString& text, int imageIndex);
    static int imageIndex(const QStandardItem* node);
    static void setImageIndex(QStandardItem* node, int imageIndex);
    static int dataRef(const QStandardItem* node); // 0 when none
    static void setDataRef(QStandardItem* node, int value);
    static void clearDataRef(QStandardItem* node);
    static int depth(const QStandardItem* node);

    void appendRoot(QStandardItem* node) { model_.appendRow(node); }
    void insertRoot(int row, QStandardItem* node) { model_.insertRow(row, node); }
    // Every node, a node before its children, depth first.
    std::vector<QStandardItem*> nodesInTreeOrder() const;
    int count() const { return static_cast<int>(nodesInTreeOrder().size()); }
    void clear() { model_.clear(); }

private:
    QStandardItemModel model_;
};

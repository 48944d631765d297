// SPDX-License-Identifier: MIT
#include "model/navigator.h"

Navigator::Navigator() = default;

QStandardItem* Navigator::makeNode(const QString& text, int imageIndex) {
    auto* node = new QStandardItem(text);
    node->setEditable(false);
    setImageIndex(node, imageIndex);
    return node;
}

int Navigator::imageIndex(const QStandardItem* node) {
    return node->data(ImageIndexRole).toInt();
}

void Navigator::setImageIndex(QStandardItem* node, int imageIndex) {
    node->setData(imageIndex, ImageIndexRole);
}

int Navigator::dataRef(const QStandardItem* node) {
    return node->data(DataRole).toInt();
}

void Navigator::setDataRef(QStandardItem* node, int value) {
    node->setData(value, DataRole);
}

void Navigator::clearDataRef(QStandardItem* node) {
    node->setData(QVariant(), DataRole);
}

int Navigator::depth(const QStandardItem* node) {
    int d = 0;
    for (const QStandardItem* p = node->parent(); p; p = p->parent())
        ++d;
    return d;
}

std::vector<QStandardItem*> Navigator::nodesInTreeOrder() const {
    std::vector<QStandardItem*> out;
    auto visit = [&out](auto&& self, QStandardItem* node) -> void {
        out.push_back(node);
        for (int r = 0; r < node->rowCount(); ++r)
            self(self, node->child(r));
    };
    for (int r = 0; r < model_.rowCount(); ++r)
        visit(visit, model_.item(r));
    return out;
}

// SPDX-License-Identifier: MIT
#include "catalogue/cursorgrid.h"

#include "catalogue/cataloguetable.h"

#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// In-place editors that stop typing at the column's text limit.
class LimitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int maxLength = 32767;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(maxLength);
        return editor;
    }
};

} // namespace

// Gives one grid its own column titles over the shared table model.
class CursorGrid::TitleProxy : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QHash<int, QString> titles;
    bool editable = true;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && titles.contains(section))
            return titles.value(section);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = QIdentityProxyModel::flags(index);
        return editable ? f : (f & ~Qt::ItemIsEditable);
    }
};

CursorGrid::CursorGrid(CatalogueTable& table, QList<Column> columns, bool editable, QWidget* parent)
    : QTableView(parent), table_(table), columns_(std::move(columns)) {
    proxy_ = new TitleProxy(this);
    proxy_->editable = editable;
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int logical) {
        const int i = static_cast<int>(sourceColumns_.indexOf(logical));
        if (i >= 0) Q_EMIT titleClicked(i);
    });
    connect(&table_, &CatalogueTable::rowChanged, this, &CursorGrid::follow);
    attach();
    follow(table_.row());
}

void CursorGrid::attach() {
    if (proxy_->sourceModel() == table_.model()) return;
    proxy_->setSourceModel(table_.model());
    setModel(proxy_);
    sourceColumns_.clear();
    for (const Column& c : columns_) {
        const int col = table_.fieldIndex(c.field);
        sourceColumns_ << col;
        if (col < 0) continue;
        proxy_->titles.insert(col, c.title);
        auto* delegate = new LimitDelegate(this);
        delegate->maxLength = c.maxLength;
        setItemDelegateForColumn(col, delegate);
    }
    for (int col = 0; col < proxy_->columnCount(); ++col)
        setColumnHidden(col, !sourceColumns_.contains(col));
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (syncing_ || !current.isValid()) return;
                table_.setRow(current.row());
            });
}

void CursorGrid::follow(int row) {
    attach();
    if (!table_.model() || sourceColumns_.isEmpty()) return;
    syncing_ = true;
    if (row >= 0) {
        const QModelIndex index = proxy_->index(row, std::max(0, sourceColumns_.first()));
        const QModelIndex current = currentIndex();
        if (current.row() != row) setCurrentIndex(index);
        if (selectionBehavior() == QAbstractItemView::SelectRows) selectRow(row);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    syncing_ = false;
}

void CursorGrid::setTitle(int column, const QString& title) {
    if (column < 0 || column >= columns_.size()) return;
    columns_[column].title = title;
    const int col = sourceColumns_.value(column, -1);
    if (col < 0) return;
    proxy_->titles.insert(col, title);
    Q_EMIT proxy_->headerDataChanged(Qt::Horizontal, col, col);
}

QString CursorGrid::title(int column) const {
    return columns_.value(column).title;
}

QRect CursorGrid::cellRect(int row, int column) const {
    return visualRect(proxy_->index(row, sourceColumns_.value(column, 0)));
}

// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTableView>

class CatalogueTable;

// A grid on a catalogue table that shows the given fields with its own column titles and follows
// (and moves) the table's one current record.
class CursorGrid : public QTableView {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        int maxLength = 32767; // typing limit of the in-place editor
    };
    CursorGrid(CatalogueTable& table, QList<Column> columns, bool editable, QWidget* parent = nullptr);

    void setTitle(int column, const QString& title);
    QString title(int column) const;
    // The first row of the current record's cell rectangle, for tests and clicks.
    QRect cellRect(int row, int column) const;

Q_SIGNALS:
    void titleClicked(int column);

private:
    class TitleProxy;

    void follow(int row);
    void attach();

    CatalogueTable& table_;
    QList<Column> columns_;
    QList<int> sourceColumns_;
    TitleProxy* proxy_ = nullptr;
    bool syncing_ = false;
};

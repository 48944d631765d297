// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogue.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QDataWidgetMapper;
class QWidget;
class WindowRegistry;

// What the catalogue windows share: the three tables with their cursors, how the add-chip dialog
// lists a chip in the schematic, and the window registry through which they find each other
// (each registers itself when it is created). It deletes the windows registered through it before
// the tables, newest first.
class CatalogueUi : public QObject {
    Q_OBJECT
public:
    // Lists a chip of marking `mark` with `elements` logic elements in the navigator.
    using ChipLister = std::function<void(const QString& mark, int elements)>;

    // With `windows` null the catalogue keeps a registry of its own; the program passes its one
    // registry, which must outlive this object's windows.
    CatalogueUi(const QString& basesFolder, ChipLister listChip, WindowRegistry* windows = nullptr,
                QObject* parent = nullptr);
    ~CatalogueUi() override;

    Catalogue& catalogue() { return catalogue_; }
    const ChipLister& listChip() const { return listChip_; }
    WindowRegistry& windows() const { return *windows_; }

    // Registers a catalogue window in the registry and deletes it with the catalogue. Whenever it
    // comes up, tables whose opening failed are tried again (their errors shown over it).
    void add(QWidget* window);

    // Error box of the engine or the image library, titled with the application title. Returns
    // true when `error` is not empty (the caller's handler stops then).
    static bool ShowError(QWidget* parent, const QString& error);
    // The error of a post on `table`. When the record is still in edit (a refused number) the box
    // also offers "Отменить изменения", which drops the pending edit; "OK" leaves it to be
    // corrected. Returns true when `error` is not empty.
    static bool ShowPostError(QWidget* parent, CatalogueTable& table, const QString& error);

    // "Удалить" of a catalogue window: nothing on an empty table; otherwise asks with `caption` and
    // `question` and deletes the current record on "Yes", showing an engine error.
    static void DeleteCurrent(QWidget* parent, CatalogueTable& table, const QString& caption,
                              const QString& question);

    // A bound control: the widget's `property` shows and edits `field` of the current record.
    struct Binding {
        QWidget* widget;
        QString field;
        QByteArray property;
    };
    // A mapper that follows `table`'s current record and stores edits into its pending record; the
    // bindings follow the table when it is opened again.
    static QDataWidgetMapper* BindMapper(CatalogueTable& table, QWidget* owner,
                                         const QList<Binding>& bindings);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Catalogue catalogue_;
    ChipLister listChip_;
    std::unique_ptr<WindowRegistry> ownWindows_;
    WindowRegistry* windows_;
    std::vector<QPointer<QWidget>> created_;
};

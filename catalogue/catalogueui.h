// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/catalogue.h"

#include <QPointer>
#include <QString>

class QDataWidgetMapper;
class QWidget;
class Schematic;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;

// What the catalogue windows share: the three tables with their cursors, the schematic that the
// add-chip dialog lists chips into, and the windows themselves (each registers itself when it is
// created; a window that does not exist yet is null). It deletes the windows before the tables.
class CatalogueUi : public QObject {
    Q_OBJECT
public:
    CatalogueUi(const QString& basesFolder, Schematic* model, QObject* parent = nullptr);
    ~CatalogueUi() override;

    Catalogue& catalogue() { return catalogue_; }
    Schematic* model() const { return model_; }

    // Error box of the engine or the image library, titled with the application title. Returns
    // true when `error` is not empty (the caller's handler stops then).
    static bool ShowError(QWidget* parent, const QString& error);

    // "Удалить" of a catalogue window: nothing on an empty table; otherwise asks with `caption` and
    // `question` and deletes the current record on "Yes", showing an engine error.
    static void DeleteCurrent(QWidget* parent, CatalogueTable& table, const QString& caption,
                              const QString& question);

    // A mapper that follows `table`'s current record and stores edits into its pending record.
    static QDataWidgetMapper* BindMapper(CatalogueTable& table, QWidget* owner);

    QPointer<TForm5> Form5;
    QPointer<TForm6> Form6;
    QPointer<TForm7> Form7;
    QPointer<TForm8> Form8;
    QPointer<TForm9> Form9;
    QPointer<TForm10> Form10;
    QPointer<TForm11> Form11;
    QPointer<TForm12> Form12;
    QPointer<TForm13> Form13;
    QPointer<TForm14> Form14;

private:
    Catalogue catalogue_;
    Schematic* model_;
};

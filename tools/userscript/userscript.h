// SPDX-License-Identifier: MIT
#pragma once

#include "model/types.h"

#include <QPoint>
#include <QStringList>

class TForm1;

// Drives a shown main window with mouse events the way a user works: through the add-chip
// dialog, the navigator tree and the workspace. Shared by the tests that build a schematic by
// hand and by the screenshot tool. Points are panel pixels of the workspace.
namespace UserScript {

// "Схема" -> "Добавить микросхему...": picks each marking in the dialog's table, "Добавить" for
// all but the last, "ОК" for the last.
void AddChips(TForm1& form, const QStringList& marks);
// Double-clicks the navigator node with this text.
void PlaceNode(TForm1& form, const QString& text);

// Mouse events at a panel point of the workspace.
void Press(TForm1& form, QPoint panel, Qt::MouseButton button = Qt::LeftButton);
void MoveTo(TForm1& form, QPoint panel);
void Release(TForm1& form, QPoint panel, Qt::MouseButton button = Qt::LeftButton);
void Click(TForm1& form, QPoint panel);

// The middle of element k's picture (away from its pins) and the point over one of its pins.
QPoint Middle(TForm1& form, int k);
QPoint PinPoint(TForm1& form, TPinRef pin);
// The legs of element k on its left edge (inputs) and on its right edge (outputs), in leg order.
QList<int> LeftLegs(TForm1& form, int k);
QList<int> RightLegs(TForm1& form, int k);

// Moves element k to grid cell `to` by dragging its picture: a click on the free field clears the
// selection, the first drag selects the element alone and the second moves it.
void MoveElement(TForm1& form, int k, TPoint32 to);
// Drags a wire from pin a to pin b.
void DragWire(TForm1& form, TPinRef a, TPinRef b);

} // namespace UserScript

// SPDX-License-Identifier: MIT
#pragma once

#include "model/placement.h"

#include <QString>

class Catalogue;

// Looks up what placing an element of the chip with marking `mark` needs: the chips table moves
// to the first chip of that marking, which makes its element type and that type's picture
// current; the picture, pin strings, script and delays are read from there. Returns false with a
// message for the user (and `out` untouched) when the chip, its element type or its picture is
// missing, the picture is no whole BMP, a pin string is longer than the picture's height allows,
// or a delay is no whole number of 0..2147483647. The message names the file and the record.
bool LookUpChipElement(Catalogue& catalogue, const QString& mark, TPlacementData* out, QString* error);
// What placing the listed navigator `node` needs: the built-in set-up of a special element, or the
// data of a chip element looked up by its group's marking. False (with the message, when there is
// one) for a node that is no element of a group or a chip whose data cannot be had.
bool LookUpPlacement(Catalogue& catalogue, const QStandardItem* node, TPlacementData* out, QString* error);
// LookUpPlacement on `catalogue`, which must outlive the source.
PlacementSource CataloguePlacement(Catalogue& catalogue);

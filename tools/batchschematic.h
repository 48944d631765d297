// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"
#include "router/routinggrids.h"

#include <QString>

#include <cstdio>

// True when `path` names a schematic file set by its tree file (".tsv") rather than a netlist.
bool IsSchematicFile(const QString& path);
// The catalogue folder when --bases is not given: bases/ beside the executable.
QString DefaultBasesFolder();

// Loads the file set of `path` (with its ".esv" and ".csv") into the empty `s` as "Открыть..."
// does in a freshly started program, with the catalogue of the folder `bases`: the start-up
// routing, New, the load, and when all three files were read the two routings of the load's end.
// `grids` holds the routing as it stands afterwards. The load's messages go to `err`. Returns
// false when the file set cannot be read at all (no catalogue, no tree file).
bool LoadSchematicSet(const QString& path, const QString& bases, Schematic& s, RoutingGrids& grids,
                      FILE* err);

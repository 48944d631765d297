// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicdocument.h"

#include <QString>

#include <cstdio>

// True when `path` names a schematic file set by its tree file (".tsv") rather than a netlist.
bool IsSchematicFile(const QString& path);
// The catalogue folder when --bases is not given: bases/ beside the executable.
QString DefaultBasesFolder();

// Loads the file set of `path` (with its ".esv" and ".csv") into a new document as "Открыть..." does
// in a freshly started program, with the catalogue of the folder `bases`; the document's grids hold
// the routing as the load leaves it. The load's messages go to `err`. Returns false when the file
// set cannot be read at all (no catalogue, no tree file).
bool LoadSchematicSet(const QString& path, const QString& bases, SchematicDocument& document, FILE* err);

// Loads `path` for the commands that show the schematic as it stands: a file set as
// LoadSchematicSet does (the catalogue of `bases`, DefaultBasesFolder() when empty), a netlist
// with its edit lines applied and its wires routed once. Returns false after printing the fault.
bool LoadRoutedSchematic(const QString& path, const QString& bases, SchematicDocument& document, FILE* err);

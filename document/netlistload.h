// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicdocument.h"
#include "model/netlist.h"

#include <QString>

// Reads a netlist (model/netlist.h) into the document, whose schematic should be empty: the element
// and net lines first, then every edit line in file order as an edit of the document, without
// routing, then the toggles by name. `undo` takes back the latest edit line not yet taken back,
// `redo` makes the latest taken-back one again, and any other edit line drops what could be
// redone; so a file acts exactly as the same file with its undone lines left out. An `undo` with
// nothing to undo (or beyond the history the document keeps) and a `redo` with nothing to redo
// fail at their line. On an error the document holds what was read and applied before it.
NetlistResult LoadNetlist(const QString& text, SchematicDocument& document);

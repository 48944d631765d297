// SPDX-License-Identifier: MIT
#pragma once

#include "model/schematic.h"

#include <string>

// Checks what every model operation keeps: ElementCount within 0..MaxElements, every net of two
// pins or more, every pin reference naming an element in use and one of its legs, no pin in two
// nets (nor twice in one), NetIds one per net,
// OscCount within 0..5 and every oscilloscope channel naming a probe or none. Returns the first fault found,
// empty when none. For fuzzers, the soak and tests, after loads and edits.
std::string CheckInvariants(const Schematic& s);

// Checks the navigator's link to the element table as AssociateTree leaves it: every placed node
// refers to an element in use that bears the node's text. Returns the first fault, empty when none.
std::string CheckNavigator(const Schematic& s);

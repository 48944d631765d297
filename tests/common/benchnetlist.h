// SPDX-License-Identifier: MIT
#pragma once

// The netlist the test command's tests and fuzz target run test files on. A switch drives an
// inverter (3 units to 1, 2 to 0) whose output drives an indicator and a probe; a generator (5
// units high, 5 low) drives a second probe. All start at 0: the inverter sees its 0 input at unit
// 1 and rises at 4, so the indicator and the probe see 1 from unit 4 on; the generator's probe
// sees 1 from unit 0, 0 from 5, 1 from 10, ...
inline constexpr char BenchNetlist[] = "element П1 2 2 2 2 - 1 0 0\n"
                                       "element D1.1 10 2 4 3 1 1 3 2 Y=~1\n"
                                       "element И1 20 2 2 2 1 - 0 0\n"
                                       "element О1 20 8 7 8 0001 - 0 0\n"
                                       "element Г1 2 20 4 4 - 0101 5 5\n"
                                       "element О2 20 20 7 8 0001 - 0 0\n"
                                       "net 1 0 2 0\n"
                                       "net 2 1 3 0 4 0\n"
                                       "net 5 0 6 0\n";

// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <cstdio>

// The runner's commands. Each takes its arguments (after the command word), prints its result on
// `out` and its messages on `err`, and returns the exit status: 0 done, 1 the output could not be
// written, 2 bad arguments or input.
int BatchRoute(const QStringList& args, FILE* out, FILE* err);
int BatchRun(const QStringList& args, FILE* out, FILE* err);
// Checks a schematic against a test file; exit status 0 all cases passed, 1 some failed, 2 bad
// arguments or input, or a report that could not be written.
int BatchTest(const QStringList& args, FILE* out, FILE* err);
// Draws a schematic as a picture file (SVG, PNG or PDF by the output's suffix).
int BatchImage(const QStringList& args, FILE* out, FILE* err);
// The whole command line after the program name: a command word and its arguments, or --help.
int BatchMain(const QStringList& args, FILE* out, FILE* err);

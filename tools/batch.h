// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <cstdio>

// Each command takes its arguments (after the command word), prints its result on `out` and its
// messages on `err`, and returns the exit status (2 for bad input).
int BatchRoute(const QStringList& args, FILE* out, FILE* err);
int BatchRun(const QStringList& args, FILE* out, FILE* err);

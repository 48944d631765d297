// SPDX-License-Identifier: MIT
#include "batch.h"

int BatchRun(const QStringList&, FILE*, FILE* err) {
    std::fputs("tarnwell-batch: 'run' is not available yet\n", err);
    return 2;
}

// SPDX-License-Identifier: MIT
#include "batch.h"

int BatchRoute(const QStringList&, FILE*, FILE* err) {
    std::fputs("tarnwell-batch: 'route' is not available yet\n", err);
    return 2;
}

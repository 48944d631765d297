// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>

#include <algorithm>

// Where a chooser opens: 16 pixels right of and 16 pixels above its owner's top-left corner, no
// coordinate below 0.
inline QPoint ChooserPosition(QPoint ownerTopLeft) {
    return {std::max(0, ownerTopLeft.x() + 16), std::max(0, ownerTopLeft.y() - 16)};
}

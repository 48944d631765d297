// SPDX-License-Identifier: MIT
#include "ui/picturescale.h"

#include <algorithm>

QSize WholeFactorSize(QSize picture, QSize box) {
    if (picture.isEmpty()) return picture;
    const int factor = std::max(1, std::min(box.width() / picture.width(), box.height() / picture.height()));
    return picture * factor;
}

// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>

// The size of `picture` grown by the largest whole factor that still fits `box`, so its pixels stay
// crisp; a picture that does not fit, or an empty one, keeps its size (factor 1).
QSize WholeFactorSize(QSize picture, QSize box);

// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

// The small 21 x 21 picture set of the special elements: 0 indicator unlit, 1 indicator lit,
// 2 switch off, 3 switch on. Pictures are RGB32 on a white background (the bottom-left pixel is
// background, so it works as the transparency key). Any other index gives a blank picture.
QImage SmallPicture(int index);

constexpr int SmallIndicatorUnlit = 0;
constexpr int SmallIndicatorLit = 1;
constexpr int SmallSwitchOff = 2;
constexpr int SmallSwitchOn = 3;

// The large 71 x 81 picture set: 0 generator (outputs at rows 2 and 6 on the right edge),
// 1 oscilloscope probe (input at row 4 on the left edge). Same background rule as above.
QImage LargePicture(int index);

constexpr int LargeGenerator = 0;
constexpr int LargeProbe = 1;

// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>

// The toolbar's 21 x 21 icon set: 0 run, 1 stop, 2 pause, 3 new, 4 open, 5 save, 6 time scale,
// 7 oscilloscopes, 8 undo, 9 redo.
QImage ToolbarImage(int index);
// The navigator's icon set: 0 group, 1 placed element, 2 listed element.
QImage NavigatorImage(int index);

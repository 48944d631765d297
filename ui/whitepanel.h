// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// Gives `widget` an opaque white background, the panel that pictures and previews are shown on.
void MakeWhitePanel(QWidget* widget);

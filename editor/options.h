// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The user's options: colours of the workspace and the pointer's behaviour. The main window owns
// them and keeps them in the settings file; the workspace reads them.
struct TOptions {
    int32_t DesktopColor = 0x00FFFFFF; // 0x00BBGGRR
    int32_t GridColor = 0;
    bool FullSelection = false;
    bool SelectOnCreate = false;
    bool DrawConnections = false;
    bool HighlightConnection = true;
};

// SPDX-License-Identifier: MIT
// The main window's simulation commands: run, stop, pause, time scale.
#include "tform1.h"

void TForm1::ToolButton6Click() {}
void TForm1::ToolButton7Click() {}
void TForm1::ToolButton8Click() {}
void TForm1::ToolButton9Click() {}
void TForm1::RequestSimulationStop() {}

// SPDX-License-Identifier: MIT
// The main window's catalogue commands.
#include "tform1.h"

void TForm1::ShowPicturesCatalogue() {}
void TForm1::ShowElementsCatalogue() {}
void TForm1::ShowChipsCatalogue() {}
void TForm1::ShowAddChip() {}

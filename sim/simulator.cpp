// SPDX-License-Identifier: MIT
#include "simulator.h"

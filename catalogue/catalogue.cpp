// SPDX-License-Identifier: MIT
#include "catalogue.h"

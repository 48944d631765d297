// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The text a window shows for a name that is data: the special elements' group and the special
// elements' designators ("Переключатель1") in the interface language ("Switch1" in English).
// The model and the files keep the names as they are; any other name is shown unchanged.
QString DisplayName(const QString& name);

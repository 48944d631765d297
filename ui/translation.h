// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QTranslator;

// Installs the toolkit's own Russian texts (file dialogs, Yes/No buttons, edit context menus) from
// qtbase_ru in `folder`, by default the folder where Qt keeps its translations. Returns the
// installed translator, owned by the application, or null when the file is missing or unreadable:
// the toolkit's texts then stay English and nothing else changes.
QTranslator* InstallToolkitTranslation(const QString& folder = QString());

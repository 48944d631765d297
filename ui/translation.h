// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

class QTranslator;

// Installs the toolkit's own Russian texts (file dialogs, Yes/No buttons, edit context menus) from
// qtbase_ru in `folder`, by default the folder where Qt keeps its translations. Returns the
// installed translator, owned by the application, or null when the file is missing or unreadable:
// the toolkit's texts then stay English and nothing else changes.
QTranslator* InstallToolkitTranslation(const QString& folder = QString());

// The interface languages. Russian is the language of the source texts and needs no translation
// of the program's own texts; English comes from translations/tarnwell_en.qm beside the program.
enum class Language { Russian, English };

// "ru" and "en" (any case, surrounding blanks ignored); nothing for any other text.
std::optional<Language> ParseLanguage(const QString& code);
QString LanguageCode(Language language);
// The language to start in: `override` (the TARNWELL_LANG variable) when it names one, else the
// settings file's choice when it names one, else the system locale: Russian for "ru*", English
// for any other.
Language ChooseLanguage(const QString& override, const QString& setting, const QString& localeName);

// Makes `language` the one every window built from now on speaks: removes the translators an
// earlier call installed, then installs the program's English texts from `folder` (by default
// translations/ beside the executable) for English, or the toolkit's Russian texts for Russian.
// False when a translation file is missing: the program's texts then stay Russian.
bool InstallLanguage(Language language, const QString& folder = QString());
// The language the last InstallLanguage installed; Russian before any.
Language InstalledLanguage();
// Takes out what InstallLanguage installed: the program's texts are Russian again and the
// toolkit's its own English ones, as before any call.
void RemoveLanguage();

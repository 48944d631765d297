// SPDX-License-Identifier: MIT
#include "ui/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// The translators InstallLanguage put in place, so that the next call can take them out again.
struct Installed {
    QPointer<QTranslator> program;
    QPointer<QTranslator> toolkit;
    Language language = Language::Russian;
};

Installed& installed() {
    static Installed state;
    return state;
}

void Remove(QPointer<QTranslator>& translator) {
    if (!translator) return;
    QCoreApplication::removeTranslator(translator);
    delete translator.data();
    translator = nullptr;
}

} // namespace

QTranslator* InstallToolkitTranslation(const QString& folder) {
    const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

std::optional<Language> ParseLanguage(const QString& code) {
    const QString c = code.trimmed().toLower();
    if (c == QStringLiteral("ru")) return Language::Russian;
    if (c == QStringLiteral("en")) return Language::English;
    return std::nullopt;
}

QString LanguageCode(Language language) {
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ru");
}

Language ChooseLanguage(const QString& override, const QString& setting, const QString& localeName) {
    if (const auto l = ParseLanguage(override)) return *l;
    if (const auto l = ParseLanguage(setting)) return *l;
    return localeName.startsWith(QStringLiteral("ru"), Qt::CaseInsensitive) ? Language::Russian
                                                                            : Language::English;
}

void RemoveLanguage() {
    Installed& state = installed();
    Remove(state.program);
    Remove(state.toolkit);
    state.language = Language::Russian;
}

bool InstallLanguage(Language language, const QString& folder) {
    RemoveLanguage();
    Installed& state = installed();
    if (language == Language::Russian) {
        state.toolkit = InstallToolkitTranslation();
        return !state.toolkit.isNull();
    }
    const QString dir =
        folder.isEmpty()
            ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))
            : folder;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("tarnwell_en"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    state.program = translator;
    state.language = Language::English;
    return true;
}

Language InstalledLanguage() {
    return installed().language;
}

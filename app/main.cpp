// SPDX-License-Identifier: MIT
#include "app/inifile.h"
#include "app/mainwindow.h"
#include "app/optionsfile.h"
#include "ui/translation.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    // The interface language: TARNWELL_LANG, else the one chosen in the settings, else the system's.
    // Russian also brings the toolkit's own dialogs and menus in Russian.
    const IniFile config(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("config/main.ini")));
    const Language language =
        ChooseLanguage(qEnvironmentVariable("TARNWELL_LANG"), ReadLanguage(config), QLocale::system().name());
    if (!InstallLanguage(language) && language == Language::English)
        std::fprintf(stderr,
                     "tarnwell: translations/tarnwell_en.qm is missing; the interface stays Russian\n");
    TForm1 form1;
    form1.CreateWindows();
    // The main window fills the work area when first shown, its frame and title bar included.
    if (QScreen* screen = QGuiApplication::primaryScreen()) form1.FillWorkArea(screen->availableGeometry());
    form1.show();
    // For the start-up benchmark and the install check: quit once the shown window's first events
    // are through, saying which catalogue it came up with.
    if (qEnvironmentVariableIsSet("TARNWELL_QUIT_AFTER_SHOW")) {
        QTimer::singleShot(0, &form1, [&form1] {
            Catalogue& c = form1.catalogueUi().catalogue();
            std::printf("shown; catalogue %s: %d pictures, %d element types, %d chips\n",
                        qPrintable(c.folder()), c.pictures().count(), c.elements().count(),
                        c.chips().count());
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}

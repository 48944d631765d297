// SPDX-License-Identifier: MIT
#include "app/mainwindow.h"
#include "ui/translation.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    // The toolkit's own dialogs and menus in Russian; without the translation file they stay English.
    InstallToolkitTranslation();
    TForm1 form1;
    form1.CreateWindows();
    // The main window fills the work area when first shown.
    if (QScreen* screen = QGuiApplication::primaryScreen()) form1.setGeometry(screen->availableGeometry());
    form1.show();
    return QApplication::exec();
}

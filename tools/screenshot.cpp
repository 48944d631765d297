// SPDX-License-Identifier: MIT
// Grabs the main window, as it looks after start-up or with a schematic opened, into a PNG file
// (for the documentation).
#include "app/mainwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 3) {
        std::fputs("usage: tarnwell-screenshot OUT.png [SCHEMATIC.tsv]\n", stderr);
        return 2;
    }
    TForm1 form1;
    form1.CreateWindows();
    form1.resize(1000, 700);
    form1.show();
    QApplication::processEvents();
    if (args.size() == 3 && !form1.LoadSchematic(args[2])) return 1;
    QApplication::processEvents();
    if (!form1.grab().save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}

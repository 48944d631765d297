// SPDX-License-Identifier: MIT
#include "tools/batch.h"

#include <QGuiApplication>

int main(int argc, char* argv[]) {
    // Placing writes designators onto pictures, which needs fonts but no screen. Qt's own notes
    // about the platform would mix with the runner's messages on standard error: only its fatal
    // messages are let through.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QGuiApplication app(argc, argv);
    return BatchMain(QCoreApplication::arguments().mid(1), stdout, stderr);
}

// SPDX-License-Identifier: MIT
#include "tools/batch.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString usage = QStringLiteral("usage: tarnwell-batch route FILE | run FILE --units N\n");
    if (args.isEmpty()) {
        std::fputs(usage.toLocal8Bit().constData(), stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == u"route") return BatchRoute(args, stdout, stderr);
    if (command == u"run") return BatchRun(args, stdout, stderr);
    std::fputs(usage.toLocal8Bit().constData(), stderr);
    return 2;
}

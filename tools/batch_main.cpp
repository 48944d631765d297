// SPDX-License-Identifier: MIT
#include "tools/batch.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return BatchMain(QCoreApplication::arguments().mid(1), stdout, stderr);
}

// SPDX-License-Identifier: MIT
// The settings file: any bytes read as options without harm, and the options written back over
// that file read back the same.
#include "app/optionsfile.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return InitFuzzApplication(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where the system offers it: every write of a key rewrites the file.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tarnwell-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tarnwell-fuzz-XXXXXX"));
    const QString path = QDir(dir.path()).filePath(QStringLiteral("main.ini"));
    {
        QFile f(path);
        FuzzCheck(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TOptions read;
    {
        const IniFile file(path);
        ReadOptions(file, read);
        (void)ReadLockBases(file);
    }
    // Flip every option so that every key is written anew, then read the file again.
    TOptions written = read;
    written.DesktopColor = ~read.DesktopColor;
    written.GridColor = read.GridColor ^ 0x00123456;
    written.FullSelection = !read.FullSelection;
    written.SelectOnCreate = !read.SelectOnCreate;
    written.DrawConnections = !read.DrawConnections;
    written.HighlightConnection = !read.HighlightConnection;
    {
        IniFile file(path);
        QString error;
        FuzzCheck(WriteOptions(file, written, &error), "writing the options failed");
    }
    TOptions again;
    ReadOptions(IniFile(path), again);
    FuzzCheck(again.DesktopColor == written.DesktopColor && again.GridColor == written.GridColor &&
                  again.FullSelection == written.FullSelection &&
                  again.SelectOnCreate == written.SelectOnCreate &&
                  again.DrawConnections == written.DrawConnections &&
                  again.HighlightConnection == written.HighlightConnection,
              "options written do not read back the same");
    return 0;
}

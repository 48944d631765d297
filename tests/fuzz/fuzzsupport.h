// SPDX-License-Identifier: MIT
#pragma once

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A failed check aborts with its text, which libFuzzer reports as a crash with the input.
inline void FuzzCheck(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Aborts on a fault that CheckInvariants found.
inline void FuzzAssert(const std::string& fault) {
    if (fault.empty()) return;
    std::fprintf(stderr, "model invariant broken: %s\n", fault.c_str());
    std::abort();
}

// The offscreen platform (no display needed), and only Qt's fatal messages, which abort: the image
// readers warn about every odd palette index, and printing them would slow the run.
inline void InitFuzzPlatform() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
}

// Fonts and painting (the designator on a chip's picture) need a GUI application.
inline int InitFuzzApplication(int* argc, char*** argv) {
    InitFuzzPlatform();
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

// SPDX-License-Identifier: MIT
// File sets opened in the main window on the offscreen platform, as "Открыть..." opens them, with the
// default catalogue: whatever the three files hold, the window loads, lays out and routes the
// schematic at some zoom without a fault, and its pictures follow the element table.
//
// Input layout as for fuzz_fileset (two little-endian uint16 lengths, then the tree, element and net
// files); the zoom follows from the input's size. Seeds: the example file sets
// (tools/make-fileset-seeds.py).
#include "app/mainwindow.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "model/invariants.h"
#include "model/schematicfiles.h"
#include "tests/fuzz/fuzzsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

struct Session {
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    QString set;
};
Session* session = nullptr;

size_t Length(const uint8_t* p) {
    return static_cast<size_t>(p[0]) | static_cast<size_t>(p[1]) << 8;
}

void Write(const QString& path, const uint8_t*& data, size_t& size, size_t length) {
    length = std::min(length, size);
    QFile f(path);
    FuzzCheck(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the file set");
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(length));
    data += length;
    size -= length;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzPlatform();
    static QApplication* app = new QApplication(*argc, *argv);
    (void)app;
    session = new Session;
    // A program folder of its own: the staged default catalogue is copied, never opened in place.
    const QDir dir(session->dir.path());
    const QDir staged(QStringLiteral(TARNWELL_FUZZ_BASES));
    dir.mkpath(QStringLiteral("bases"));
    dir.mkpath(QStringLiteral("config"));
    for (const QString& f : staged.entryList(QDir::Files))
        FuzzCheck(QFile::copy(staged.filePath(f), dir.filePath(QStringLiteral("bases/") + f)),
                  "cannot copy the default catalogue");
    session->set = dir.filePath(QStringLiteral("set.tsv"));
    session->form = std::make_unique<TForm1>(session->dir.path());
    session->form->CreateWindows();
    session->form->resize(800, 600);
    session->form->show();
    // The boxes a load shows (its failure, the elements it could not place) are closed at once.
    auto* closer = new QTimer;
    QObject::connect(closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->done(0);
    });
    closer->start(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    TForm1& form = *session->form;
    // Mostly the smallest zoom, whose field is quick to paint; every eighth input another one.
    const int zoom =
        size % 8 == 0 ? static_cast<int>(size / 8 % static_cast<size_t>(form.ComboBox1->count())) : 0;
    const size_t treeLength = Length(data);
    const size_t elementLength = Length(data + 2);
    data += 4;
    size -= 4;
    const TSchematicFileNames names = SchematicFileNames(session->set);
    Write(names.tree, data, size, treeLength);
    Write(names.elements, data, size, elementLength);
    Write(names.nets, data, size, size);

    // The log boxes would keep every load's trace.
    form.Memo1->clear();
    form.LoadSchematic(session->set);
    form.ComboBox1->setCurrentIndex(zoom);
    const Schematic& s = form.model();
    FuzzAssert(CheckInvariants(s));
    FuzzAssert(CheckNavigator(s));
    FuzzCheck(static_cast<int>(form.Frame21->pictures().size()) == s.ElementCount(),
              "a picture too many or too few");
    const int scale = form.Frame21->view().Scale;
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const ElementPicture* p = form.Frame21->picture(i);
        FuzzCheck(p->tag() == i, "a picture's tag is not its element");
        const TPoint32 c = s.element(i).Coord;
        FuzzCheck(std::abs(c.x) <= CoordinateLimit && std::abs(c.y) <= CoordinateLimit,
                  "an element placed outside the coordinate limits");
        FuzzCheck(p->pos() == QPoint(c.x * scale + 2, c.y * scale + 2), "a picture away from its element");
    }
    return 0;
}

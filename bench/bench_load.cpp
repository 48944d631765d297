// SPDX-License-Identifier: MIT
// Loading a file set of N element records of one name against N navigator nodes of that name (a
// tree listed over and over): each record takes the next listed node of its name, the first 1000
// fill the element table, the rest are reported. Once by the loader alone, with a chip's data made
// up, and once through the main window's "Открыть..." with the default catalogue, routing and
// layout included.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "model/schematicfiles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// A tree of one group with `n` nodes D1.1, an element file of `n` records D1.1, a net file joining
// the first two records.
struct RepeatedNames {
    QByteArray tree, elements, nets;
    explicit RepeatedNames(int n, const QByteArray& group) {
        tree = group + "\r\n" + QByteArray("\tD1.1\r\n").repeated(n);
        for (int i = 0; i < n; ++i)
            elements += EncodeElementRecord({i % 180, i % 150, QStringLiteral("D1.1"), 7, 11});
        const auto pin = [this](int32_t element, int32_t leg) {
            for (const int32_t v : {element, leg})
                for (int b = 0; b < 4; ++b)
                    nets += static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xFF);
        };
        pin(1, 2);
        pin(2, 0);
        pin(0, 0);
    }
};

bool MadeUpChip(const QStandardItem*, TPlacementData* data, QString*) {
    static const QImage picture = [] {
        QImage p(40, 50, QImage::Format_RGB32);
        p.fill(Qt::white);
        return p;
    }();
    data->picture = picture;
    data->leftPins = QStringLiteral("0110");
    data->rightPins = QStringLiteral("0001");
    return true;
}

void BM_LoadRepeatedNames(benchmark::State& state) {
    const RepeatedNames set(static_cast<int>(state.range(0)), "K");
    TLoadOptions options;
    options.placement = &MadeUpChip;
    for (auto _ : state) {
        Schematic s;
        const TLoadResult r = LoadSchematicBytes(s, set.tree, set.elements, set.nets, options);
        if (s.ElementCount() != std::min<int64_t>(state.range(0), MaxElements) || s.Conns().size() != 1)
            state.SkipWithError("the load did not place what it should");
        benchmark::DoNotOptimize(r.unplacedCount);
    }
}
BENCHMARK(BM_LoadRepeatedNames)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_OpenRepeatedNamesInTheWindow(benchmark::State& state) {
    QTemporaryDir dir;
    const QDir program(dir.path());
    const QDir staged(QCoreApplication::applicationDirPath() + QStringLiteral("/bases"));
    program.mkpath(QStringLiteral("bases"));
    program.mkpath(QStringLiteral("config"));
    for (const QString& f : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile})
        QFile::copy(staged.filePath(f), program.filePath(QStringLiteral("bases/") + f));
    const RepeatedNames set(static_cast<int>(state.range(0)), "\xCA\x31\x35\x35\xCB\xC0\x33"); // К155ЛА3
    const TSchematicFileNames names = SchematicFileNames(program.filePath(QStringLiteral("set.tsv")));
    for (const auto& [path, bytes] :
         {std::pair{names.tree, set.tree}, std::pair{names.elements, set.elements},
          std::pair{names.nets, set.nets}}) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    TForm1 form(dir.path());
    form.CreateWindows();
    form.resize(900, 700);
    form.show();
    // The warning box that lists the elements beyond the table is closed as soon as it is up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->done(0);
    });
    closer.start(0);
    for (auto _ : state) {
        form.LoadSchematic(names.tree);
        if (form.model().ElementCount() != std::min<int64_t>(state.range(0), MaxElements))
            state.SkipWithError("the load did not place what it should");
    }
}
BENCHMARK(BM_OpenRepeatedNamesInTheWindow)->Arg(16000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

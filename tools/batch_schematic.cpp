// SPDX-License-Identifier: MIT
#include "tools/batchio.h"
#include "tools/batchschematic.h"

#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Each line of a message about `path` on its own line of standard error.
void ReportLines(FILE* err, const QString& path, const QString& text) {
    for (const QString& line : text.split(u'\n'))
        ReportError(err, QStringLiteral("%1: %2").arg(path, line));
}

} // namespace
bool IsSchematicFile(const QString& path) {
    return path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive);
}

QString DefaultBasesFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bases"));
}

bool LoadSchematicSet(const QString& path, const QString& bases, SchematicDocument& document, FILE* err) {
    // The catalogue is only read: a missing, empty, damaged or foreign file is refused, never created
    // or changed.
    for (const QString& file : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile}) {
        if (!QFileInfo::exists(QDir(bases).filePath(file))) {
            ReportError(err, QStringLiteral("no catalogue in %1: %2 is missing").arg(bases, file));
            return false;
        }
    }
    Catalogue catalogue(bases, CatalogueTable::OpenMode::ReadOnly);
    for (const QString& error : {catalogue.openPictures(), catalogue.openElements(), catalogue.openChips()}) {
        if (!error.isEmpty()) {
            ReportLines(err, QStringLiteral("cannot open the catalogue in %1").arg(bases), error);
            return false;
        }
    }

    document.setPlacementSource(CataloguePlacement(catalogue));
    const TLoadResult r = document.Load(SchematicFileNames(path));
    // The catalogue goes with this function.
    document.setPlacementSource({});
    for (const QString& line : r.recovery)
        ReportLines(err, path, line);
    for (const QString& line : UnplacedReport(r, MaxLoadProblems))
        ReportLines(err, path, line);
    for (const QString& problem : r.problems)
        ReportLines(err, path, problem);
    if (!r.error.isEmpty()) {
        ReportLines(err, path, r.error);
        // Nothing of the set could be read without its tree file.
        if (r.filesRead == 0 && document.schematic().navigator().count() == 0) return false;
    }
    return true;
}

bool LoadRoutedSchematic(const QString& path, const QString& bases, SchematicDocument& document, FILE* err) {
    if (IsSchematicFile(path))
        return LoadSchematicSet(path, bases.isEmpty() ? DefaultBasesFolder() : bases, document, err);
    if (!ReadNetlistFile(path, document, err)) return false;
    // The edits of the file are routed once, at the end.
    document.Reroute();
    return true;
}

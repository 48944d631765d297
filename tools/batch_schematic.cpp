// SPDX-License-Identifier: MIT
#include "tools/batchio.h"
#include "tools/batchschematic.h"

#include "catalogue/catalogue.h"
#include "catalogue/chiplookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool IsSchematicFile(const QString& path) {
    return path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive);
}

QString DefaultBasesFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bases"));
}

bool LoadSchematicSet(const QString& path, const QString& bases, SchematicDocument& document, FILE* err) {
    // Opening a missing table would create it empty: the folder must hold all three.
    for (const QString& file : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile}) {
        if (!QFileInfo(QDir(bases).filePath(file)).isFile()) {
            ReportError(err, QStringLiteral("no catalogue in %1: %2 is missing").arg(bases, file));
            return false;
        }
    }
    Catalogue catalogue(bases);
    for (const QString& error : {catalogue.openPictures(), catalogue.openElements(), catalogue.openChips()}) {
        if (!error.isEmpty()) {
            ReportError(err, QStringLiteral("cannot open the catalogue in %1: %2").arg(bases, error));
            return false;
        }
    }

    document.setPlacementSource(CataloguePlacement(catalogue));
    const TLoadResult r = document.Load(SchematicFileNames(path));
    // The catalogue goes with this function.
    document.setPlacementSource({});
    for (const QString& problem : r.problems)
        ReportError(err, QStringLiteral("%1: %2").arg(path, problem));
    if (!r.error.isEmpty()) {
        ReportError(err, QStringLiteral("%1: %2").arg(path, r.error));
        // Nothing of the set could be read without its tree file.
        if (r.filesRead == 0 && document.schematic().navigator().count() == 0) return false;
    }
    return true;
}

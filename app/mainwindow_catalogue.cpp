// SPDX-License-Identifier: MIT
// The main window's catalogue commands.
#include "app/mainwindow.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementswindow.h"
#include "catalogue/pictureswindow.h"

#include <QDir>

CatalogueUi& TForm1::catalogueUi() {
    if (!catalogueUi_)
        catalogueUi_ =
            std::make_unique<CatalogueUi>(QDir(programDir()).filePath(QStringLiteral("bases")), &model());
    return *catalogueUi_;
}

void TForm1::ShowPicturesCatalogue() {
    if (Form5) Form5->exec();
}

void TForm1::ShowElementsCatalogue() {
    if (Form7) Form7->exec();
}

void TForm1::ShowChipsCatalogue() {
    if (Form10) Form10->exec();
}

void TForm1::ShowAddChip() {
    if (Form13) Form13->exec();
}

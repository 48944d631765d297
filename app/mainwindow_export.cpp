// SPDX-License-Identifier: MIT
#include "app/exportdialog.h"
#include "app/mainwindow.h"
#include "editor/workspaceframe.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

void TForm1::ExportClick() {
    // The picture is offered beside the schematic's files, named after them.
    const QFileInfo current(currentFile_);
    const QString path = currentFile_.isEmpty()
                             ? QDir(programDir_).filePath(tr("схема.png"))
                             : current.dir().filePath(current.completeBaseName() + QStringLiteral(".png"));
    ExportDialog dialog(model(), Frame21->grids(), Frame21->view().Scale, options_.DesktopColor, path, this);
    dialog.exec();
}

void TForm1::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setWindowTitle(tr("Печать"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, HasSelection(model()));
    if (dialog.exec() != QDialog::Accepted) return;
    PictureOptions options;
    options.desktop = options_.DesktopColor;
    options.selectionOnly = printer.printRange() == QPrinter::Selection;
    const SchematicPicture picture(model(), Frame21->grids(), options);
    if (picture.empty()) {
        QMessageBox::warning(this, tr("Внимание"), tr("На схеме нечего печатать"));
        return;
    }
    if (!PrintSchematicPicture(picture, printer))
        QMessageBox::warning(this, tr("Внимание"), tr("Не удалось напечатать схему"));
}

// SPDX-License-Identifier: MIT
// The main window's file commands: save, save as, open and new, and the question about unsaved
// changes.
#include "app/mainwindow.h"

#include "editor/workspaceframe.h"
#include "model/schematicfiles.h"
#include "sim/oscilloscopewindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// The dialogs of both commands: one filter, starting in the program's folder.
QString ChooseSchematicFile(QWidget* parent, const QString& folder, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent,
                       mode == QFileDialog::AcceptSave
                           ? QCoreApplication::translate("TForm1", "Сохранить как")
                           : QCoreApplication::translate("TForm1", "Открыть"),
                       folder, QCoreApplication::translate("TForm1", "Схема Zivuvazodi Tarnwell (*.tsv)"));
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? QStringLiteral("SaveDialog1")
                                                         : QStringLiteral("OpenDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        // Existing files are replaced without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QStringLiteral("tsv"));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

void TForm1::ConnectFiles() {
    connect(ActNew, &QAction::triggered, this, &TForm1::Button8Click);
    connect(ActOpen, &QAction::triggered, this, &TForm1::Button7Click);
    connect(ActSave, &QAction::triggered, this, &TForm1::SaveCurrent);
    connect(ActSaveAs, &QAction::triggered, this, &TForm1::Button6Click);
    connect(ActExport, &QAction::triggered, this, &TForm1::ExportClick);
    connect(ActPrint, &QAction::triggered, this, &TForm1::PrintClick);
    connect(ToolButtonNew, &QToolButton::clicked, this, &TForm1::Button8Click);
    connect(ToolButtonOpen, &QToolButton::clicked, this, &TForm1::Button7Click);
    connect(ToolButtonSave, &QToolButton::clicked, this, &TForm1::Button6Click);
}

void TForm1::Button6Click() {
    const QString chosen = ChooseSchematicFile(this, programDir_, QFileDialog::AcceptSave);
    if (!chosen.isEmpty()) SaveSchematic(chosen);
}

void TForm1::Button7Click() {
    if (!MayDiscardChanges()) return;
    const QString chosen = ChooseSchematicFile(this, programDir_, QFileDialog::AcceptOpen);
    if (!chosen.isEmpty()) LoadSchematic(chosen);
}

void TForm1::Button8Click() {
    if (!MayDiscardChanges()) return;
    document_->New();
    currentFile_.clear();
    if (auto* scope = window<TForm17>()) scope->hide();
}

bool TForm1::SaveCurrent() {
    if (currentFile_.isEmpty()) {
        const QString chosen = ChooseSchematicFile(this, programDir_, QFileDialog::AcceptSave);
        return !chosen.isEmpty() && SaveSchematic(chosen);
    }
    return SaveSchematic(currentFile_);
}

bool TForm1::MayDiscardChanges() {
    if (!document_->isModified()) return true;
    QMessageBox box(QMessageBox::Question, tr("Внимание"), tr("Сохранить изменения в схеме?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(tr("Да"));
    box.button(QMessageBox::No)->setText(tr("Нет"));
    box.button(QMessageBox::Cancel)->setText(tr("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        // A save that fails or is cancelled keeps the changes and the schematic on screen.
        return SaveCurrent();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TForm1::SaveSchematic(const QString& chosen) {
    QStringList log;
    const QString error = document_->Save(SchematicFileNames(chosen), &log);
    if (!log.isEmpty()) Memo1->appendPlainText(log.join(u'\n'));
    if (!error.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), error);
        return false;
    }
    currentFile_ = chosen;
    DesktopSetup();
    Button4Click();
    return true;
}

bool TForm1::LoadSchematic(const QString& chosen) {
    currentFile_.clear();
    if (auto* scope = window<TForm17>()) scope->hide();
    catalogueUi().catalogue().ReopenFailed();
    const TLoadResult r = document_->Load(SchematicFileNames(chosen), options_.SelectOnCreate);
    if (!r.log.isEmpty()) Memo1->appendPlainText(r.log.join(u'\n'));
    if (!r.error.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), r.error);
        WarnLoadProblems(r);
        return false;
    }
    // Only a set that was read whole becomes the schematic's file set: "Сохранить" never writes
    // a partly read schematic over the files it came from.
    currentFile_ = chosen;
    RefreshProbeList();
    DesktopSetup();
    Frame21->ShowWires();
    WarnLoadProblems(r);
    return true;
}

void TForm1::WarnLoadProblems(const TLoadResult& r) {
    QStringList text = UnplacedReport(r, 20);
    if (!r.problems.isEmpty()) {
        if (!text.isEmpty()) text << QString();
        text << tr("Из файла цепей пропущены ссылки на выводы или цепи (%1), подробности в журнале.")
                    .arg(r.problems.size());
    }
    if (!text.isEmpty()) QMessageBox::warning(this, tr("Внимание"), text.join(u'\n'));
}

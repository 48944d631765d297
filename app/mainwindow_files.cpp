// SPDX-License-Identifier: MIT
// The main window's file commands: save as, open and new.
#include "app/mainwindow.h"

#include "model/schematicfiles.h"
#include "sim/oscilloscopewindow.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

// The dialogs of both commands: one filter, starting in the program's folder.
QString ChooseSchematicFile(QWidget* parent, const QString& folder, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(
        parent, mode == QFileDialog::AcceptSave ? QStringLiteral("Сохранить как") : QStringLiteral("Открыть"),
        folder, QStringLiteral("Схема Zivuvazodi Tarnwell (*.tsv)"));
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
    connect(ActSaveAs, &QAction::triggered, this, &TForm1::Button6Click);
    connect(ToolButtonNew, &QToolButton::clicked, this, &TForm1::Button8Click);
    connect(ToolButtonOpen, &QToolButton::clicked, this, &TForm1::Button7Click);
    connect(ToolButtonSave, &QToolButton::clicked, this, &TForm1::Button6Click);
}

void TForm1::Button6Click() {
    const QString chosen = ChooseSchematicFile(this, programDir_, QFileDialog::AcceptSave);
    if (!chosen.isEmpty()) SaveSchematic(chosen);
}

void TForm1::Button7Click() {
    const QString chosen = ChooseSchematicFile(this, programDir_, QFileDialog::AcceptOpen);
    if (!chosen.isEmpty()) LoadSchematic(chosen);
}

void TForm1::Button8Click() {
    model_->Clear();
    Button4Click();
    if (auto* scope = window<TForm17>()) scope->hide();
}

bool TForm1::SaveSchematic(const QString& chosen) {
    QStringList log;
    const QString error = SaveSchematicFiles(*model_, SchematicFileNames(chosen), &log);
    if (!log.isEmpty()) Memo1->appendPlainText(log.join(u'\n'));
    if (!error.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), error);
        return false;
    }
    DesktopSetup();
    Button4Click();
    return true;
}

bool TForm1::LoadSchematic(const QString& chosen) {
    Button8Click();
    catalogueUi().catalogue().ReopenFailed();
    TLoadOptions options;
    options.placement = [this](const QStandardItem* node, TPlacementData* data, QString* error) {
        return PlacementFor(node, data, error);
    };
    options.selectOnCreate = options_.SelectOnCreate;
    options.placed = [this](int) { simulator().PrepareRun(); };
    const TLoadResult r = LoadSchematicFiles(*model_, SchematicFileNames(chosen), options);
    if (!r.log.isEmpty()) Memo1->appendPlainText(r.log.join(u'\n'));
    if (!r.error.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Tarnwell"), r.error);
        WarnLoadProblems(r);
        return false;
    }
    // Routed twice: the second routing starts from the direction the first one left.
    Button4Click();
    RefreshProbeList();
    DesktopSetup();
    Button4Click();
    WarnLoadProblems(r);
    return true;
}

void TForm1::WarnLoadProblems(const TLoadResult& r) {
    QStringList text = UnplacedReport(r, 20);
    if (!r.problems.isEmpty()) {
        if (!text.isEmpty()) text << QString();
        text << QStringLiteral(
                    "Из файла цепей пропущены ссылки на выводы или цепи (%1), подробности в журнале.")
                    .arg(r.problems.size());
    }
    if (!text.isEmpty()) QMessageBox::warning(this, QStringLiteral("Внимание"), text.join(u'\n'));
}

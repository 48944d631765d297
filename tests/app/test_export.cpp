// SPDX-License-Identifier: MIT
// "Экспорт..." and "Печать..." of the main window: the pictures the dialog writes, their match
// with the workspace and with the runner, the selection, and the dialog's answers to bad input.
#include "tests/app/appfixture.h"

#include "app/exportdialog.h"
#include "editor/workspaceframe.h"
#include "tools/batch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Export : public CatalogueAppFixture {
protected:
    void Load(const char* example) {
        ASSERT_TRUE(
            form->LoadSchematic(QStringLiteral(TARNWELL_EXAMPLES "/%1.tsv").arg(QLatin1String(example))));
    }

    // Opens "Файл" and clicks `item` with the mouse; `handle` runs on the dialog it opens.
    void ClickFileItem(QAction* item, std::function<void(QWidget*)> handle) {
        WhenModalShown([](QWidget* w) { return qobject_cast<QMenu*>(w) == nullptr; }, std::move(handle));
        form->MenuFile->popup(form->mapToGlobal(QPoint(10, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form->MenuFile));
        QTest::mouseClick(form->MenuFile, Qt::LeftButton, {}, form->MenuFile->actionGeometry(item).center());
    }

    // Fills the export dialog in and presses "Сохранить" with the mouse.
    static void FillIn(ExportDialog* d, int format, const QString& zoom, const QString& path,
                       bool selection = false) {
        d->FormatBox->setCurrentIndex(format);
        d->ZoomBox->setCurrentIndex(d->ZoomBox->findText(zoom));
        if (selection)
            QTest::mouseClick(d->SelectionBox, Qt::LeftButton, {}, QPoint(6, d->SelectionBox->height() / 2));
        d->FileEdit->setText(path);
        QTest::mouseClick(d->SaveButton, Qt::LeftButton);
    }

    // What the runner draws for the same example.
    QByteArray RunnerImage(const char* example, const QString& out, const QString& zoom) {
        FILE* o = std::tmpfile();
        FILE* e = std::tmpfile();
        const int status =
            BatchImage({QStringLiteral(TARNWELL_EXAMPLES "/%1.tsv").arg(QLatin1String(example)), out,
                        QStringLiteral("--zoom"), zoom, QStringLiteral("--bases"),
                        dir.filePath(QStringLiteral("bases"))},
                       o, e);
        std::fclose(o);
        std::fclose(e);
        EXPECT_EQ(status, 0);
        return ReadFile(out);
    }
};

// Chosen from the menu with the mouse, the dialog starts at the workspace's zoom and writes the
// same bytes the runner writes for the example.
TEST_F(Export, TheDialogWritesWhatTheRunnerDraws) {
    const struct {
        const char* example;
        int format;
        const char* suffix;
        const char* zoom;
    } cases[] = {{"half_adder", 0, "png", "100%"},
                 {"half_adder", 1, "svg", "150%"},
                 {"divide_by_two", 1, "svg", "100%"},
                 {"rs_latch", 0, "png", "60%"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.suffix + " " + c.zoom);
        Load(c.example);
        const QString path =
            dir.filePath(QStringLiteral("%1-%2.%3")
                             .arg(QLatin1String(c.example), QString::fromLatin1(c.zoom).chopped(1),
                                  QLatin1String(c.suffix)));
        QString offeredZoom, offeredFile, title;
        ClickFileItem(form->ActExport, [&](QWidget* w) {
            auto* d = qobject_cast<ExportDialog*>(w);
            ASSERT_NE(d, nullptr);
            title = d->windowTitle();
            offeredZoom = d->ZoomBox->currentText();
            offeredFile = d->FileEdit->text();
            // With TARNWELL_SHOT_DIR set the dialog's picture is saved there to look at.
            if (const QString out = qEnvironmentVariable("TARNWELL_SHOT_DIR"); !out.isEmpty())
                d->grab().save(QDir(out).filePath(QStringLiteral("export-dialog.png")));
            FillIn(d, c.format, QLatin1String(c.zoom), path);
        });
        EXPECT_EQ(title, QStringLiteral("Экспорт"));
        EXPECT_EQ(offeredZoom, form->ComboBox1->currentText());
        EXPECT_TRUE(offeredFile.endsWith(QStringLiteral("%1.png").arg(QLatin1String(c.example))))
            << offeredFile.toStdString();
        const QByteArray written = ReadFile(path);
        ASSERT_FALSE(written.isEmpty());
        const QString runner = dir.filePath(QStringLiteral("runner.%1").arg(QLatin1String(c.suffix)));
        EXPECT_EQ(written, RunnerImage(c.example, runner, QString::fromLatin1(c.zoom).chopped(1)));
    }
}

// The PNG at the workspace's zoom is the workspace: every pixel of the shown field equals the
// exported one, except the grid points, which the picture leaves out.
TEST_F(Export, ThePngIsWhatTheWorkspaceShows) {
    for (const char* zoom : {"100%", "150%", "50%"}) {
        SCOPED_TRACE(zoom);
        form->ComboBox1->setCurrentIndex(form->ComboBox1->findText(QLatin1String(zoom)));
        Load("half_adder");
        const int s = form->Frame21->view().Scale;
        ASSERT_EQ(s, QString::fromLatin1(zoom).chopped(1).toInt() / 10);
        PictureOptions options;
        options.scale = s;
        options.desktop = form->options().DesktopColor;
        const SchematicPicture picture(form->model(), form->Frame21->grids(), options);
        const QImage exported = picture.ToImage();
        ASSERT_FALSE(exported.isNull());
        QWidget* surface = form->Frame21->Image1();
        const QImage shown = form->Frame21->Panel1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect field = surface->geometry(); // the surface inside the panel's bevel
        int compared = 0, differing = 0;
        for (int y = 0; y < exported.height(); ++y)
            for (int x = 0; x < exported.width(); ++x) {
                const QPoint at = picture.area().topLeft() + QPoint(x, y); // workspace pixel
                if (at.x() % s == 0 && at.y() % s == 0) continue;
                const QPoint panel = at + field.topLeft();
                if (!field.contains(panel)) continue;
                ++compared;
                differing += shown.pixel(panel) != exported.pixel(x, y);
            }
        EXPECT_GT(compared, exported.width() * exported.height() / 2);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(Export, SelectionReplacingAndBadNames) {
    Load("half_adder");
    Schematic& s = form->model();
    const QString png = dir.filePath(QStringLiteral("part.png"));
    // Without a selection there is only the whole schematic.
    bool enabled = true;
    ClickFileItem(form->ActExport, [&](QWidget* w) {
        auto* d = qobject_cast<ExportDialog*>(w);
        enabled = d->SelectionBox->isEnabled();
        d->reject();
    });
    EXPECT_FALSE(enabled);

    // Two gates and the wire between them.
    int d11 = 0, d12 = 0;
    for (int i = 1; i <= s.ElementCount(); ++i) {
        if (s.element(i).Name == u"D1.1") d11 = i;
        if (s.element(i).Name == u"D1.2") d12 = i;
    }
    ASSERT_GT(d11 * d12, 0);
    s.SelectElement(d11);
    s.SelectElement(d12);
    ClickFileItem(form->ActExport,
                  [&](QWidget* w) { FillIn(qobject_cast<ExportDialog*>(w), 0, "100%", png, true); });
    PictureOptions part;
    part.selectionOnly = true;
    const QImage expected = SchematicPicture(s, form->Frame21->grids(), part).ToImage();
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), expected);
    const QSize whole = SchematicPicture(s, form->Frame21->grids(), {}).size();
    EXPECT_LT(expected.width(), whole.width());
    EXPECT_LT(expected.height(), whole.height());

    // An existing file is replaced only when the user agrees; a format change renames the file.
    const QByteArray before = ReadFile(png);
    for (const int answer : {int(QMessageBox::No), int(QMessageBox::Yes)}) {
        QString question, renamed;
        ClickFileItem(form->ActExport, [&](QWidget* w) {
            auto* d = qobject_cast<ExportDialog*>(w);
            d->FileEdit->setText(png);
            d->FormatBox->setCurrentIndex(1);
            renamed = d->FileEdit->text();
            d->FormatBox->setCurrentIndex(0);
            AnswerNextMessageBox(answer);
            QTest::mouseClick(d->SaveButton, Qt::LeftButton);
            question = LastMessageBoxText();
            if (d->isVisible()) d->reject();
        });
        EXPECT_EQ(renamed, dir.filePath(QStringLiteral("part.svg")));
        EXPECT_TRUE(question.contains(QStringLiteral("уже существует"))) << question.toStdString();
        if (answer == QMessageBox::No)
            EXPECT_EQ(ReadFile(png), before);
        else
            EXPECT_NE(ReadFile(png), before); // the whole schematic now
    }

    // No name, or a folder that is not there: the dialog says so and stays open.
    const struct {
        QString name;
        const char* message;
    } bad[] = {{QString(), "Укажите имя файла"},
               {dir.filePath(QStringLiteral("no/such/folder/a.png")), "Не удалось записать файл"}};
    for (const auto& b : bad) {
        QString message;
        bool open = false;
        ClickFileItem(form->ActExport, [&](QWidget* w) {
            auto* d = qobject_cast<ExportDialog*>(w);
            d->FileEdit->setText(b.name);
            AcceptNextMessageBox();
            QTest::mouseClick(d->SaveButton, Qt::LeftButton);
            message = LastMessageBoxText();
            open = d->isVisible();
            d->reject();
        });
        EXPECT_TRUE(message.contains(QString::fromUtf8(b.message))) << message.toStdString();
        EXPECT_TRUE(open);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no/such/folder/a.png"))));
}

// "Печать..." opens the system's print dialog; the page gets the picture, shrunk to fit.
TEST_F(Export, PrintShowsThePrintDialogAndPrintsAPage) {
    Load("rs_latch");
    QString title;
    bool isPrintDialog = false;
    ClickFileItem(form->ActPrint, [&](QWidget* w) {
        isPrintDialog = qobject_cast<QPrintDialog*>(w) != nullptr;
        title = w->windowTitle();
        qobject_cast<QDialog*>(w)->reject();
    });
    EXPECT_TRUE(isPrintDialog);
    EXPECT_EQ(title, QStringLiteral("Печать"));

    const SchematicPicture picture(form->model(), form->Frame21->grids(), {});
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A6));
        EXPECT_TRUE(PrintSchematicPicture(picture, printer));
    }
    EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF-"));
    form->model().DeselectAll();
    PictureOptions none;
    none.selectionOnly = true;
    QPdfWriter writer(dir.filePath(QStringLiteral("nothing.pdf")));
    EXPECT_FALSE(
        PrintSchematicPicture(SchematicPicture(form->model(), form->Frame21->grids(), none), writer));
}

} // namespace

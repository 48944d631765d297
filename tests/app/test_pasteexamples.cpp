// SPDX-License-Identifier: MIT
// Copy every element of an example, paste, delete the originals: the pasted part is the same
// schematic under new designators, so the runner prints the same run for it.
#include "tests/app/appfixture.h"

#include "app/mainwindow.h"
#include "tools/batch.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include <cstdio>

namespace {

// The runner's output for a file set, with the names of probes and indicators left out (the pasted
// ones have new numbers; their lines keep the order of the elements).
QString RunOutput(const QString& tsv, const QString& bases) {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    const int status = BatchRun(
        {tsv, QStringLiteral("--units"), QStringLiteral("400"), QStringLiteral("--bases"), bases}, out, err);
    EXPECT_EQ(status, 0);
    std::rewind(out);
    QByteArray bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        bytes.append(buffer, static_cast<qsizetype>(n));
    std::fclose(out);
    std::fclose(err);
    return QString::fromUtf8(bytes).replace(
        QRegularExpression(QStringLiteral("^\\S+ (transitions|state):"), QRegularExpression::MultilineOption),
        QStringLiteral("element \\1:"));
}

class PasteExamples : public CatalogueAppFixture {};

TEST_F(PasteExamples, ThePastedCopyRunsAsTheOriginal) {
    const QString bases = dir.filePath(QStringLiteral("bases"));
    for (const char* name : {"rs_latch", "ring_oscillator", "half_adder", "divide_by_two"}) {
        const QString original = QStringLiteral(TARNWELL_EXAMPLES "/%1.tsv").arg(QString::fromLatin1(name));
        ASSERT_TRUE(form->LoadSchematic(original)) << name;
        Schematic& s = form->model();
        const int count = s.ElementCount();
        QTest::keyClick(form.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
        // Away from the workspace: the copy lands beside the originals.
        QCursor::setPos(form->menuBar()->mapToGlobal(QPoint(5, 5)));
        QTest::keyClick(form.get(), Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(s.ElementCount(), 2 * count) << name;
        s.DeselectAll();
        for (int k = 1; k <= count; ++k)
            s.SelectElement(k);
        QTest::keyClick(form.get(), Qt::Key_Delete);
        ASSERT_EQ(s.ElementCount(), count) << name;
        const QString pasted = dir.filePath(QStringLiteral("%1-pasted.tsv").arg(QString::fromLatin1(name)));
        ASSERT_TRUE(form->SaveSchematic(pasted)) << name;
        const QString expected = RunOutput(original, bases);
        EXPECT_TRUE(expected.contains(QStringLiteral("NetLevels:"))) << name;
        EXPECT_EQ(RunOutput(pasted, bases).toStdString(), expected.toStdString()) << name;
    }
}

} // namespace

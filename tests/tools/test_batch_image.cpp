// SPDX-License-Identifier: MIT
// The schematic as a picture: the runner's image command, the SVG against the PNG drawn from the
// same schematic, other programs reading the SVG and PDF, the part a selection shows, and bad
// arguments.
#include "tests/common/batchfixture.h"

#include "document/schematicimage.h"
#include "router/router.h"
#include "tools/batchschematic.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

QStringList Messages;

void Collect(QtMsgType, const QMessageLogContext&, const QString& message) {
    Messages << message;
}

class BatchImageTest : public BatchFixture {
protected:
    static BatchResult Run(const QStringList& args) { return Call(&BatchImage, args); }

    // The examples, by file set and by netlist.
    static QStringList Examples() {
        const QDir examples(QStringLiteral(TARNWELL_EXAMPLES));
        QStringList files;
        for (const QString& name :
             examples.entryList({QStringLiteral("*.tsv"), QStringLiteral("*.net")}, QDir::Files))
            files << examples.filePath(name);
        return files;
    }

    // The SVG drawn by Qt's renderer onto magenta (which shows any part the SVG leaves out),
    // with every message Qt gave while reading and drawing it.
    static QImage RenderSvg(const QString& path, QSize size, QStringList* messages) {
        Messages.clear();
        const QtMessageHandler before = qInstallMessageHandler(&Collect);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QSvgRenderer renderer(path);
            EXPECT_TRUE(renderer.isValid()) << path.toStdString();
            EXPECT_EQ(renderer.defaultSize(), size) << path.toStdString();
            QPainter p(&image);
            renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        qInstallMessageHandler(before);
        *messages = Messages;
        return image;
    }
};

// Drawn from the same schematic, the SVG rendered by Qt equals the PNG except where two ways of
// drawing may differ by design: the round junction dots (the PNG fills whole pixels of the circle,
// the SVG renderer shades the circle's edge) and the names of picture-less elements (text is laid
// out by each renderer's own font code). Those are masked with a pixel of margin; at 100% every
// other pixel, element pictures included, must be equal. At 200% the pictures are masked too, as
// the SVG renderer scales images with its own filter.
TEST_F(BatchImageTest, SvgRenderedByQtEqualsThePngOfEveryExample) {
    const QStringList examples = Examples();
    ASSERT_GE(examples.size(), 6);
    for (const int zoom : {100, 200})
        for (const QString& example : examples) {
            SCOPED_TRACE(
                QStringLiteral("%1 at %2%").arg(QFileInfo(example).fileName()).arg(zoom).toStdString());
            const QString svg = dir.filePath(QStringLiteral("out.svg"));
            const QString png = dir.filePath(QStringLiteral("out.png"));
            const QString percent = QString::number(zoom);
            for (const QString& out : {svg, png}) {
                const BatchResult r = Run({example, out, QStringLiteral("--zoom"), percent});
                ASSERT_EQ(r.status, 0) << r.err.toStdString();
                EXPECT_EQ(r.err, QString());
                EXPECT_EQ(r.out, QString());
            }
            const QImage raster(png);
            ASSERT_FALSE(raster.isNull());
            QStringList messages;
            const QImage vector = RenderSvg(svg, raster.size(), &messages);
            EXPECT_EQ(messages, QStringList());

            SchematicDocument document;
            ASSERT_TRUE(LoadRoutedSchematic(example, QString(), document, stderr));
            PictureOptions options;
            options.scale = zoom / 10;
            const SchematicPicture picture(document.schematic(), document.grids(), options);
            ASSERT_EQ(picture.size(), raster.size());
            QImage mask(raster.size(), QImage::Format_RGB32);
            mask.fill(Qt::black);
            QPainter m(&mask);
            m.translate(-picture.area().topLeft());
            const int s = options.scale, dot = WireDotWidth(s);
            for (int x = 0; x <= GridMax; ++x)
                for (int y = 0; y <= GridMax; ++y)
                    if (document.grids().WireMap.at(x, y) == WireJunction)
                        m.fillRect(QRect(x * s - dot / 2 - 1, y * s - dot / 2 - 1, dot + 2, dot + 2),
                                   Qt::white);
            for (int i = 1; i <= document.schematic().ElementCount(); ++i) {
                m.fillRect(picture.NameRect(i).adjusted(-1, -1, 1, 1), Qt::white);
                if (zoom != 100) m.fillRect(picture.ElementRect(i).adjusted(-1, -1, 1, 1), Qt::white);
            }
            m.end();
            int differing = 0;
            QString first;
            for (int y = 0; y < raster.height(); ++y)
                for (int x = 0; x < raster.width(); ++x)
                    if (mask.pixel(x, y) != qRgb(255, 255, 255) && raster.pixel(x, y) != vector.pixel(x, y)) {
                        if (differing++ == 0)
                            first = QStringLiteral("(%1, %2): PNG %3, SVG %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(raster.pixel(x, y), 8, 16)
                                        .arg(vector.pixel(x, y), 8, 16);
                    }
            EXPECT_EQ(differing, 0) << "first at " << first.toStdString();
        }
}

TEST_F(BatchImageTest, RsvgReadsEverySvgWithoutAWord) {
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (rsvg.isEmpty()) GTEST_SKIP() << "rsvg-convert is not installed";
    for (const QString& example : Examples()) {
        SCOPED_TRACE(example.toStdString());
        const QString svg = dir.filePath(QStringLiteral("out.svg"));
        ASSERT_EQ(Run({example, svg}).status, 0);
        QProcess p;
        p.start(rsvg, {svg, QStringLiteral("-o"), dir.filePath(QStringLiteral("rsvg.png"))});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(p.readAllStandardError(), QByteArray());
        const QImage drawn(dir.filePath(QStringLiteral("rsvg.png")));
        EXPECT_EQ(drawn.size(), QImage(QSvgRenderer(svg).defaultSize(), QImage::Format_RGB32).size());
    }
}

// The SVG holds the wires as lines and the pictures as embedded PNG, with every element's name
// as text; the PDF is one page of the picture's size with the pictures as images.
TEST_F(BatchImageTest, SvgAndPdfCarryTheirParts) {
    const QString example = QStringLiteral(TARNWELL_EXAMPLES "/half_adder.tsv");
    const QString svg = dir.filePath(QStringLiteral("a.svg"));
    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    const QString png = dir.filePath(QStringLiteral("a.png"));
    for (const QString& out : {svg, pdf, png})
        ASSERT_EQ(Run({example, out}).status, 0);
    const QString text = QString::fromUtf8(Read(svg));
    EXPECT_EQ(text.count(QStringLiteral("<image ")), 9);
    EXPECT_GT(text.count(QStringLiteral("<line ")), 20);
    for (const char* name : {"D1.1", "D2.1", "Переключатель1", "Индикатор2"})
        EXPECT_TRUE(text.contains(QStringLiteral("<title>%1</title>").arg(QString::fromUtf8(name)))) << name;

    const QByteArray bytes = Read(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])"))
            .match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    const QSize size = QImage(png).size();
    EXPECT_NEAR(box.captured(1).toDouble(), size.width() * 0.75, 1.0);
    EXPECT_NEAR(box.captured(2).toDouble(), size.height() * 0.75, 1.0);
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
}

// Two wires crossing: a picture of the selection shows the nets among the selected elements
// only, and a crossing of a shown with a hidden wire keeps the shown one's straight piece.
TEST_F(BatchImageTest, SelectionShowsItsNetsAndCrossingsKeepTheShownWire) {
    const QString net = Write("element Переключатель1 5 20 2 2 - 1 0 0\n"
                              "element Индикатор1 40 20 2 2 1 - 0 0\n"
                              "element Переключатель2 20 5 2 2 - 1 0 0\n"
                              "element Индикатор2 21 40 2 2 1 - 0 0\n"
                              "net 1 0 2 0\n"
                              "net 3 0 4 0\n");
    SchematicDocument document;
    ASSERT_TRUE(LoadRoutedSchematic(net, QString(), document, stderr));
    Schematic& s = document.schematic();
    const TGrid& wires = document.grids().WireMap;
    const TGrid& nets = document.grids().NetMap;
    int crossings = 0;
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y)
            crossings += wires.at(x, y) == WireCrossing;
    ASSERT_GT(crossings, 0);

    struct Case {
        std::vector<int> selected;
        bool horizontal, vertical; // net 0 runs across the crossing, net 1 along it
    };
    for (const Case& c : {Case{{1, 2}, true, false}, Case{{3, 4}, false, true},
                          Case{{1, 2, 3, 4}, true, true}, Case{{1, 4}, false, false}}) {
        for (int i = 1; i <= s.ElementCount(); ++i)
            if (s.element(i).Selected !=
                (std::find(c.selected.begin(), c.selected.end(), i) != c.selected.end()))
                s.ToggleSelection(i);
        PictureOptions options;
        options.selectionOnly = true;
        const SchematicPicture picture(s, document.grids(), options);
        for (int i = 1; i <= s.ElementCount(); ++i)
            EXPECT_EQ(picture.Shows(i),
                      std::find(c.selected.begin(), c.selected.end(), i) != c.selected.end());
        EXPECT_EQ(picture.ShowsNet(0), c.horizontal);
        EXPECT_EQ(picture.ShowsNet(1), c.vertical);
        const QImage image = picture.ToImage();
        const auto wireAt = [&](int x, int y) {
            const QPoint p = QPoint(x, y) - picture.area().topLeft();
            return image.rect().contains(p) && image.pixel(p) == qRgb(0, 0, 0);
        };
        // The pin cells lie on the boxes' edges, drawn over the wires.
        const auto underBox = [&](int x, int y) {
            for (int i = 1; i <= s.ElementCount(); ++i)
                if (picture.Shows(i) && picture.ElementRect(i).contains(x * 10, y * 10)) return true;
            return false;
        };
        for (int x = 0; x <= GridMax; ++x)
            for (int y = 0; y <= GridMax; ++y) {
                const int32_t code = wires.at(x, y);
                if (underBox(x, y)) continue;
                if (code == WireCrossing) {
                    EXPECT_EQ(wireAt(x * 10 - 4, y * 10), c.horizontal) << x << ',' << y;
                    EXPECT_EQ(wireAt(x * 10, y * 10 - 4), c.vertical) << x << ',' << y;
                } else if (code >= WireHorizontal && code <= WireJunction) {
                    EXPECT_EQ(wireAt(x * 10, y * 10), nets.at(x, y) == 0 ? c.horizontal : c.vertical)
                        << x << ',' << y;
                }
            }
    }
}

TEST_F(BatchImageTest, BadArgumentsAndFailedWrites) {
    const QString example = QStringLiteral(TARNWELL_EXAMPLES "/rs_latch.net");
    const QString empty = Write("# nothing\n", QStringLiteral("empty.net"));
    const QString out = dir.filePath(QStringLiteral("out.svg"));
    const struct {
        QStringList args;
        int status;
        const char* message;
    } cases[] = {
        {{}, 2, "image takes FILE and OUT"},
        {{example}, 2, "image takes FILE and OUT"},
        {{example, out, QStringLiteral("extra")}, 2, "unexpected argument 'extra'"},
        {{example, dir.filePath(QStringLiteral("out.bmp"))}, 2, "cannot tell the format of"},
        {{example, out, QStringLiteral("--zoom"), QStringLiteral("35")}, 2, "--zoom takes 30, 40, ... 200"},
        {{example, out, QStringLiteral("--zoom"), QStringLiteral("20")}, 2, "--zoom takes 30, 40, ... 200"},
        {{example, out, QStringLiteral("--zoom"), QStringLiteral("210")}, 2, "--zoom takes 30, 40, ... 200"},
        {{example, out, QStringLiteral("--zoom"), QStringLiteral("x")}, 2, "--zoom takes 30, 40, ... 200"},
        {{example, out, QStringLiteral("--zoom")}, 2, "--zoom needs a value"},
        {{example, out, QStringLiteral("--zoom"), QStringLiteral("50"), QStringLiteral("--zoom"),
          QStringLiteral("50")},
         2,
         "--zoom given twice"},
        {{dir.filePath(QStringLiteral("missing.net")), out}, 2, "missing.net"},
        {{empty, out}, 2, "nothing to draw"},
        {{example, dir.filePath(QStringLiteral("no/such/folder/out.svg"))}, 1, "cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const BatchResult r = Run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("tarnwell-batch: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(r.out, QString());
        EXPECT_FALSE(QFile::exists(out));
    }
    // Nothing but the schematic's files and what the cases wrote on purpose is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("empty.net")});
}

} // namespace

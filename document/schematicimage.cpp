// SPDX-License-Identifier: MIT
#include "document/schematicimage.h"

#include "document/wiregeometry.h"
#include "router/router.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QXmlStreamWriter>

#include <algorithm>

namespace {

// A raster picture wider or taller than this is refused rather than allocated: only elements far
// off the field reach it.
constexpr int MaxRasterSide = 16384;

QRgb RgbOf(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

QString Hex(QRgb c) {
    return QColor::fromRgb(c).name(QColor::HexRgb);
}

QString Num(double v) {
    return QString::number(v, 'g', 12);
}

// The font of the names of picture-less elements: the same family everywhere the picture is
// drawn or read, sized with the zoom.
QFont NameFont(int scale) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(6, scale * 6 / 5));
    return font;
}

} // namespace

std::optional<PictureFormat> PictureFormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png") return PictureFormat::Png;
    if (suffix == u"svg") return PictureFormat::Svg;
    if (suffix == u"pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

QImage KeyedPicture(const QImage& bitmap) {
    if (bitmap.isNull()) return {};
    QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = bitmap.pixel(0, bitmap.height() - 1) | 0xFF000000u;
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    return masked;
}

bool HasSelection(const Schematic& schematic) {
    for (int i = 1; i <= schematic.ElementCount(); ++i)
        if (schematic.element(i).Selected) return true;
    return false;
}

SchematicPicture::SchematicPicture(const Schematic& schematic, const RoutingGrids& grids,
                                   const PictureOptions& options)
    : schematic_(schematic), grids_(grids), options_(options),
      shown_(static_cast<size_t>(schematic.ElementCount()) + 1, 0), netShown_(schematic.Conns().size(), 0) {
    for (int i = 1; i <= schematic.ElementCount(); ++i)
        shown_[static_cast<size_t>(i)] = !options.selectionOnly || schematic.element(i).Selected;
    // A net is drawn when every element it joins is drawn.
    for (size_t n = 0; n < netShown_.size(); ++n)
        netShown_[n] =
            std::all_of(schematic.Conns()[n].begin(), schematic.Conns()[n].end(), [&](const TPinRef& pin) {
                return pin.Element >= 1 && pin.Element <= schematic.ElementCount() && Shows(pin.Element);
            });

    QRect used;
    for (int i = 1; i <= schematic.ElementCount(); ++i)
        if (Shows(i)) used |= ElementRect(i) | NameRect(i);
    const int dot = WireDotWidth(options_.scale);
    Trace([&used](const QRect& pixels, QRgb) { used |= pixels; },
          [&used, dot](int x, int y, QRgb) { used |= QRect(x - dot / 2, y - dot / 2, dot, dot); });
    if (!used.isEmpty())
        area_ = used.adjusted(-options_.scale, -options_.scale, options_.scale, options_.scale);
}

bool SchematicPicture::ShowsNet(int net) const {
    if (!options_.selectionOnly) return true;
    return net >= 0 && net < static_cast<int>(netShown_.size()) && netShown_[static_cast<size_t>(net)] != 0;
}

QRgb SchematicPicture::WireColour() const {
    return RgbOf(options_.desktop) ^ 0x00FFFFFFu;
}

// The net of the wire passing through crossing (x, y) along (dx, dy): that of the first cell past
// the crossings in that direction, or in the opposite one.
int SchematicPicture::PassingNet(int x, int y, int dx, int dy) const {
    for (const int sign : {1, -1})
        for (int cx = x + sign * dx, cy = y + sign * dy; cx >= 0 && cx <= GridMax && cy >= 0 && cy <= GridMax;
             cx += sign * dx, cy += sign * dy) {
            const int32_t code = grids_.WireMap.at(cx, cy);
            if (code == WireCrossing) continue;
            if (code >= WireHorizontal && code <= WireJunction) return grids_.NetMap.at(cx, cy);
            break;
        }
    return NoNet;
}

void SchematicPicture::Trace(const WireTracer::StrokeSink& stroke, const WireTracer::DotSink& dot) const {
    WireTracer tracer(options_.scale, stroke, dot);
    const QRgb colour = WireColour();
    for (int x = 0; x <= GridMax; ++x)
        for (int y = 0; y <= GridMax; ++y) {
            int32_t code = grids_.WireMap.at(x, y);
            if (code < WireHorizontal || code > WireJunction) continue;
            if (!options_.selectionOnly) {
                tracer.Cell(code, x, y, colour);
                continue;
            }
            if (code == WireCrossing) {
                // A crossing holds one of its two nets: each of its wires is drawn with its own.
                const bool across = ShowsNet(PassingNet(x, y, 1, 0));
                const bool along = ShowsNet(PassingNet(x, y, 0, 1));
                if (!across && !along) continue;
                if (!across || !along) code = across ? WireHorizontal : WireVertical;
            } else if (!ShowsNet(grids_.NetMap.at(x, y))) {
                continue;
            }
            tracer.Cell(code, x, y, colour);
        }
    tracer.Flush();
}

QRect SchematicPicture::ElementRect(int element) const {
    const TElement& e = schematic_.element(element);
    const int s = options_.scale;
    const QPoint corner(e.Coord.x * s, e.Coord.y * s);
    if (!e.Bitmap.isNull()) {
        // As the workspace shows it: stretched to its box keeping proportions.
        const QSize box(e.Bitmap.width() * s / 10, e.Bitmap.height() * s / 10);
        return QRect(corner, e.Bitmap.size().scaled(box, Qt::KeepAspectRatio));
    }
    if (e.CellWidth <= 0 || e.CellHeight <= 0) return {};
    return QRect(corner, QSize(e.CellWidth * s, e.CellHeight * s));
}

QRect SchematicPicture::NameRect(int element) const {
    const TElement& e = schematic_.element(element);
    if (!e.Bitmap.isNull() || e.Name.isEmpty()) return {};
    const QRect box = ElementRect(element);
    if (box.isEmpty()) return {};
    const QFontMetrics metrics(NameFont(options_.scale));
    QRect text(0, 0, metrics.horizontalAdvance(e.Name), metrics.height());
    text.moveCenter(box.center());
    // A name wider than the box goes under it, where it covers no pin's wire.
    if (text.width() > box.width() - 4) text.moveTop(box.bottom() + 2);
    return text;
}

void SchematicPicture::Paint(QPainter& p) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(0, 0), size()), QColor::fromRgb(RgbOf(options_.desktop)));
    p.translate(-area_.topLeft());
    Trace([&p](const QRect& pixels, QRgb colour) { p.fillRect(pixels, QColor::fromRgb(colour)); },
          [&p, this](int x, int y, QRgb colour) { FillWireDot(p, x, y, options_.scale, colour); });
    // Later elements lie above earlier ones, as on the workspace.
    for (int i = 1; i <= schematic_.ElementCount(); ++i) {
        if (!Shows(i)) continue;
        const TElement& e = schematic_.element(i);
        const QRect box = ElementRect(i);
        if (box.isEmpty()) continue;
        if (!e.Bitmap.isNull()) {
            p.drawImage(box, KeyedPicture(e.Bitmap));
            continue;
        }
        // A one-pixel frame, as two filled rectangles: both renderers fill them to the same pixels.
        p.fillRect(box, Qt::black);
        p.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
        p.setPen(Qt::black);
        p.setFont(NameFont(options_.scale));
        p.drawText(NameRect(i), Qt::AlignCenter, e.Name);
    }
    p.restore();
}

QImage SchematicPicture::ToImage() const {
    if (empty() || area_.width() > MaxRasterSide || area_.height() > MaxRasterSide) return {};
    QImage image(size(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    QPainter p(&image);
    Paint(p);
    return image;
}

QByteArray SchematicPicture::ToSvg() const {
    if (empty()) return {};
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("svg"));
    w.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    w.writeNamespace(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("xlink"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    w.writeAttribute(QStringLiteral("width"), QString::number(area_.width()));
    w.writeAttribute(QStringLiteral("height"), QString::number(area_.height()));
    w.writeAttribute(QStringLiteral("viewBox"),
                     QStringLiteral("0 0 %1 %2").arg(area_.width()).arg(area_.height()));

    w.writeStartElement(QStringLiteral("rect"));
    w.writeAttribute(QStringLiteral("width"), QString::number(area_.width()));
    w.writeAttribute(QStringLiteral("height"), QString::number(area_.height()));
    w.writeAttribute(QStringLiteral("fill"), Hex(RgbOf(options_.desktop)));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("g"));
    w.writeAttribute(QStringLiteral("transform"),
                     QStringLiteral("translate(%1 %2)").arg(-area_.left()).arg(-area_.top()));

    // The wires: each run of cells along a grid row or column is one line of the pen's width,
    // with square ends exactly at the run's first and last pixel; junctions are circles.
    w.writeStartElement(QStringLiteral("g"));
    w.writeAttribute(QStringLiteral("stroke"), Hex(WireColour()));
    w.writeAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("butt"));
    w.writeAttribute(QStringLiteral("fill"), Hex(WireColour()));
    const int dot = WireDotWidth(options_.scale);
    Trace(
        [&w](const QRect& r, QRgb) {
            const bool across = r.width() >= r.height();
            const double x1 = across ? r.left() : r.left() + r.width() / 2.0;
            const double y1 = across ? r.top() + r.height() / 2.0 : r.top();
            w.writeEmptyElement(QStringLiteral("line"));
            w.writeAttribute(QStringLiteral("x1"), Num(x1));
            w.writeAttribute(QStringLiteral("y1"), Num(y1));
            w.writeAttribute(QStringLiteral("x2"), Num(across ? r.right() + 1 : x1));
            w.writeAttribute(QStringLiteral("y2"), Num(across ? y1 : r.bottom() + 1));
            w.writeAttribute(QStringLiteral("stroke-width"),
                             QString::number(across ? r.height() : r.width()));
        },
        [&w, dot](int x, int y, QRgb) {
            const int left = x - dot / 2, top = y - dot / 2;
            if (dot == 1) {
                w.writeEmptyElement(QStringLiteral("rect"));
                w.writeAttribute(QStringLiteral("x"), QString::number(left));
                w.writeAttribute(QStringLiteral("y"), QString::number(top));
                w.writeAttribute(QStringLiteral("width"), QStringLiteral("1"));
                w.writeAttribute(QStringLiteral("height"), QStringLiteral("1"));
                w.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
                return;
            }
            w.writeEmptyElement(QStringLiteral("circle"));
            w.writeAttribute(QStringLiteral("cx"), Num(left + dot / 2.0));
            w.writeAttribute(QStringLiteral("cy"), Num(top + dot / 2.0));
            w.writeAttribute(QStringLiteral("r"), Num(dot / 2.0));
            w.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
        });
    w.writeEndElement();

    const QFont font = NameFont(options_.scale);
    const QFontMetrics metrics(font);
    for (int i = 1; i <= schematic_.ElementCount(); ++i) {
        if (!Shows(i)) continue;
        const TElement& e = schematic_.element(i);
        const QRect box = ElementRect(i);
        if (box.isEmpty()) continue;
        w.writeStartElement(QStringLiteral("g"));
        w.writeTextElement(QStringLiteral("title"), e.Name);
        if (!e.Bitmap.isNull()) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            KeyedPicture(e.Bitmap).save(&buffer, "PNG");
            w.writeEmptyElement(QStringLiteral("image"));
            w.writeAttribute(QStringLiteral("x"), QString::number(box.left()));
            w.writeAttribute(QStringLiteral("y"), QString::number(box.top()));
            w.writeAttribute(QStringLiteral("width"), QString::number(box.width()));
            w.writeAttribute(QStringLiteral("height"), QString::number(box.height()));
            w.writeAttribute(QStringLiteral("preserveAspectRatio"), QStringLiteral("none"));
            w.writeAttribute(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("href"),
                             QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()));
        } else {
            for (const auto& [r, fill] :
                 {std::pair{box, "#000000"}, std::pair{box.adjusted(1, 1, -1, -1), "#ffffff"}}) {
                w.writeEmptyElement(QStringLiteral("rect"));
                w.writeAttribute(QStringLiteral("x"), QString::number(r.left()));
                w.writeAttribute(QStringLiteral("y"), QString::number(r.top()));
                w.writeAttribute(QStringLiteral("width"), QString::number(r.width()));
                w.writeAttribute(QStringLiteral("height"), QString::number(r.height()));
                w.writeAttribute(QStringLiteral("fill"), QLatin1String(fill));
            }
            const QRect name = NameRect(i);
            w.writeStartElement(QStringLiteral("text"));
            w.writeAttribute(QStringLiteral("x"), Num(name.left() + name.width() / 2.0));
            w.writeAttribute(QStringLiteral("y"), QString::number(name.top() + metrics.ascent()));
            w.writeAttribute(QStringLiteral("text-anchor"), QStringLiteral("middle"));
            w.writeAttribute(QStringLiteral("font-family"), font.family());
            w.writeAttribute(QStringLiteral("font-size"), QString::number(font.pixelSize()));
            w.writeAttribute(QStringLiteral("fill"), QStringLiteral("#000000"));
            w.writeCharacters(e.Name);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement(); // g
    w.writeEndElement(); // svg
    w.writeEndDocument();
    return bytes;
}

QByteArray SchematicPicture::ToPdf() const {
    if (empty()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Tarnwell"));
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(area_.width() * 72.0 / 96.0, area_.height() * 72.0 / 96.0),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p;
        if (!p.begin(&pdf)) return {};
        Paint(p);
        p.end();
    }
    return bytes;
}

QByteArray SchematicPicture::Encode(PictureFormat format) const {
    switch (format) {
    case PictureFormat::Svg:
        return ToSvg();
    case PictureFormat::Pdf:
        return ToPdf();
    case PictureFormat::Png:
        break;
    }
    const QImage image = ToImage();
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

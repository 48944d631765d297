// SPDX-License-Identifier: MIT
#include "model/placement.h"

#include "model/types.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

namespace {

uint32_t LittleEndian(const QByteArray& b, int at, int width) {
    uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

} // namespace

QImage DecodeBitmap(const QByteArray& bytes, QString* fault) {
    constexpr int FileHeader = 14;
    // Far beyond the workspace (201 cells of 10 pixels); keeps the size arithmetic small.
    constexpr qint64 MaxSide = 1 << 16;
    if (bytes.isEmpty()) {
        *fault = QStringLiteral("изображение пусто");
        return {};
    }
    if (bytes.size() < FileHeader + 12 || !bytes.startsWith("BM")) {
        *fault = QStringLiteral("изображение не является рисунком BMP");
        return {};
    }
    const qint64 size = bytes.size();
    const qint64 declared = LittleEndian(bytes, 2, 4);
    const qint64 offset = LittleEndian(bytes, 10, 4);
    const qint64 infoSize = LittleEndian(bytes, FileHeader, 4);
    bool cut = declared > size || offset > size || FileHeader + infoSize > size;
    // Uncompressed pixels (BI_RGB, BI_BITFIELDS) of an info header: rows padded to 4 bytes.
    if (!cut && infoSize >= 40) {
        const qint64 width = static_cast<int32_t>(LittleEndian(bytes, 18, 4));
        const qint64 height = std::llabs(static_cast<int32_t>(LittleEndian(bytes, 22, 4)));
        const qint64 bits = LittleEndian(bytes, 28, 2);
        const uint32_t compression = LittleEndian(bytes, 30, 4);
        if (width > MaxSide || height > MaxSide) {
            *fault = QStringLiteral("рисунок BMP слишком велик (%1 × %2)").arg(width).arg(height);
            return {};
        }
        if ((compression == 0 || compression == 3) && width > 0 && bits > 0) {
            const qint64 row = (width * bits + 31) / 32 * 4;
            cut = offset + row * height > size;
        }
    }
    if (cut) {
        *fault = QStringLiteral("рисунок BMP обрезан (%1 байт)").arg(size);
        return {};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    // A picture wider or taller than the whole workspace cannot be placed on it; refused before
    // its pixels are decoded.
    constexpr int MaxPictureSide = GridSize * PictureCellPixels;
    if (const QSize dims = reader.size(); dims.width() > MaxPictureSide || dims.height() > MaxPictureSide) {
        *fault = QStringLiteral("рисунок BMP больше рабочего поля (%1 × %2, не более %3 × %3)")
                     .arg(dims.width())
                     .arg(dims.height())
                     .arg(MaxPictureSide);
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) *fault = QStringLiteral("рисунок BMP не читается: %1").arg(reader.errorString());
    return image;
}

void WriteDesignator(QImage& picture, const QString& designator) {
    if (picture.isNull()) return;
    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    QPainter p(&picture);
    QFont font = p.font();
    font.setPointSize(10);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font, &picture);
    const int x = picture.width() / 2 - metrics.horizontalAdvance(designator) / 2;
    const int y = picture.height() - 20;
    // The text is drawn on its own opaque box, as a text output with a solid brush would.
    const QRect box(x, y, metrics.horizontalAdvance(designator), metrics.height());
    p.fillRect(box, QColor(240, 240, 240));
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, designator);
}

// SPDX-License-Identifier: MIT
#include "model/placement.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

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

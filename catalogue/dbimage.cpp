// SPDX-License-Identifier: MIT
#include "catalogue/dbimage.h"

#include "ui/picturescale.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

DbImage::DbImage(QWidget* parent) : QWidget(parent) {}

void DbImage::setImageData(const QByteArray& data) {
    data_ = data;
    image_ = data.isEmpty() ? QImage() : QImage::fromData(data);
    update();
}

void DbImage::setImageValue(const QVariant& value) {
    setImageData(value.isNull() ? QByteArray() : value.toByteArray());
}

QByteArray DbImage::ReadBitmapFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString());
        return {};
    }
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "bmp");
    if (reader.read().isNull()) {
        *error = QStringLiteral("%1: %2").arg(path, reader.errorString());
        return {};
    }
    return bytes;
}

void DbImage::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter p(this);
    QSize size = image_.size();
    if (size.width() > width() || size.height() > height()) {
        size.scale(this->size(), Qt::KeepAspectRatio);
    } else {
        size = WholeFactorSize(size, this->size());
    }
    const QRect box(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawImage(box, image_);
}

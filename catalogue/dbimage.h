// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QVariant>
#include <QWidget>

// A picture control bound to a graphic field: it holds the field's bitmap bytes and shows the
// decoded picture scaled proportionally into its box, centred.
class DbImage : public QWidget {
    Q_OBJECT
    // A variant, because the engine hands a NULL field over as a null text, which does not convert
    // to bytes: a property of type QByteArray would refuse it and keep the previous record's picture.
    Q_PROPERTY(QVariant imageData READ imageValue WRITE setImageValue USER true)
public:
    explicit DbImage(QWidget* parent = nullptr);

    QByteArray imageData() const { return data_; }
    void setImageData(const QByteArray& data);
    QVariant imageValue() const { return data_; }
    // A null value of any type clears the picture.
    void setImageValue(const QVariant& value);
    const QImage& image() const { return image_; }

    // Reads a BMP file. Returns its bytes, or sets `error` to the image library's message.
    static QByteArray ReadBitmapFile(const QString& path, QString* error);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray data_;
    QImage image_;
};

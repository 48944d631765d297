// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

// A picture control bound to a graphic field: it holds the field's bitmap bytes and shows the
// decoded picture scaled proportionally into its box, centred.
class DbImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QByteArray imageData READ imageData WRITE setImageData USER true)
public:
    explicit DbImage(QWidget* parent = nullptr);

    QByteArray imageData() const { return data_; }
    void setImageData(const QByteArray& data);
    const QImage& image() const { return image_; }

    // Reads a BMP file. Returns its bytes, or sets `error` to the image library's message.
    static QByteArray ReadBitmapFile(const QString& path, QString* error);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray data_;
    QImage image_;
};

// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QStandardItem;

// Everything placing a chip element takes from the catalogue: the element type's picture, pin
// strings and script, and the chip's delays.
struct TPlacementData {
    QImage picture;
    QString leftPins;  // Int_Define
    QString rightPins; // Ext_Define
    QStringList script;
    int32_t reactionLH = 0;
    int32_t reactionHL = 0;
};

// Where placing a listed navigator node takes its data from (the catalogue for a chip element, the
// built-in set-up for a special one). False with a message for the user when the data cannot be
// had: the node is not placed then.
using PlacementSource = std::function<bool(const QStandardItem* node, TPlacementData* data, QString* error)>;

// Decodes a catalogue picture, which must be a whole BMP file. Returns a null image and sets
// `fault` (for the user, Russian) when the bytes are no BMP, are cut short, or do not decode.
QImage DecodeBitmap(const QByteArray& bytes, QString* fault);

// Writes the designator onto an element's picture: bold, 10 points, on a light grey box, centred
// horizontally with its top 20 pixels above the bottom edge.
void WriteDesignator(QImage& picture, const QString& designator);

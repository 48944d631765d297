// SPDX-License-Identifier: MIT
// Writes the default catalogue: one element type per simulator expression with its gate picture,
// and the common TTL/CMOS gate chips that use them.
#include "catalogue/catalogue.h"
#include "catalogue/fields.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

struct ElementType {
    const char* name;
    const char* inputs;  // Int_Define
    const char* outputs; // Ext_Define
    const char* label;   // "&" or "1"
    bool inverted;
    const char* expression;
};

const ElementType kElements[] = {
    {"НЕ", "01", "01", "1", true, "~1"},
    {"2ИЛИ", "101", "010", "1", false, "1+2"},
    {"2И", "101", "010", "&", false, "1&2"},
    {"2И-НЕ", "101", "010", "&", true, "~1+~2"},
    {"2ИЛИ-НЕ", "101", "010", "1", true, "~1&~2"},
    {"4ИЛИ", "11011", "001", "1", false, "1+2+3+4"},
    {"4И", "11011", "001", "&", false, "1&2&3&4"},
    {"8И-НЕ", "111101111", "00001", "&", true, "~1+~2+~3+~4+~5+~6+~7+~8"},
};

struct Chip {
    const char* mark;
    const char* type;
    const char* element;
    int elements;
    int legs;
    int lh;
    int hl;
};

const Chip kChips[] = {
    {"К155ЛА3", "SN7400, 4 × 2И-НЕ", "2И-НЕ", 4, 14, 11, 7},
    {"К155ЛЕ1", "SN7402, 4 × 2ИЛИ-НЕ", "2ИЛИ-НЕ", 4, 14, 12, 8},
    {"К155ЛН1", "SN7404, 6 × НЕ", "НЕ", 6, 14, 12, 8},
    {"К155ЛИ1", "SN7408, 4 × 2И", "2И", 4, 14, 18, 12},
    {"К155ЛЛ1", "SN7432, 4 × 2ИЛИ", "2ИЛИ", 4, 14, 10, 14},
    {"К155ЛИ6", "SN7421, 2 × 4И", "4И", 2, 14, 18, 12},
    {"К155ЛА2", "SN7430, 8И-НЕ", "8И-НЕ", 1, 14, 13, 8},
    {"К555ЛА3", "SN74LS00, 4 × 2И-НЕ", "2И-НЕ", 4, 14, 9, 10},
    {"К555ЛЕ1", "SN74LS02, 4 × 2ИЛИ-НЕ", "2ИЛИ-НЕ", 4, 14, 10, 10},
    {"К555ЛН1", "SN74LS04, 6 × НЕ", "НЕ", 6, 14, 9, 10},
    {"К555ЛИ1", "SN74LS08, 4 × 2И", "2И", 4, 14, 8, 10},
    {"К555ЛЛ1", "SN74LS32, 4 × 2ИЛИ", "2ИЛИ", 4, 14, 14, 14},
    {"CD4072B", "CD4072B, 2 × 4ИЛИ, КМОП", "4ИЛИ", 2, 14, 125, 125},
};

int lastPin(const char* define) {
    int last = 0;
    for (int i = 0; define[i]; ++i)
        if (define[i] == '1') last = i + 1;
    return last;
}

// A gate symbol at 10 pixels per cell: a box with its function label, a lead to every pin row of
// the define strings, an inversion circle on an inverted output, and 20 free pixels at the bottom
// where the designator is written when the element is placed.
QImage drawGate(const ElementType& e) {
    const int rows = std::max(lastPin(e.inputs), lastPin(e.outputs));
    const int width = 50;
    const int height = 10 * rows + 30;
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    const int left = 12;
    const int right = 37;
    const QRect body(left, 4, right - left, 10 * rows + 2);
    p.drawRect(body);
    p.drawRect(body.adjusted(1, 1, -1, -1));
    for (int i = 0; e.inputs[i]; ++i)
        if (e.inputs[i] == '1') p.drawLine(0, 10 * (i + 1), left - 1, 10 * (i + 1));
    for (int i = 0; e.outputs[i]; ++i) {
        if (e.outputs[i] != '1') continue;
        const int y = 10 * (i + 1);
        if (e.inverted) {
            p.setBrush(Qt::white);
            p.drawEllipse(QRect(right + 1, y - 3, 6, 6));
            p.setBrush(Qt::NoBrush);
            p.drawLine(right + 8, y, width - 1, y);
        } else {
            p.drawLine(right + 1, y, width - 1, y);
        }
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(left + 2, 5, right - left - 3, 14), Qt::AlignHCenter | Qt::AlignTop,
               QString::fromUtf8(e.label));
    return img;
}

QByteArray bmpBytes(const QImage& img) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

bool check(const QString& error) {
    if (error.isEmpty()) return true;
    std::fprintf(stderr, "tarnwell-mkcatalogue: %s\n", qPrintable(error));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnwell-mkcatalogue <bases folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    for (const QString& f : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile})
        QFile::remove(QDir(folder).filePath(f));

    Catalogue cat(folder);
    if (!check(cat.openPictures()) || !check(cat.openElements()) || !check(cat.openChips())) return 1;

    for (const ElementType& e : kElements) {
        const QString name = QString::fromUtf8(e.name);
        CatalogueTable& pictures = cat.pictures();
        if (!check(pictures.append(name))) return 1;
        pictures.setField(PictureField::Image, bmpBytes(drawGate(e)));
        if (!check(pictures.post())) return 1;

        CatalogueTable& elements = cat.elements();
        if (!check(elements.append(name))) return 1;
        elements.setField(ElementField::IntDefine, QString::fromLatin1(e.inputs));
        elements.setField(ElementField::ExtDefine, QString::fromLatin1(e.outputs));
        elements.setField(ElementField::ImageName, name);
        elements.setField(ElementField::Script, QStringLiteral("Y=") + QString::fromLatin1(e.expression));
        if (!check(elements.post())) return 1;
    }
    for (const Chip& c : kChips) {
        CatalogueTable& chips = cat.chips();
        if (!check(chips.append(QString::fromUtf8(c.mark)))) return 1;
        chips.setField(ChipField::Type, QString::fromUtf8(c.type));
        chips.setField(ChipField::ElemName, QString::fromUtf8(c.element));
        chips.setField(ChipField::ElemCount, c.elements);
        chips.setField(ChipField::LegsCount, c.legs);
        chips.setField(ChipField::ImageName, QStringLiteral("DIP14"));
        chips.setField(ChipField::ReactTimeLH, c.lh);
        chips.setField(ChipField::ReactTimeHL, c.hl);
        chips.setField(ChipField::Voltage, 5);
        if (!check(chips.post())) return 1;
    }
    return 0;
}

// SPDX-License-Identifier: MIT
#include "tools/gen/schematicgen.h"

#include <QPainter>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// xorshift32: the same sequence on every platform.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform enough in lo..hi (inclusive).
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }

private:
    uint32_t state_;
};

QString RandomPins(Random& r, int length) {
    QString pins;
    for (int i = 0; i < length; ++i)
        pins += r.range(0, 2) ? u'1' : u'0';
    return pins;
}

} // namespace

QImage BoxPicture(const TElement& e) {
    const int w = std::max(e.CellWidth * PictureCellPixels, 10);
    const int h = std::max(e.CellHeight * PictureCellPixels, 10);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 224));
    p.drawRect(5, 3, w - 11, h - 7);
    for (const TLeg& leg : e.Legs) {
        const int y = std::min(leg.Y * PictureCellPixels, h - 1);
        if (leg.X == 0)
            p.drawLine(0, y, 5, y);
        else
            p.drawLine(w - 6, y, w - 1, y);
    }
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    p.drawText(QRect(6, 4, w - 12, h - 8), Qt::AlignCenter, e.Name);
    return image;
}

void GenerateSchematic(Schematic& s, uint32_t seed, const GenOptions& o) {
    Random r(seed);
    struct Rect {
        int x0, y0, x1, y1;
    };
    std::vector<Rect> placed;
    for (int i = 0; i < o.elements && !s.isFull(); ++i) {
        int cw = 4, ch = 5, x = 0, y = 0;
        QString left = QStringLiteral("1111"), right = QStringLiteral("1111");
        if (o.loose) {
            cw = r.range(0, 6);
            ch = r.range(0, 7);
            x = r.range(-2, GridMax - 1);
            y = r.range(-2, GridMax - 1);
            left = RandomPins(r, std::max(ch - 1, 1));
            right = RandomPins(r, std::max(ch - 1, 1));
        } else {
            bool free = false;
            for (int attempt = 0; attempt < 1000 && !free; ++attempt) {
                x = r.range(2, std::min(o.span, GridMax) - 2 - cw);
                y = r.range(2, std::min(o.span, GridMax) - 2 - ch);
                free = std::none_of(placed.begin(), placed.end(), [&](const Rect& p) {
                    return x - 3 <= p.x1 && p.x0 <= x + cw + 3 && y - 2 <= p.y1 && p.y0 <= y + ch + 2;
                });
            }
            if (!free) break;
            placed.push_back({x, y, x + cw, y + ch});
        }
        TElement e;
        e.Name = QStringLiteral("D%1.1").arg(s.ElementCount() + 1);
        e.Coord = {x, y};
        e.CellWidth = cw;
        e.CellHeight = ch;
        e.Legs = BuildLegs(left, right, cw);
        if (o.pictures) e.Bitmap = BoxPicture(e);
        s.AddElement(std::move(e));
    }
    std::vector<std::pair<int, int>> pins;
    for (int i = 1; i <= s.ElementCount(); ++i)
        for (int l = 0; l < static_cast<int>(s.element(i).Legs.size()); ++l)
            pins.emplace_back(i, l);
    for (size_t i = pins.size(); i > 1; --i)
        std::swap(pins[i - 1], pins[static_cast<size_t>(r.range(0, static_cast<int>(i) - 1))]);
    size_t next = 0;
    for (int n = 0; n < o.nets; ++n) {
        const size_t count = static_cast<size_t>(r.range(o.minPins, o.maxPins));
        if (next + count > pins.size()) break;
        TConns net;
        for (size_t j = 0; j < count; ++j, ++next)
            net.push_back({pins[next].first, pins[next].second});
        s.AddNet(std::move(net));
    }
    s.DeriveCons();
}

// SPDX-License-Identifier: MIT
#include "model/cp1251.h"

#include <array>
#include <cstdint>

namespace {

// Characters of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order, 0x00..0x7F ASCII.
constexpr std::array<char16_t, 64> High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, //
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, //
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, //
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, //
};

char EncodeOne(char32_t c) {
    if (c < 0x80) return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(0xC0 + (c - 0x0410));
    for (size_t i = 0; i < High.size(); ++i)
        if (High[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QByteArray ToCp1251(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the basic plane (a surrogate pair) is one character, and unknown.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += '?';
            ++i;
            continue;
        }
        out += EncodeOne(c.unicode());
    }
    return out;
}

QString FromCp1251(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<uint8_t>(b);
        if (u < 0x80)
            out += QChar(u);
        else if (u < 0xC0)
            out += QChar(High[u - 0x80]);
        else
            out += QChar(static_cast<char16_t>(0x0410 + (u - 0xC0)));
    }
    return out;
}

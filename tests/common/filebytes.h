// SPDX-License-Identifier: MIT
#pragma once

// The bytes of schematic element and net files, spelled out here rather than taken from the
// writer, so that tests check the writer and feed the readers independently of it.
#include <QByteArray>

#include <cstdint>

// Little-endian int32.
inline QByteArray LE(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((u >> (8 * i)) & 0xFF);
    return b;
}

// A 40-byte element record: x, y, length, name bytes padded with `fill`, HL at 32, LH at 36.
inline QByteArray Rec(int32_t x, int32_t y, const QByteArray& name, int32_t hl = 0, int32_t lh = 0,
                      char fill = '\0') {
    QByteArray r = LE(x) + LE(y) + static_cast<char>(name.size()) + name;
    r += QByteArray(32 - r.size(), fill);
    return r + LE(hl) + LE(lh);
}

// An 8-byte net file record: element, leg.
inline QByteArray Pin(int32_t element, int32_t leg) {
    return LE(element) + LE(leg);
}

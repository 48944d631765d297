// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit code page Windows-1251 of the stored texts. Every byte decodes to one character and
// back to the same byte (0x98, unassigned in the code page, stands for U+0098), so names read
// from a file are written back unchanged.

// One byte per character; a character the code page lacks becomes '?'.
QByteArray ToCp1251(QStringView text);
QString FromCp1251(QByteArrayView bytes);

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace gbk {

// Code page 936 lead byte: starts a double-byte character.
constexpr bool isLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// Byte length of the character starting at bytes[i]: 2 for a lead byte followed by a byte,
// else 1. A lead byte at the very end stands alone.
int charLength(QByteArrayView bytes, qsizetype i);

// True when the one or two bytes form a character that the code page defines. A lone byte
// from 0x81 up, a lead byte without a valid trail, and pairs the table leaves empty are not.
bool isValidChar(QByteArrayView character);

QString toUnicode(QByteArrayView bytes);

// Characters that GBK cannot hold become "?", as the platform's own conversion does.
QByteArray fromUnicode(QStringView text);

} // namespace gbk

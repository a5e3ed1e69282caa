#include "gbk/codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace gbk {

namespace {
constexpr const char *kCodecName = "GBK";
} // namespace

int charLength(QByteArrayView bytes, qsizetype i)
{
    if (isLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size())
        return 2;
    return 1;
}

bool isValidChar(QByteArrayView character)
{
    const auto first = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return first <= 0x80; // 0x80 is the euro sign in code page 936
    if (character.size() != 2 || !isLeadByte(first))
        return false;
    const auto second = static_cast<unsigned char>(character[1]);
    if (second < 0x40 || second == 0x7F || second == 0xFF)
        return false;
    // Opening the converter costs far more than one character; keep one per thread.
    static thread_local QStringDecoder decoder(kCodecName);
    decoder.resetState();
    const QString text = decoder.decode(character);
    if (decoder.hasError() || text.size() != 1)
        return false;
    const char16_t unit = text.at(0).unicode();
    // The decoder maps unassigned pairs to U+FFFD, and the user-defined areas to private use.
    return unit != 0xFFFD && !(unit >= 0xE000 && unit <= 0xF8FF);
}

QString toUnicode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodecName);
    return decoder.decode(bytes);
}

QByteArray fromUnicode(QStringView text)
{
    // The code page's encoder puts one "?" in place of each character it cannot hold.
    QStringEncoder encoder(kCodecName);
    return encoder.encode(text);
}

} // namespace gbk

#include "anthology/textfiles.h"

#include "anthology/paths.h"
#include "app/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace anthology {

namespace {
constexpr char kCR = 13;
constexpr char kLF = 10;
} // namespace

QList<QByteArray> splitEntryList(QByteArrayView bytes, bool *cutByNul)
{
    QList<QByteArray> items;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n && bytes[i] != '\0') {
        const qsizetype start = i;
        while (i < n && bytes[i] != kCR && bytes[i] != kLF && bytes[i] != '\0')
            ++i;
        items.append(bytes.sliced(start, i - start).toByteArray());
        if (i < n && bytes[i] == kCR)
            ++i;
        if (i < n && bytes[i] == kLF)
            ++i;
    }
    if (cutByNul)
        *cutByNul = i < n;
    return items;
}

QByteArray joinEntryList(const QList<QByteArray> &items)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QByteArray &item : items)
        size += item.size() + 2;
    out.reserve(size);
    for (const QByteArray &item : items) {
        out += item;
        out += "\r\n";
    }
    return out;
}

TextLines splitText(QByteArrayView bytes)
{
    TextLines text;
    text.lineBreak = LineBreak::CRLF;
    bool sawCR = false;
    bool sawLF = false;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const qsizetype start = i;
        while (i < n && bytes[i] != kCR && bytes[i] != kLF)
            ++i;
        text.lines.append(bytes.sliced(start, i - start).toByteArray());
        if (i < n && bytes[i] == kCR) {
            ++i;
            sawCR = true;
        }
        if (i < n && bytes[i] == kLF) {
            ++i;
            sawLF = true;
        }
    }
    const auto isBlank = [](const QByteArray &line) {
        for (char c : line) {
            if (static_cast<unsigned char>(c) > 32)
                return false;
        }
        return true;
    };
    while (!text.lines.isEmpty() && isBlank(text.lines.last()))
        text.lines.removeLast();
    if (sawCR && !sawLF)
        text.lineBreak = LineBreak::CR;
    else if (sawLF && !sawCR)
        text.lineBreak = LineBreak::LF;
    return text;
}

QByteArray joinText(const TextLines &text)
{
    const QByteArray brk = text.lineBreak == LineBreak::CRLF ? QByteArray("\r\n")
                           : text.lineBreak == LineBreak::LF ? QByteArray("\n")
                                                             : QByteArray("\r");
    QByteArray out;
    qsizetype size = 0;
    for (const QByteArray &line : text.lines)
        size += line.size() + brk.size();
    out.reserve(size);
    for (qsizetype i = 0; i < text.lines.size(); ++i) {
        if (i > 0)
            out += brk;
        out += text.lines[i];
    }
    return out;
}

QByteArray readFile(const QString &name)
{
    QFile file(resolvePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw app::cannotOpenFile(name);
    const qint64 size = file.size();
    QByteArray bytes = size > 0 ? file.read(size) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw app::cannotOpenFile(name);
    return bytes;
}

void writeFile(const QString &name, QByteArrayView bytes)
{
    const QString path = resolvePath(name);
    const QFileInfo info(path);
    // The rename would replace a read-only file; such a file cannot be written. The write
    // bits are asked too, since for root every file counts as writable.
    constexpr auto kWriteBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.isDir() ||
        (info.exists() && (!info.isWritable() || !(info.permissions() & kWriteBits))))
        throw app::cannotCreateFile(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw app::cannotCreateFile(name);
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        throw app::streamWriteError();
    }
    if (!file.commit())
        throw app::streamWriteError();
}

} // namespace anthology

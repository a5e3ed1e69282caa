#pragma once

#include <QByteArray>
#include <QList>

// The line-break style of a text: set by every load, used by every save.
enum class LineBreak { CRLF, LF, CR };

// A text as the files and the text view hold it: GBK byte lines without CR or LF.
struct TextLines {
    QList<QByteArray> lines;
    LineBreak lineBreak = LineBreak::CR;

    bool operator==(const TextLines &other) const
    {
        return lines == other.lines && lineBreak == other.lineBreak;
    }
};

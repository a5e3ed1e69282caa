#include "textview/linebuffer.h"

#include <utility>

namespace textview {

LineBuffer::LineBuffer(QObject *parent) : QObject(parent) {}

void LineBuffer::reset(TextLines text)
{
    m_text = std::move(text);
    emit textReset();
}

void LineBuffer::replaceLine(int index, const QByteArray &line)
{
    Q_ASSERT(index >= 0 && index < count());
    m_text.lines[index] = line;
    emit linesChanged(index, 1);
}

void LineBuffer::insertLines(int index, const QList<QByteArray> &lines)
{
    Q_ASSERT(index >= 0 && index <= count());
    if (lines.isEmpty())
        return;
    m_text.lines.insert(index, lines.size(), QByteArray());
    std::copy(lines.begin(), lines.end(), m_text.lines.begin() + index);
    emit linesInserted(index, int(lines.size()));
}

void LineBuffer::removeLines(int index, int count)
{
    Q_ASSERT(index >= 0 && count >= 0 && index + count <= this->count());
    if (count == 0)
        return;
    m_text.lines.remove(index, count);
    emit linesRemoved(index, count);
}

} // namespace textview

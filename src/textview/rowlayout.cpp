#include "textview/rowlayout.h"

#include "gbk/codec.h"
#include "textview/linebuffer.h"

#include <algorithm>

namespace textview {

namespace {

constexpr bool isBlank(uchar byte)
{
    return byte == ' ' || byte == '\t';
}

constexpr bool isBreakByte(uchar byte)
{
    return byte <= 0x20;
}

} // namespace

void appendRowStarts(QByteArrayView line, int columnsPerRow, std::vector<int> &starts)
{
    const int length = int(line.size());
    const int n = std::clamp(columnsPerRow, 0, kMaxRowBytes);
    const int m = std::max(1, n - n / 3);
    const auto at = [line](int i) {
        return uchar(line[i]);
    };

    starts.push_back(0);
    int s = 0;
    // A character start at or before every cut still to come: cuts only move forward, so one
    // scan from the line start tells lead bytes from trail bytes for the whole line.
    int boundary = 0;
    while (s + n < length) {
        int q = s + n;
        if (isBlank(at(q))) {
            // The run of blanks stays at the end of this row.
            while (q < length && isBlank(at(q)))
                ++q;
        } else {
            int r = s + n - 1;
            while (r >= s + m + 1 && !isBreakByte(at(r)))
                --r;
            if (r >= s + m + 1)
                q = r + 1;
        }
        if (q - s > kMaxRowBytes) {
            q = s + kMaxRowBytes;
            const int lastTabStop = s + kMaxRowBytes - kMaxRowBytes % kTabWidth;
            while (q > lastTabStop && at(q - 1) == '\t')
                --q;
        }
        while (boundary < q)
            boundary += gbk::charLength(line, boundary);
        if (boundary > q) {
            // q is the trail byte of the character that starts at q - 1.
            --q;
            boundary = q;
        }
        if (q <= s) {
            // Narrower than one character: the row takes that character anyway.
            q = s + gbk::charLength(line, s);
            boundary = q;
        }
        s = q;
        if (s >= length)
            break;
        starts.push_back(s);
    }
}

std::vector<int> rowStarts(QByteArrayView line, int columnsPerRow)
{
    std::vector<int> starts;
    appendRowStarts(line, columnsPerRow, starts);
    return starts;
}

RowLayout::RowLayout(const LineBuffer &buffer) : m_buffer(buffer) {}

bool RowLayout::setColumnsPerRow(int columns)
{
    if (columns == m_columnsPerRow)
        return false;
    m_columnsPerRow = columns;
    rebuild();
    return true;
}

void RowLayout::rebuild()
{
    m_rowStart.clear();
    m_lineFirstRow.assign(1, 0);
    replaceLines(0, 0, m_buffer.count());
}

void RowLayout::linesChanged(int first, int count)
{
    replaceLines(first, count, count);
}

void RowLayout::linesInserted(int first, int count)
{
    replaceLines(first, 0, count);
}

void RowLayout::linesRemoved(int first, int count)
{
    replaceLines(first, count, 0);
}

void RowLayout::replaceLines(int first, int oldCount, int newCount)
{
    const QList<QByteArray> &lines = m_buffer.lines();
    const int rowBegin = m_lineFirstRow[size_t(first)];
    const int rowEnd = m_lineFirstRow[size_t(first + oldCount)];

    std::vector<int> starts;
    std::vector<int> firstRows(static_cast<size_t>(newCount));
    if (newCount == int(lines.size()))
        starts.reserve(size_t(newCount) + size_t(newCount) / 2);
    for (int i = 0; i < newCount; ++i) {
        firstRows[size_t(i)] = rowBegin + int(starts.size());
        appendRowStarts(lines[first + i], m_columnsPerRow, starts);
    }
    const int delta = int(starts.size()) - (rowEnd - rowBegin);

    if (rowBegin == 0 && rowEnd == int(m_rowStart.size())) {
        m_rowStart = std::move(starts);
    } else {
        m_rowStart.erase(m_rowStart.begin() + rowBegin, m_rowStart.begin() + rowEnd);
        m_rowStart.insert(m_rowStart.begin() + rowBegin, starts.begin(), starts.end());
    }
    m_lineFirstRow.erase(m_lineFirstRow.begin() + first, m_lineFirstRow.begin() + first + oldCount);
    m_lineFirstRow.insert(m_lineFirstRow.begin() + first, firstRows.begin(), firstRows.end());
    for (auto it = m_lineFirstRow.begin() + first + newCount; it != m_lineFirstRow.end(); ++it)
        *it += delta;
}

int RowLayout::lineOfRow(int row) const
{
    Q_ASSERT(row >= 0 && row < rowCount());
    // Every line has at least one row, so the first rows strictly increase.
    const auto it = std::upper_bound(m_lineFirstRow.begin(), m_lineFirstRow.end(), row);
    return int(it - m_lineFirstRow.begin()) - 1;
}

RowSpan RowLayout::row(int row) const
{
    RowSpan span;
    span.line = lineOfRow(row);
    span.start = m_rowStart[size_t(row)];
    span.end = row + 1 < m_lineFirstRow[size_t(span.line) + 1]
                   ? m_rowStart[size_t(row) + 1]
                   : int(m_buffer.lines()[span.line].size());
    return span;
}

int RowLayout::rowOfPosition(int line, int offset) const
{
    Q_ASSERT(line >= 0 && line < lineCount());
    const auto begin = m_rowStart.begin() + m_lineFirstRow[size_t(line)];
    const auto end = m_rowStart.begin() + m_lineFirstRow[size_t(line) + 1];
    // The first row of a line starts at 0, so there is always a row at or before the offset.
    return int(std::upper_bound(begin + 1, end, offset) - m_rowStart.begin()) - 1;
}

} // namespace textview

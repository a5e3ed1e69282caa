#pragma once

#include <QByteArrayView>

#include <vector>

namespace textview {

class LineBuffer;

// No display row holds more bytes than this, however wide the view.
constexpr int kMaxRowBytes = 255;
// Tab stops every 8 columns; a row cut inside a run of blanks keeps its tabs within the last
// whole tab stop before kMaxRowBytes.
constexpr int kTabWidth = 8;

// Breaks one line into display rows of at most columnsPerRow bytes and appends the byte offset
// at which each row starts. The first row starts at 0; an empty line is one empty row. Rows
// break after blanks where the line has them, never inside a double-byte character, and every
// row holds at least one character, however narrow the view.
void appendRowStarts(QByteArrayView line, int columnsPerRow, std::vector<int> &starts);
std::vector<int> rowStarts(QByteArrayView line, int columnsPerRow);

// One display row: bytes [start, end) of the 0-based line.
struct RowSpan {
    int line = 0;
    int start = 0;
    int end = 0;
};

// A view's cache from lines to display rows. Rows are numbered from 0 here; the widget adds 1
// where the user sees row numbers. Looking up a row is a binary search over the first row of
// every line, so a long text costs one int per line and one per row.
class RowLayout {
public:
    explicit RowLayout(const LineBuffer &buffer);

    int columnsPerRow() const { return m_columnsPerRow; }
    // Rewraps the whole text when the width differs from the one the rows were built for.
    // Returns whether it did.
    bool setColumnsPerRow(int columns);

    void rebuild();
    void linesChanged(int first, int count);
    void linesInserted(int first, int count);
    void linesRemoved(int first, int count);

    int rowCount() const { return int(m_rowStart.size()); }
    int lineCount() const { return int(m_lineFirstRow.size()) - 1; }
    RowSpan row(int row) const;
    int lineOfRow(int row) const;
    int firstRowOfLine(int line) const { return m_lineFirstRow[size_t(line)]; }
    // The row that shows byte offset `offset` of `line`. An offset at a wrap point belongs to
    // the row that starts there; one at or past the line's end to its last row.
    int rowOfPosition(int line, int offset) const;

private:
    // Lines [first, first + newCount) of the buffer take the place of the layout's lines
    // [first, first + oldCount).
    void replaceLines(int first, int oldCount, int newCount);

    const LineBuffer &m_buffer;
    int m_columnsPerRow = 0;
    std::vector<int> m_rowStart;           // byte offset in its line, per row
    std::vector<int> m_lineFirstRow = {0}; // per line, plus the row count at the end
};

} // namespace textview

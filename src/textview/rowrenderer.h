#pragma once

#include <QColor>
#include <QFont>
#include <QList>

class QByteArray;
class QPainter;
class QRect;
class QSize;

namespace textview {

class RowLayout;

// What the rows are drawn with: the font, its grid and the colours, already resolved against
// the palette. An invalid active colour leaves that part of the caret row in the ordinary
// colour; an invalid divider colour draws no ruled lines.
struct RowStyle {
    QFont font;
    int ascent = 0;
    int cellWidth = 1;
    int textHeight = 1;
    int rowHeight = 1;
    QColor background;
    QColor text;
    QColor activeBackground;
    QColor activeText;
    bool dividerVisible = false;
    QColor dividerColor;
    Qt::PenStyle dividerStyle = Qt::SolidLine;
};

// Draws display rows onto a view of the given size. Byte column c of a row starts at
// x = kLeftMargin + (c - 1) * cellWidth whatever the glyph's own width, so the text keeps the
// grid that the layout counts in bytes.
class RowRenderer {
public:
    static constexpr int kLeftMargin = 2;

    RowStyle style;

    // Paints the part `area` of a view of size `viewSize` whose top shows row `topRow` (from 0),
    // with `caretRow` highlighted (-1 for none): the bands of the rows, the left margin and the
    // empty space below the last row.
    void paint(QPainter &painter, const QRect &area, const QSize &viewSize, const RowLayout &layout,
               const QList<QByteArray> &lines, int topRow, int caretRow) const;

private:
    void paintRow(QPainter &painter, const QRect &band, const QByteArray &line, int start, int end,
                  bool active) const;
};

} // namespace textview

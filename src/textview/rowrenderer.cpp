#include "textview/rowrenderer.h"

#include "gbk/codec.h"
#include "textview/rowlayout.h"

#include <QPainter>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <vector>

namespace textview {

namespace {

constexpr char16_t kNoGlyph = 0;
constexpr char16_t kReplacement = 0xFFFD;

// The character to draw for one GBK character of one or two bytes: kNoGlyph for controls and
// blanks, kReplacement for bytes that are not a character of the code page (drawn as a box). Each
// code is looked up through the codec once and kept, so painting does not build a decoder per
// glyph.
char16_t glyphOf(const char *bytes, int size)
{
    const auto first = uchar(bytes[0]);
    if (size == 1 && first < 0x80)
        return first > 0x20 && first < 0x7F ? char16_t(first) : kNoGlyph;

    static std::vector<char16_t> s_known(0x10000 + 0x100, kNoGlyph);
    const size_t index = size == 1 ? 0x10000 + first : (size_t(first) << 8) | uchar(bytes[1]);
    char16_t &known = s_known[index];
    if (known == kNoGlyph) {
        const QByteArrayView character(bytes, size);
        const QString text = gbk::isValidChar(character) ? gbk::toUnicode(character) : QString();
        known = text.size() == 1 ? text.at(0).unicode() : kReplacement;
    }
    return known;
}

} // namespace

void RowRenderer::paint(QPainter &painter, const QRect &area, const QSize &viewSize,
                        const RowLayout &layout, const QList<QByteArray> &lines, int topRow,
                        int caretRow) const
{
    const int width = viewSize.width();
    const int height = viewSize.height();
    const int rowHeight = style.rowHeight;
    painter.setFont(style.font);

    int y = 0;
    if (rowHeight > 0 && topRow < layout.rowCount()) {
        const int firstRow = topRow + std::max(0, area.top()) / rowHeight;
        const int lastRow = std::min(layout.rowCount() - 1,
                                     topRow + std::min(area.bottom(), height - 1) / rowHeight);
        for (int row = firstRow; row <= lastRow; ++row) {
            const RowSpan span = layout.row(row);
            const QRect band(kLeftMargin, (row - topRow) * rowHeight, width - kLeftMargin,
                             rowHeight);
            paintRow(painter, band, lines[span.line], span.start, span.end, row == caretRow);
        }
        y = (layout.rowCount() - topRow) * rowHeight;
    }
    painter.fillRect(QRect(0, 0, kLeftMargin, height), style.background);
    if (y < height)
        painter.fillRect(QRect(0, y, width, height - y), style.background);
}

void RowRenderer::paintRow(QPainter &painter, const QRect &band, const QByteArray &line, int start,
                           int end, bool active) const
{
    const QColor background =
        active && style.activeBackground.isValid() ? style.activeBackground : style.background;
    const QColor text = active && style.activeText.isValid() ? style.activeText : style.text;
    painter.fillRect(band, background);

    if (text.isValid() && start < end) {
        painter.save();
        // A row's glyphs never reach into its neighbours, so repainting one band (the caret
        // moving) leaves the others as a full repaint would draw them.
        painter.setClipRect(band, Qt::IntersectClip);
        painter.setPen(text);
        const int textTop = band.top() + (style.rowHeight - style.textHeight) / 2;
        const int baseline = textTop + style.ascent;
        const char *bytes = line.constData();
        int x = band.left();
        for (int i = start; i < end && x <= band.right();) {
            const int size = std::min(gbk::charLength(line, i), end - i);
            const int cellsWidth = size * style.cellWidth;
            const char16_t glyph = glyphOf(bytes + i, size);
            if (glyph == kReplacement) {
                // An empty box inside the character's own cells: a replacement glyph from a
                // fallback font would be wider than one cell and cover its neighbour.
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(x + 1, textTop + 1, std::max(0, cellsWidth - 3),
                                 std::max(0, style.textHeight - 3));
            } else if (glyph != kNoGlyph) {
                painter.drawText(QPoint(x, baseline), QString(QChar(glyph)));
            }
            x += cellsWidth;
            i += size;
        }
        painter.restore();
    }

    if (style.dividerVisible && style.dividerColor.isValid()) {
        painter.setPen(QPen(style.dividerColor, 1, style.dividerStyle));
        painter.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
    }
}

} // namespace textview

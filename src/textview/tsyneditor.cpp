#include "textview/tsyneditor.h"

#include "gbk/codec.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>
#include <utility>

using textview::LineBuffer;
using textview::RowRenderer;

namespace {

// The longest face name a font keeps, in bytes, as the platform's font records hold it.
constexpr int kMaxFontNameBytes = 31;

// Cuts a GBK name to at most `limit` bytes without leaving half a double-byte character.
QByteArray cutName(const QByteArray &name, int limit)
{
    qsizetype end = 0;
    while (end < name.size()) {
        const int length = gbk::charLength(name, end);
        if (end + length > limit)
            break;
        end += length;
    }
    return name.left(end);
}

// The vertical scroll bar keeps the width of the desktop the reader was laid out on (17 pixels
// at 96 dots per inch), so that a view of a given width holds the same number of columns: the
// main window's 473-pixel view shows rows of 75 bytes.
class RowScrollBar : public QScrollBar {
public:
    explicit RowScrollBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent) {}

    QSize sizeHint() const override
    {
        QSize size = QScrollBar::sizeHint();
        size.setWidth(qRound(17 * logicalDpiX() / 96.0));
        return size;
    }
};

} // namespace

TSynEditor::TSynEditor(QWidget *parent)
    : QAbstractScrollArea(parent), m_layout(m_lines), m_fontName(gbk::fromUnicode(u"新宋体"))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that the text width, and with it the wrapping, never depends on
    // whether the text is longer than the window.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBar(new RowScrollBar(this));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);

    connect(&m_lines, &LineBuffer::textReset, this, &TSynEditor::onTextReset);
    connect(&m_lines, &LineBuffer::linesChanged, this, &TSynEditor::onLinesChanged);
    connect(&m_lines, &LineBuffer::linesInserted, this, &TSynEditor::onLinesInserted);
    connect(&m_lines, &LineBuffer::linesRemoved, this, &TSynEditor::onLinesRemoved);

    updateColors();
    remeasure();
}

TSynEditor::~TSynEditor() = default;

const QList<QByteArray> &TSynEditor::lines() const
{
    return m_lines.lines();
}

LineBreak TSynEditor::lineBreak() const
{
    return m_lines.lineBreak();
}

TextLines TSynEditor::textLines() const
{
    return m_lines.text();
}

void TSynEditor::setTextLines(TextLines text)
{
    m_lines.reset(std::move(text));
}

void TSynEditor::assignLines(const TSynEditor &other)
{
    // A copy taken first, so that assigning a view to itself is harmless.
    TextLines text{other.lines(), lineBreak()};
    m_lines.reset(std::move(text));
}

void TSynEditor::clearLines()
{
    m_lines.reset(TextLines{{}, lineBreak()});
}

void TSynEditor::onTextReset()
{
    m_caret = BufferCoord();
    m_topRow = 1;
    m_layout.rebuild();
    rowsChanged();
    viewport()->update();
}

void TSynEditor::onLinesChanged(int first, int count)
{
    m_layout.linesChanged(first, count);
    rowsChanged();
    viewport()->update();
}

void TSynEditor::onLinesInserted(int first, int count)
{
    m_layout.linesInserted(first, count);
    rowsChanged();
    viewport()->update();
}

void TSynEditor::onLinesRemoved(int first, int count)
{
    m_layout.linesRemoved(first, count);
    rowsChanged();
    viewport()->update();
}

QByteArray TSynEditor::fontName() const
{
    return m_fontName;
}

void TSynEditor::setFontName(const QByteArray &gbkName)
{
    if (gbkName.isEmpty())
        return;
    const QByteArray name = cutName(gbkName, kMaxFontNameBytes);
    if (name == m_fontName)
        return;
    m_fontName = name;
    remeasure();
}

int TSynEditor::fontHeight() const
{
    return m_fontHeight;
}

void TSynEditor::setFontHeight(int pixels)
{
    // A font needs at least one pixel; a spin box or a settings file can ask for 0.
    pixels = std::max(1, pixels);
    if (pixels == m_fontHeight)
        return;
    m_fontHeight = pixels;
    remeasure();
}

int TSynEditor::fontSize() const
{
    return qRound(m_fontHeight * 72.0 / logicalDpiY());
}

void TSynEditor::setFontSize(int points)
{
    // A negative size names the same height as its absolute value.
    setFontHeight(qRound(std::abs(points) * logicalDpiY() / 72.0));
}

TFontStyles TSynEditor::fontStyle() const
{
    return m_fontStyle;
}

void TSynEditor::setFontStyle(TFontStyles style)
{
    if (style == m_fontStyle)
        return;
    m_fontStyle = style;
    remeasure();
}

TColor TSynEditor::fontColor() const
{
    return m_fontColor;
}

void TSynEditor::setFontColor(TColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    updateColors();
}

TColor TSynEditor::color() const
{
    return m_color;
}

void TSynEditor::setColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    updateColors();
}

TLineSpacingRule TSynEditor::lineSpacingRule() const
{
    return m_lineSpacingRule;
}

void TSynEditor::setLineSpacingRule(TLineSpacingRule rule)
{
    if (rule == m_lineSpacingRule)
        return;
    m_lineSpacingRule = rule;
    remeasure();
}

int TSynEditor::lineSpacing() const
{
    return m_lineSpacing;
}

void TSynEditor::setLineSpacing(int pixels)
{
    if (pixels == m_lineSpacing)
        return;
    m_lineSpacing = pixels;
    remeasure();
}

const TSynLineDivider &TSynEditor::lineDivider() const
{
    return m_lineDivider;
}

void TSynEditor::setLineDivider(const TSynLineDivider &divider)
{
    if (divider == m_lineDivider)
        return;
    m_lineDivider = divider;
    updateColors();
}

void TSynEditor::setLineDividerVisible(bool visible)
{
    TSynLineDivider divider = m_lineDivider;
    divider.visible = visible;
    setLineDivider(divider);
}

const TSynActiveLine &TSynEditor::activeLine() const
{
    return m_activeLine;
}

void TSynEditor::setActiveLine(const TSynActiveLine &activeLine)
{
    if (activeLine == m_activeLine)
        return;
    m_activeLine = activeLine;
    updateColors();
}

int TSynEditor::topRow() const
{
    return m_topRow;
}

void TSynEditor::setTopRow(int row)
{
    const int maxTopRow = std::max(1, m_layout.rowCount() - m_rowsInWindow + 1);
    row = std::clamp(row, 1, maxTopRow);
    if (row == m_topRow)
        return;
    m_topRow = row;
    updateScrollBar();
    viewport()->update();
}

BufferCoord TSynEditor::caretXY() const
{
    return m_caret;
}

void TSynEditor::setCaretXY(BufferCoord position)
{
    position.line = std::clamp(position.line, 1, std::max(1, m_lines.count()));
    position.column = std::max(1, position.column);
    if (position == m_caret)
        return;
    m_caret = position;
    viewport()->update();
}

int TSynEditor::cellWidth() const
{
    return m_cellWidth;
}

int TSynEditor::textHeight() const
{
    return m_textHeight;
}

int TSynEditor::rowHeight() const
{
    return m_rowHeight;
}

int TSynEditor::columnsPerRow() const
{
    return m_layout.columnsPerRow();
}

int TSynEditor::rowsInWindow() const
{
    return m_rowsInWindow;
}

int TSynEditor::displayRowCount() const
{
    return m_layout.rowCount();
}

int TSynEditor::caretRow() const
{
    if (m_lines.count() == 0)
        return 0;
    const int line = std::clamp(m_caret.line, 1, m_lines.count()) - 1;
    return m_layout.rowOfPosition(line, m_caret.column - 1) + 1;
}

int TSynEditor::rowHeightFor(TLineSpacingRule rule, int textHeight, int lineSpacing)
{
    int extra = 0;
    switch (rule) {
    case lsSingle:
        extra = 2;
        break;
    case lsOneAndHalf: {
        const int half = textHeight / 2;
        // An odd text height leaves an exact half, which goes to the even neighbour.
        extra = (textHeight % 2 != 0 && half % 2 != 0 ? half + 1 : half) + 2;
        break;
    }
    case lsDouble:
        extra = textHeight + 2;
        break;
    case lsSpecified:
        extra = lineSpacing;
        break;
    }
    // A negative spacing could leave no row at all.
    return std::max(1, textHeight + extra);
}

QFont TSynEditor::makeFont() const
{
    QFont font(gbk::toUnicode(m_fontName));
    font.setPixelSize(m_fontHeight);
    font.setFixedPitch(true);
    font.setBold(m_fontStyle.testFlag(fsBold));
    font.setItalic(m_fontStyle.testFlag(fsItalic));
    font.setUnderline(m_fontStyle.testFlag(fsUnderline));
    font.setStrikeOut(m_fontStyle.testFlag(fsStrikeOut));
    return font;
}

void TSynEditor::remeasure()
{
    const QFont font = makeFont();
    const QFontMetrics metrics(font);
    m_cellWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    m_textHeight = std::max(1, metrics.ascent() + metrics.descent());
    m_rowHeight = rowHeightFor(m_lineSpacingRule, m_textHeight, m_lineSpacing);

    textview::RowStyle &style = m_renderer.style;
    style.font = font;
    style.ascent = metrics.ascent();
    style.cellWidth = m_cellWidth;
    style.textHeight = m_textHeight;
    style.rowHeight = m_rowHeight;

    relayout();
    viewport()->update();
}

void TSynEditor::relayout()
{
    const int textWidth = viewport()->width() - RowRenderer::kLeftMargin;
    const int columns = std::clamp(textWidth / m_cellWidth, 0, textview::kMaxRowBytes);
    m_layout.setColumnsPerRow(columns);
    m_rowsInWindow = viewport()->height() / m_rowHeight;
    rowsChanged();
}

void TSynEditor::rowsChanged()
{
    // The top row keeps its number unless the text has become too short for it.
    m_topRow = std::clamp(m_topRow, 1, std::max(1, m_layout.rowCount() - m_rowsInWindow + 1));
    updateScrollBar();
}

void TSynEditor::updateScrollBar()
{
    m_syncingScrollBar = true;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_layout.rowCount() - m_rowsInWindow));
    bar->setPageStep(std::max(1, m_rowsInWindow));
    bar->setValue(m_topRow - 1);
    m_syncingScrollBar = false;
}

void TSynEditor::updateColors()
{
    const QPalette &pal = palette();
    textview::RowStyle &style = m_renderer.style;
    style.background = toQColor(m_color, pal);
    if (!style.background.isValid())
        style.background = pal.color(QPalette::Base);
    style.text = toQColor(m_fontColor, pal);
    style.activeBackground =
        m_activeLine.visible ? toQColor(m_activeLine.background, pal) : QColor();
    style.activeText = m_activeLine.visible ? toQColor(m_activeLine.foreground, pal) : QColor();
    style.dividerVisible = m_lineDivider.visible;
    style.dividerColor = toQColor(m_lineDivider.color, pal);
    style.dividerStyle = m_lineDivider.style;
    viewport()->update();
}

void TSynEditor::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    m_renderer.paint(painter, event->rect(), viewport()->size(), m_layout, m_lines.lines(),
                     m_topRow - 1, caretRow() - 1);
}

void TSynEditor::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void TSynEditor::scrollContentsBy(int, int)
{
    if (m_syncingScrollBar)
        return;
    m_topRow = verticalScrollBar()->value() + 1;
    viewport()->update();
}

void TSynEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit dblClick();
}

void TSynEditor::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateColors();
}

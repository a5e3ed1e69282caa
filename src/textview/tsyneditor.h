#pragma once

#include "gbk/textlines.h"
#include "textview/linebuffer.h"
#include "textview/rowlayout.h"
#include "textview/rowrenderer.h"
#include "textview/tcolor.h"

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QFlags>

enum TLineSpacingRule { lsSingle = 0, lsOneAndHalf = 1, lsDouble = 2, lsSpecified = 3 };

enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

struct TSynLineDivider {
    bool visible = true;
    TColor color = clSilver;
    Qt::PenStyle style = Qt::SolidLine;

    bool operator==(const TSynLineDivider &other) const
    {
        return visible == other.visible && color == other.color && style == other.style;
    }
    bool operator!=(const TSynLineDivider &other) const { return !(*this == other); }
};

struct TSynActiveLine {
    bool visible = true;
    TColor background = 15268349;
    TColor foreground = 1863552;

    bool operator==(const TSynActiveLine &other) const
    {
        return visible == other.visible && background == other.background &&
               foreground == other.foreground;
    }
    bool operator!=(const TSynActiveLine &other) const { return !(*this == other); }
};

// A position in the text: 1-based line and 1-based byte column.
struct BufferCoord {
    int line = 1;
    int column = 1;

    bool operator==(const BufferCoord &other) const
    {
        return line == other.line && column == other.column;
    }
    bool operator!=(const BufferCoord &other) const { return !(*this == other); }
};

// The word-wrapping text view: GBK byte lines on a fixed grid of one cell per byte, rows spaced
// by a rule, a ruled line under every row and the caret's row highlighted. The viewport is the
// text area; the view scrolls vertically by whole rows.
class TSynEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSynEditor(QWidget *parent = nullptr);
    ~TSynEditor() override;

    // Replacing the whole text (set, assign, clear) puts the caret at 1,1 and the top row at 1.
    // Assigning copies the other view's lines; this view keeps its own line-break style.
    const QList<QByteArray> &lines() const;
    LineBreak lineBreak() const;
    TextLines textLines() const;
    void setTextLines(TextLines text);
    void assignLines(const TSynEditor &other);
    void clearLines();

    QByteArray fontName() const;
    void setFontName(const QByteArray &gbkName);
    int fontHeight() const;
    void setFontHeight(int pixels);
    int fontSize() const;
    void setFontSize(int points);
    TFontStyles fontStyle() const;
    void setFontStyle(TFontStyles style);
    TColor fontColor() const;
    void setFontColor(TColor color);
    TColor color() const;
    void setColor(TColor color);
    TLineSpacingRule lineSpacingRule() const;
    void setLineSpacingRule(TLineSpacingRule rule);
    int lineSpacing() const;
    void setLineSpacing(int pixels);
    const TSynLineDivider &lineDivider() const;
    void setLineDivider(const TSynLineDivider &divider);
    void setLineDividerVisible(bool visible);
    const TSynActiveLine &activeLine() const;
    void setActiveLine(const TSynActiveLine &activeLine);

    int topRow() const;
    void setTopRow(int row);
    BufferCoord caretXY() const;
    void setCaretXY(BufferCoord position);

    int cellWidth() const;
    int textHeight() const;
    int rowHeight() const;
    int columnsPerRow() const;
    int rowsInWindow() const;
    int displayRowCount() const;
    // The display row (from 1) that holds the caret; 0 when the text has no lines.
    int caretRow() const;

    // Row height for a text height under a spacing rule. lsOneAndHalf adds half the text
    // height rounded to even (15 gives 8, 13 gives 6) and 2 pixels; never less than 1 pixel.
    static int rowHeightFor(TLineSpacingRule rule, int textHeight, int lineSpacing);

signals:
    void dblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void onTextReset();
    void onLinesChanged(int first, int count);
    void onLinesInserted(int first, int count);
    void onLinesRemoved(int first, int count);

    QFont makeFont() const;
    // Font, spacing rule or spacing changed: new cell and row metrics, then relayout().
    void remeasure();
    // Size or metrics changed: rewraps when the columns per row differ, recounts the rows in
    // the window, and keeps the top row number within range.
    void relayout();
    void rowsChanged();
    void updateScrollBar();
    void updateColors();

    textview::LineBuffer m_lines;
    textview::RowLayout m_layout;
    textview::RowRenderer m_renderer;

    QByteArray m_fontName;
    int m_fontHeight = 12;
    TFontStyles m_fontStyle;
    TColor m_fontColor = clWindowText;
    TColor m_color = clWhite;
    TLineSpacingRule m_lineSpacingRule = lsDouble;
    int m_lineSpacing = 0;
    TSynLineDivider m_lineDivider;
    TSynActiveLine m_activeLine;

    int m_cellWidth = 1;
    int m_textHeight = 1;
    int m_rowHeight = 1;
    int m_rowsInWindow = 0;
    int m_topRow = 1;
    BufferCoord m_caret;
    bool m_syncingScrollBar = false;
};

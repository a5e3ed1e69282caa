#include "app/fontsubstitutions.h"
#include "gbk/codec.h"
#include "textview/linebuffer.h"
#include "textview/rowlayout.h"
#include "textview/tsyneditor.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <optional>

Q_DECLARE_METATYPE(std::function<void(TSynEditor &)>)
Q_DECLARE_METATYPE(TSynActiveLine)

namespace {

using ViewChange = std::function<void(TSynEditor &)>;

const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);
const QColor kActiveBackground(253, 249, 232);
const QColor kActiveText(128, 111, 28);

QByteArray gbkBytes(const QString &text)
{
    return gbk::fromUnicode(text);
}

// `count` double-byte characters of a poem, repeated as often as needed.
QByteArray chinese(int count)
{
    const QString poem = QStringLiteral("床前明月光疑是地上霜举头望明月低头思故乡");
    QString text;
    for (int i = 0; i < count; ++i)
        text += poem.at(i % poem.size());
    return gbkBytes(text);
}

QList<int> rowLengths(const QByteArray &line, int columns)
{
    const std::vector<int> starts = textview::rowStarts(line, columns);
    QList<int> lengths;
    for (size_t i = 0; i < starts.size(); ++i)
        lengths << (i + 1 < starts.size() ? starts[i + 1] : int(line.size())) - starts[i];
    return lengths;
}

QColor pixel(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Pixel rows of `image` inside [top, bottom) that hold a pixel other than `background` between
// x = left and x = right (exclusive).
std::optional<std::pair<int, int>> inkRows(const QImage &image, int left, int right, int top,
                                           int bottom, const QColor &background)
{
    int first = -1;
    int last = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (pixel(image, x, y) != background) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    if (first < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

// Leftmost column of `image` inside [left, right) that holds a pixel other than `background`
// between rows top and bottom (exclusive); -1 when there is none.
int inkLeft(const QImage &image, int left, int right, int top, int bottom, const QColor &background)
{
    for (int x = left; x < right; ++x)
        for (int y = top; y < bottom; ++y)
            if (pixel(image, x, y) != background)
                return x;
    return -1;
}

// The glyphs of `text` drawn in `font` with the top of the character cell at y = 0 and the
// cell's left edge at x = 0, on white: what a row's text must look like, shifted to its place.
QImage referenceGlyphs(const QString &text, const QFont &font, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    return image;
}

QFont viewFont(const TSynEditor &view)
{
    QFont font(gbk::toUnicode(view.fontName()));
    font.setPixelSize(view.fontHeight());
    font.setFixedPitch(true);
    return font;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestTextView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void rowsBreakAsTheWrapRuleSays_data();
    void rowsBreakAsTheWrapRuleSays();
    void editsRewrapOnlyTheirLinesAndAgreeWithAFullRebuild();

    void rowHeightFollowsSpacingRule_data();
    void rowHeightFollowsSpacingRule();
    void oneAndAHalfSpacingRoundsHalvesToEven_data();
    void oneAndAHalfSpacingRoundsHalvesToEven();
    void mainWindowViewHoldsSeventyFiveColumns();
    void wideViewStillBreaksRowsAt255Bytes();

    void ruledLineUnderEveryRowAndNoneBelowText();
    void hiddenRuledLinesLeaveBandsPlain();
    void caretRowHighlightCoversOnlyItsDisplayRow_data();
    void caretRowHighlightCoversOnlyItsDisplayRow();
    void caretAtWrapPointBelongsToTheRowStartingThere_data();
    void caretAtWrapPointBelongsToTheRowStartingThere();
    void textSitsInTheMiddleOfItsBand_data();
    void textSitsInTheMiddleOfItsBand();
    void glyphsSitOnTheByteGrid();
    void invalidBytesShowAMarkAndKeepTheirCells();
    void backgroundColourFillsMarginBandsAndEmptyArea();

    void topRowIsClampedToTheText();
    void scrollBarCountsRows();
    void wheelScrollsWholeRows();
    void presentationChangesKeepTopRowNumber_data();
    void presentationChangesKeepTopRowNumber();
    void settingTheValueInForceRepaintsNothing_data();
    void settingTheValueInForceRepaintsNothing();

    void fontNameIsCutTo31BytesOnACharacterBoundary_data();
    void fontNameIsCutTo31BytesOnACharacterBoundary();
    void emptyFontNameIsIgnored();
    void fontSizeConvertsPointsAndPixels_data();
    void fontSizeConvertsPointsAndPixels();

    void loadingWhileScrolledShowsNewTextFromRowOne();
    void assignedLinesAreACopy();
    void doubleClickRaisesDblClick();
    void largeTextScrollsToItsLastRow();

private:
    // A view the size of the main window's text view, shown on the offscreen screen.
    TSynEditor *makeView(QSize size = QSize(473, 409));

    std::unique_ptr<TSynEditor> m_view;
};

void TestTextView::initTestCase()
{
    app::registerFontSubstitutions();
    TSynEditor view;
    if (QFontInfo(viewFont(view)).family() != QStringLiteral("AR PL UMing CN"))
        QFAIL("the font AR PL UMing CN (fonts-arphic-uming) is not installed");
}

void TestTextView::cleanup()
{
    m_view.reset();
}

TSynEditor *TestTextView::makeView(QSize size)
{
    m_view = std::make_unique<TSynEditor>();
    m_view->resize(size);
    m_view->show();
    if (!QTest::qWaitForWindowExposed(m_view.get()))
        qWarning("view not exposed");
    return m_view.get();
}

void TestTextView::rowsBreakAsTheWrapRuleSays_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("200 double-byte characters at 75 columns: 37 to a row, 15 in the last")
        << chinese(200) << 75 << QList<int>{74, 74, 74, 74, 74, 30};
    // Every trail byte of these characters is also a lead-byte value: only a scan from the
    // line start tells that byte 20 starts a character.
    QTest::newRow("trail bytes in the lead range, even width")
        << gbkBytes(QString(30, QChar(0x6625))) << 20 << QList<int>{20, 20, 20};
    QTest::newRow("cut on a trail byte moves back one byte")
        << QByteArray("a") + chinese(100) << 20
        << QList<int>{19, 20, 20, 20, 20, 20, 20, 20, 20, 20, 2};
    QTest::newRow("English breaks after the last blank of bytes M+1..N-1")
        << QByteArray("The quick brown foxes jump over the lazy dog") << 20
        << QList<int>{16, 20, 8};
    QTest::newRow("blank at byte M is too early to break at")
        << QByteArray("0123456789abcd efghijklmnop") << 20 << QList<int>{20, 7};
    QTest::newRow("blank at byte M+1 is the earliest break")
        << QByteArray("0123456789abcde fghijklmnop") << 20 << QList<int>{16, 11};
    QTest::newRow("any byte up to 0x20 is a break byte")
        << QByteArray("0123456789abcdef\x01ghijklmn") << 20 << QList<int>{17, 8};
    QTest::newRow("word longer than a row splits at the width")
        << QByteArray(45, 'x') << 20 << QList<int>{20, 20, 5};
    QTest::newRow("line exactly as wide as a row") << QByteArray(20, 'x') << 20 << QList<int>{20};
    QTest::newRow("run of blanks at the cut stays on the row")
        << QByteArray("abcdefghij   \t  klm") << 10 << QList<int>{16, 3};
    QTest::newRow("run of blanks to the line end adds no empty row")
        << QByteArray("abcdefghij    ") << 10 << QList<int>{14};
    QTest::newRow("300 columns still cut at 255 bytes")
        << QByteArray(600, 'a') << 300 << QList<int>{255, 255, 90};
    QTest::newRow("long run of blanks cut at 255 bytes")
        << QByteArray("abcdefghij") + QByteArray(300, ' ') + "z" << 10 << QList<int>{255, 55, 1};
    QTest::newRow("cut inside blanks moves back over tabs")
        << QByteArray("abcdefghij") + QByteArray(240, ' ') + QByteArray(20, '\t') + "z" << 10
        << QList<int>{250, 20, 1};
    QTest::newRow("cut moves back over tabs no further than byte 248")
        << QByteArray("abcdefghij") + QByteArray(300, '\t') << 10 << QList<int>{248, 62};
    QTest::newRow("empty line is one empty row") << QByteArray() << 75 << QList<int>{0};
    QTest::newRow("one column still shows whole characters")
        << chinese(3) << 1 << QList<int>{2, 2, 2};
    QTest::newRow("no columns at all: one character to a row")
        << QByteArray("ab") + chinese(1) << 0 << QList<int>{1, 1, 2};
}

void TestTextView::rowsBreakAsTheWrapRuleSays()
{
    QFETCH(QByteArray, line);
    QFETCH(int, columns);
    QFETCH(QList<int>, rows);

    QCOMPARE(rowLengths(line, columns), rows);
}

void TestTextView::editsRewrapOnlyTheirLinesAndAgreeWithAFullRebuild()
{
    textview::LineBuffer buffer;
    textview::RowLayout layout(buffer);
    QObject::connect(&buffer, &textview::LineBuffer::textReset, [&] { layout.rebuild(); });
    QObject::connect(&buffer, &textview::LineBuffer::linesChanged,
                     [&](int first, int count) { layout.linesChanged(first, count); });
    QObject::connect(&buffer, &textview::LineBuffer::linesInserted,
                     [&](int first, int count) { layout.linesInserted(first, count); });
    QObject::connect(&buffer, &textview::LineBuffer::linesRemoved,
                     [&](int first, int count) { layout.linesRemoved(first, count); });
    layout.setColumnsPerRow(20);
    buffer.reset({{chinese(50), QByteArray(), "short", chinese(11)}, LineBreak::CRLF});

    const auto checkAgainstRebuild = [&](const char *step) {
        textview::RowLayout fresh(buffer);
        fresh.setColumnsPerRow(20);
        QVERIFY2(layout.rowCount() == fresh.rowCount(), step);
        for (int row = 0; row < fresh.rowCount(); ++row) {
            const textview::RowSpan a = layout.row(row);
            const textview::RowSpan b = fresh.row(row);
            QVERIFY2(a.line == b.line && a.start == b.start && a.end == b.end, step);
        }
        for (int line = 0; line < buffer.count(); ++line)
            QVERIFY2(layout.firstRowOfLine(line) == fresh.firstRowOfLine(line), step);
    };

    checkAgainstRebuild("load");
    buffer.replaceLine(0, chinese(5));
    checkAgainstRebuild("shorten the first line");
    buffer.replaceLine(2, QByteArray(70, 'x'));
    checkAgainstRebuild("lengthen a middle line");
    buffer.insertLines(1, {chinese(30), QByteArray(), "a b c"});
    checkAgainstRebuild("insert in the middle");
    buffer.insertLines(buffer.count(), {chinese(21)});
    checkAgainstRebuild("append");
    buffer.removeLines(0, 2);
    checkAgainstRebuild("remove at the start");
    buffer.removeLines(buffer.count() - 1, 1);
    checkAgainstRebuild("remove the last line");
    buffer.removeLines(0, buffer.count());
    checkAgainstRebuild("remove everything");
    QCOMPARE(layout.rowCount(), 0);
}

void TestTextView::rowHeightFollowsSpacingRule_data()
{
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("rowHeight");

    QTest::newRow("12 single") << 12 << int(lsSingle) << 0 << 12 << 14;
    QTest::newRow("12 one and a half") << 12 << int(lsOneAndHalf) << 0 << 12 << 20;
    QTest::newRow("12 double") << 12 << int(lsDouble) << 0 << 12 << 26;
    QTest::newRow("12 specified 0") << 12 << int(lsSpecified) << 0 << 12 << 12;
    QTest::newRow("12 specified 5") << 12 << int(lsSpecified) << 5 << 12 << 17;
    QTest::newRow("12 double ignores spacing") << 12 << int(lsDouble) << 5 << 12 << 26;
    QTest::newRow("15 single") << 15 << int(lsSingle) << 0 << 15 << 17;
    QTest::newRow("15 one and a half: 7.5 goes to 8") << 15 << int(lsOneAndHalf) << 0 << 15 << 25;
    QTest::newRow("15 double") << 15 << int(lsDouble) << 0 << 15 << 32;
    QTest::newRow("15 specified 0") << 15 << int(lsSpecified) << 0 << 15 << 15;
    QTest::newRow("negative spacing leaves rows one pixel tall")
        << 12 << int(lsSpecified) << -20 << 12 << 1;
}

void TestTextView::rowHeightFollowsSpacingRule()
{
    QFETCH(int, fontHeight);
    QFETCH(int, rule);
    QFETCH(int, spacing);
    QFETCH(int, textHeight);
    QFETCH(int, rowHeight);

    TSynEditor *view = makeView();
    view->setFontHeight(fontHeight);
    view->setLineSpacing(spacing);
    view->setLineSpacingRule(TLineSpacingRule(rule));
    QCOMPARE(view->textHeight(), textHeight);
    QCOMPARE(view->rowHeight(), rowHeight);
    QCOMPARE(view->rowsInWindow(), view->viewport()->height() / rowHeight);
    view->setTextLines({{chinese(200)}, LineBreak::CR});
    view->grab();
}

void TestTextView::oneAndAHalfSpacingRoundsHalvesToEven_data()
{
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("rowHeight");

    QTest::newRow("13: 6.5 goes to 6") << 13 << 21;
    QTest::newRow("15: 7.5 goes to 8") << 15 << 25;
    QTest::newRow("14: 7 exactly") << 14 << 23;
    QTest::newRow("17: 8.5 goes to 8") << 17 << 27;
}

void TestTextView::oneAndAHalfSpacingRoundsHalvesToEven()
{
    QFETCH(int, textHeight);
    QFETCH(int, rowHeight);

    QCOMPARE(TSynEditor::rowHeightFor(lsOneAndHalf, textHeight, 0), rowHeight);
}

void TestTextView::mainWindowViewHoldsSeventyFiveColumns()
{
    TSynEditor *view = makeView();
    QCOMPARE(view->cellWidth(), 6);
    QCOMPARE(view->textHeight(), 12);
    QCOMPARE(view->rowHeight(), 26);
    QCOMPARE(view->columnsPerRow(), 75);
    QCOMPARE(view->rowsInWindow(), 409 / 26);

    view->setTextLines({{chinese(200)}, LineBreak::CR});
    QCOMPARE(view->displayRowCount(), 6);

    // 11 points: 8-pixel cells, 56 columns, rows of 28 characters.
    view->setFontHeight(15);
    QCOMPARE(view->cellWidth(), 8);
    QCOMPARE(view->columnsPerRow(), 56);
    QCOMPARE(view->displayRowCount(), 8);
}

void TestTextView::wideViewStillBreaksRowsAt255Bytes()
{
    TSynEditor *view = makeView(QSize(2000, 200));
    QCOMPARE(view->columnsPerRow(), 255);
    view->setTextLines({{QByteArray(600, 'a')}, LineBreak::CR});
    QCOMPARE(view->displayRowCount(), 3);
}

void TestTextView::ruledLineUnderEveryRowAndNoneBelowText()
{
    TSynEditor *view = makeView();
    // A wrapped line of six rows, an empty line, a one-row line.
    view->setTextLines({{chinese(200), QByteArray(), "end"}, LineBreak::CR});
    QCOMPARE(view->displayRowCount(), 8);
    const QImage image = view->grab().toImage();
    const int width = view->viewport()->width();
    const int height = view->viewport()->height();

    for (int row = 1; row <= 8; ++row) {
        const int y = row * 26 - 1;
        for (int x : {2, 3, width / 2, width - 1})
            QVERIFY2(pixel(image, x, y) == kSilver,
                     qPrintable(QString("row %1 x %2").arg(row).arg(x)));
        QCOMPARE(pixel(image, 0, y), kWhite);
        QCOMPARE(pixel(image, 1, y), kWhite);
        // Only the bottom pixel row of the band is ruled.
        QVERIFY(pixel(image, width - 1, y - 1) != kSilver);
        QVERIFY(pixel(image, width - 1, y + 1) != kSilver);
    }
    for (int y = 8 * 26; y < height; ++y)
        for (int x = 0; x < width; ++x)
            QVERIFY2(pixel(image, x, y) == kWhite,
                     qPrintable(QString("below text at %1,%2").arg(x).arg(y)));
}

void TestTextView::hiddenRuledLinesLeaveBandsPlain()
{
    TSynEditor *view = makeView();
    view->setTextLines({{QByteArray(), QByteArray()}, LineBreak::CR});
    view->setCaretXY({2, 1});
    view->setLineDividerVisible(false);
    const QImage image = view->grab().toImage();
    QCOMPARE(pixel(image, 100, 25), kWhite);
    QCOMPARE(pixel(image, 100, 51), kActiveBackground);
}

void TestTextView::caretRowHighlightCoversOnlyItsDisplayRow_data()
{
    QTest::addColumn<TSynActiveLine>("activeLine");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");

    QTest::newRow("default colours") << TSynActiveLine() << kActiveBackground << kActiveText;
    TSynActiveLine off;
    off.visible = false;
    QTest::newRow("highlight off") << off << kWhite << QColor(Qt::black);
    TSynActiveLine noBackground;
    noBackground.background = clNone;
    QTest::newRow("no background") << noBackground << kWhite << kActiveText;
    TSynActiveLine noForeground;
    noForeground.foreground = clNone;
    QTest::newRow("no foreground") << noForeground << kActiveBackground << QColor(Qt::black);
}

void TestTextView::caretRowHighlightCoversOnlyItsDisplayRow()
{
    QFETCH(TSynActiveLine, activeLine);
    QFETCH(QColor, background);
    QFETCH(QColor, text);

    TSynEditor *view = makeView();
    // Large enough for strokes with fully covered pixels, whose colour is the text colour.
    view->setFontHeight(24);
    view->setActiveLine(activeLine);
    const QByteArray line = chinese(200);
    view->setTextLines({{line}, LineBreak::CR});
    const int secondRow = int(textview::rowStarts(line, view->columnsPerRow()).at(1));
    view->setCaretXY({1, secondRow + 3});
    QCOMPARE(view->caretRow(), 2);
    const QImage image = view->grab().toImage();
    const int width = view->viewport()->width();
    const int rowHeight = view->rowHeight();

    for (int row = 1; row <= 3; ++row) {
        const int top = (row - 1) * rowHeight;
        QSet<QRgb> found;
        for (int y = top; y < top + rowHeight - 1; ++y)
            for (int x = 2; x < width; ++x)
                found.insert(image.pixel(x, y));
        const QString where = QString("row %1").arg(row);
        if (row == 2) {
            QCOMPARE(pixel(image, 2, top), background);
            QCOMPARE(pixel(image, width - 1, top + rowHeight - 2), background);
            QVERIFY2(found.contains(text.rgb()), qPrintable(where));
        } else {
            QCOMPARE(pixel(image, 2, top), kWhite);
            QCOMPARE(pixel(image, width - 1, top + rowHeight - 2), kWhite);
            QVERIFY2(found.contains(QColor(Qt::black).rgb()), qPrintable(where));
            QVERIFY2(!found.contains(kActiveText.rgb()), qPrintable(where));
            QVERIFY2(!found.contains(kActiveBackground.rgb()), qPrintable(where));
        }
        // The left margin is the view's colour beside every row, the caret row too.
        for (int y = top; y < top + rowHeight; ++y) {
            QCOMPARE(pixel(image, 0, y), kWhite);
            QCOMPARE(pixel(image, 1, y), kWhite);
        }
    }
}

void TestTextView::caretAtWrapPointBelongsToTheRowStartingThere_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");

    QTest::newRow("start of text") << 1 << 1 << 1;
    QTest::newRow("last byte of the first row") << 1 << 74 << 1;
    QTest::newRow("first byte of the second row") << 1 << 75 << 2;
    QTest::newRow("end of the wrapped line") << 1 << 401 << 6;
    QTest::newRow("past the end of the line") << 1 << 900 << 6;
    QTest::newRow("empty second line") << 2 << 1 << 7;
    QTest::newRow("line beyond the text goes to the last line") << 9 << 1 << 8;
}

void TestTextView::caretAtWrapPointBelongsToTheRowStartingThere()
{
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(int, row);

    TSynEditor *view = makeView();
    view->setTextLines({{chinese(200), QByteArray(), "end"}, LineBreak::CR});
    view->setCaretXY({line, column});
    QCOMPARE(view->caretRow(), row);
}

void TestTextView::textSitsInTheMiddleOfItsBand_data()
{
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("offset");

    QTest::newRow("double, text height 12") << 12 << int(lsDouble) << 0 << 7;
    QTest::newRow("one and a half, text height 12") << 12 << int(lsOneAndHalf) << 0 << 4;
    QTest::newRow("one and a half, text height 15") << 15 << int(lsOneAndHalf) << 0 << 5;
    QTest::newRow("specified 0 pixels") << 12 << int(lsSpecified) << 0 << 0;
    QTest::newRow("specified 5 pixels: the odd pixel goes below")
        << 12 << int(lsSpecified) << 5 << 2;
}

void TestTextView::textSitsInTheMiddleOfItsBand()
{
    QFETCH(int, fontHeight);
    QFETCH(int, rule);
    QFETCH(int, spacing);
    QFETCH(int, offset);

    TSynEditor *view = makeView();
    view->setFontHeight(fontHeight);
    view->setLineSpacing(spacing);
    view->setLineSpacingRule(TLineSpacingRule(rule));
    view->setLineDividerVisible(false);
    const QByteArray line = chinese(20);
    view->setTextLines({{QByteArray(), line}, LineBreak::CR});
    const int rowHeight = view->rowHeight();
    const QImage image = view->grab().toImage();

    const QImage reference = referenceGlyphs(gbk::toUnicode(line), viewFont(*view), 600, 60);
    const auto expected = inkRows(reference, 0, 600, 0, 60, kWhite);
    QVERIFY(expected.has_value());
    // Row 2 is not the caret row, so its band is white around black text.
    const auto found =
        inkRows(image, 2, view->viewport()->width(), rowHeight, 2 * rowHeight, kWhite);
    QVERIFY(found.has_value());
    QCOMPARE(found->first, rowHeight + offset + expected->first);
    // Glyphs that reach below their character cell are cut at the band's edge.
    QCOMPARE(found->second, std::min(rowHeight + offset + expected->second, 2 * rowHeight - 1));
}

void TestTextView::glyphsSitOnTheByteGrid()
{
    // At 15 pixels a Chinese glyph is 15 wide but takes two 8-pixel cells, so text drawn as
    // one string would drift a pixel to the left at every character. The glyph is a single
    // vertical stroke, so each cell's first ink is its own glyph's.
    TSynEditor *view = makeView();
    view->setFontHeight(15);
    view->setLineSpacingRule(lsDouble);
    view->setLineDividerVisible(false);
    const QString glyph = QStringLiteral("丨");
    view->setTextLines({{QByteArray(), "ab" + gbkBytes(QString(10, glyph.at(0)))}, LineBreak::CR});
    const QImage image = view->grab().toImage();
    const int rowHeight = view->rowHeight();

    const QImage reference = referenceGlyphs(glyph, viewFont(*view), 40, 40);
    const int glyphLeft = inkLeft(reference, 0, 40, 0, 40, kWhite);
    QVERIFY(glyphLeft >= 0);
    for (int i = 0; i < 10; ++i) {
        const int column = 3 + 2 * i; // byte column of the i-th character, from 1
        const int cellLeft = 2 + (column - 1) * 8;
        QCOMPARE(inkLeft(image, cellLeft, cellLeft + 16, rowHeight, 2 * rowHeight, kWhite),
                 cellLeft + glyphLeft);
    }
}

void TestTextView::invalidBytesShowAMarkAndKeepTheirCells()
{
    TSynEditor *view = makeView();
    view->setLineDividerVisible(false);
    // Line 2: a lead byte with a trail the code page leaves empty, a lone 0xFF, then
    // characters. Line 3: the same characters after three blanks, for comparison.
    const QByteArray tail = chinese(3);
    view->setTextLines(
        {{QByteArray(), QByteArray("\x81\x7F\xFF") + tail, "   " + tail}, LineBreak::CR});
    const QImage image = view->grab().toImage();
    const int width = view->viewport()->width();

    const QImage bad = image.copy(2 + 3 * 6, 26, width - 20, 26);
    const QImage good = image.copy(2 + 3 * 6, 52, width - 20, 26);
    QCOMPARE(bad, good);
    QVERIFY(inkRows(image, 2, 2 + 3 * 6, 26, 52, kWhite).has_value());
}

void TestTextView::backgroundColourFillsMarginBandsAndEmptyArea()
{
    TSynEditor *view = makeView();
    view->setTextLines({{"x", "y"}, LineBreak::CR});
    view->setCaretXY({2, 1});
    view->setColor(0x00FF8000); // blue 255, green 128, red 0
    QCOMPARE(view->color(), TColor(0x00FF8000));
    const QColor blue(0, 128, 255);
    const QImage image = view->grab().toImage();
    QCOMPARE(pixel(image, 0, 5), blue);
    QCOMPARE(pixel(image, 100, 5), blue);
    QCOMPARE(pixel(image, 0, 30), blue);
    QCOMPARE(pixel(image, 100, 30), kActiveBackground);
    QCOMPARE(pixel(image, 100, 300), blue);
    QCOMPARE(pixel(image, 100, 25), kSilver);
}

void TestTextView::topRowIsClampedToTheText()
{
    TSynEditor *view = makeView();
    QCOMPARE(view->rowsInWindow(), 15);
    view->setTopRow(5);
    QCOMPARE(view->topRow(), 1); // no text: nothing to scroll

    view->setTextLines({QList<QByteArray>(100, "x"), LineBreak::CR});
    const struct {
        int asked;
        int shown;
    } cases[] = {{0, 1}, {-3, 1}, {50, 50}, {86, 86}, {87, 86}, {1000, 86}};
    for (const auto &c : cases) {
        view->setTopRow(c.asked);
        QCOMPARE(view->topRow(), c.shown);
    }
    view->setTextLines({QList<QByteArray>(10, "x"), LineBreak::CR});
    view->setTopRow(3);
    QCOMPARE(view->topRow(), 1); // shorter than the window

    // A wider view needs fewer rows; a top row past the new end comes back to it.
    view->setTextLines({QList<QByteArray>(60, chinese(100)), LineBreak::CR});
    view->setTopRow(1000);
    QCOMPARE(view->topRow(), 180 - 15 + 1);
    view->resize(900, 409);
    QCOMPARE(view->displayRowCount(), 120);
    QCOMPARE(view->topRow(), 120 - 15 + 1);
    QCOMPARE(view->verticalScrollBar()->value(), 120 - 15);
}

void TestTextView::scrollBarCountsRows()
{
    TSynEditor *view = makeView();
    view->setTextLines({QList<QByteArray>(100, "x"), LineBreak::CR});
    QScrollBar *bar = view->verticalScrollBar();
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100 - 15);
    QCOMPARE(bar->pageStep(), 15);
    QCOMPARE(bar->singleStep(), 1);

    view->setTopRow(40);
    QCOMPARE(bar->value(), 39);
    bar->setValue(10);
    QCOMPARE(view->topRow(), 11);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(view->topRow(), 26);

    // The highlight scrolls with its row: row 27 is now the second band.
    view->setCaretXY({27, 1});
    const QImage image = view->grab().toImage();
    QCOMPARE(pixel(image, 100, 0), kWhite);
    QCOMPARE(pixel(image, 100, 26), kActiveBackground);
}

void TestTextView::wheelScrollsWholeRows()
{
    TSynEditor *view = makeView();
    view->setTextLines({QList<QByteArray>(100, "x"), LineBreak::CR});
    const QPoint at(50, 50);
    QWheelEvent down(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &down);
    QCOMPARE(view->topRow(), 1 + QApplication::wheelScrollLines());
}

void TestTextView::presentationChangesKeepTopRowNumber_data()
{
    QTest::addColumn<ViewChange>("change");
    QTest::addColumn<bool>("rewraps");

    QTest::newRow("font height") << ViewChange([](TSynEditor &v) { v.setFontHeight(15); }) << true;
    QTest::newRow("font size") << ViewChange([](TSynEditor &v) { v.setFontSize(14); }) << true;
    QTest::newRow("font style") << ViewChange([](TSynEditor &v) {
        v.setFontStyle(fsBold | fsItalic);
    }) << false;
    QTest::newRow("font name") << ViewChange([](TSynEditor &v) {
        v.setFontName(gbkBytes(QStringLiteral("宋体")));
    }) << false;
    QTest::newRow("spacing rule") << ViewChange([](TSynEditor &v) {
        v.setLineSpacingRule(lsSpecified);
    }) << false;
    QTest::newRow("line spacing") << ViewChange([](TSynEditor &v) {
        v.setLineSpacingRule(lsSpecified);
        v.setLineSpacing(40);
    }) << false;
    QTest::newRow("width") << ViewChange([](TSynEditor &v) { v.resize(300, 409); }) << true;
}

void TestTextView::presentationChangesKeepTopRowNumber()
{
    QFETCH(ViewChange, change);
    QFETCH(bool, rewraps);

    TSynEditor *view = makeView();
    view->setTextLines({QList<QByteArray>(60, chinese(100)), LineBreak::CR});
    const int rowsBefore = view->displayRowCount();
    QCOMPARE(rowsBefore, 60 * 3);
    view->setTopRow(20);
    change(*view);
    QCOMPARE(view->displayRowCount() != rowsBefore, rewraps);
    QCOMPARE(view->topRow(), 20);
    QCOMPARE(view->verticalScrollBar()->value(), 19);
    QCOMPARE(view->verticalScrollBar()->maximum(), view->displayRowCount() - view->rowsInWindow());
}

void TestTextView::settingTheValueInForceRepaintsNothing_data()
{
    QTest::addColumn<ViewChange>("same");
    QTest::addColumn<ViewChange>("different");

    QTest::newRow("spacing rule") << ViewChange([](TSynEditor &v) {
        v.setLineSpacingRule(lsDouble);
    }) << ViewChange([](TSynEditor &v) { v.setLineSpacingRule(lsOneAndHalf); });
    QTest::newRow("ruled lines") << ViewChange([](TSynEditor &v) {
        v.setLineDividerVisible(true);
    }) << ViewChange([](TSynEditor &v) { v.setLineDividerVisible(false); });
    QTest::newRow("background") << ViewChange([](TSynEditor &v) { v.setColor(clWhite); })
                                << ViewChange([](TSynEditor &v) { v.setColor(clSilver); });
}

void TestTextView::settingTheValueInForceRepaintsNothing()
{
    QFETCH(ViewChange, same);
    QFETCH(ViewChange, different);

    TSynEditor *view = makeView();
    view->setTextLines({{chinese(100)}, LineBreak::CR});
    PaintCounter counter;
    view->viewport()->installEventFilter(&counter);
    QTest::qWait(20);

    counter.paints = 0;
    same(*view);
    QTest::qWait(20);
    QCOMPARE(counter.paints, 0);

    different(*view);
    QTRY_VERIFY(counter.paints > 0);
}

void TestTextView::fontNameIsCutTo31BytesOnACharacterBoundary_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("kept");

    const QByteArray latin = "Abcdefghijklmnopqrstuvwxyz0123456789";
    QTest::newRow("short name kept whole")
        << QByteArray("Courier New") << QByteArray("Courier New");
    QTest::newRow("31 bytes kept") << latin.left(31) << latin.left(31);
    QTest::newRow("36 Latin bytes cut to 31") << latin << latin.left(31);
    QTest::newRow("a Latin byte and 15 characters: 31 bytes")
        << QByteArray("a") + chinese(20) << QByteArray("a") + chinese(15);
    QTest::newRow("16 characters: the 16th would be split, so 30 bytes")
        << chinese(16) << chinese(15);
}

void TestTextView::fontNameIsCutTo31BytesOnACharacterBoundary()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, kept);

    TSynEditor view;
    view.setFontName(name);
    QCOMPARE(view.fontName(), kept);
}

void TestTextView::emptyFontNameIsIgnored()
{
    TSynEditor view;
    QCOMPARE(view.fontName(), gbkBytes(QStringLiteral("新宋体")));
    view.setFontName(gbkBytes(QStringLiteral("黑体")));
    const int cellWidth = view.cellWidth();
    view.setFontName(QByteArray());
    QCOMPARE(view.fontName(), gbkBytes(QStringLiteral("黑体")));
    QCOMPARE(view.cellWidth(), cellWidth);
}

void TestTextView::fontSizeConvertsPointsAndPixels_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("pointsRead");

    QTest::newRow("9 points") << 9 << 12 << 9;
    QTest::newRow("11 points: 14.67 rounds up") << 11 << 15 << 11;
    QTest::newRow("10 points: 13.33 rounds down") << 10 << 13 << 10;
    QTest::newRow("24 points") << 24 << 32 << 24;
    QTest::newRow("3 points") << 3 << 4 << 3;
    QTest::newRow("0 points still draws") << 0 << 1 << 1;
}

void TestTextView::fontSizeConvertsPointsAndPixels()
{
    QFETCH(int, points);
    QFETCH(int, pixels);
    QFETCH(int, pointsRead);

    TSynEditor view;
    if (view.logicalDpiY() != 96)
        QSKIP("the table is for a 96 dots-per-inch screen");
    view.setFontSize(points);
    QCOMPARE(view.fontHeight(), pixels);
    QCOMPARE(view.fontSize(), pointsRead);
}

void TestTextView::loadingWhileScrolledShowsNewTextFromRowOne()
{
    TSynEditor *view = makeView();
    view->setTextLines({QList<QByteArray>(100, chinese(100)), LineBreak::CR});
    view->setTopRow(120);
    view->setCaretXY({45, 20});
    QCOMPARE(view->topRow(), 120);

    view->setTextLines({{chinese(100), "second"}, LineBreak::LF});
    QCOMPARE(view->topRow(), 1);
    QCOMPARE(view->caretXY(), BufferCoord());
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QCOMPARE(view->lineBreak(), LineBreak::LF);
    const QImage image = view->grab().toImage();
    QCOMPARE(pixel(image, view->viewport()->width() - 1, 0), kActiveBackground);
    QCOMPARE(pixel(image, view->viewport()->width() - 1, 26), kWhite);
    QCOMPARE(pixel(image, view->viewport()->width() - 1, 25), kSilver);
}

void TestTextView::assignedLinesAreACopy()
{
    TSynEditor source;
    source.setTextLines({{"one", "two"}, LineBreak::CRLF});
    TSynEditor *view = makeView();
    view->setTextLines({QList<QByteArray>(100, "x"), LineBreak::CR});
    view->setTopRow(30);
    view->setCaretXY({40, 1});

    view->assignLines(source);
    source.setTextLines({{"changed"}, LineBreak::CRLF});
    QCOMPARE(view->lines(), (QList<QByteArray>{"one", "two"}));
    QCOMPARE(view->topRow(), 1);
    QCOMPARE(view->caretXY(), BufferCoord());

    view->clearLines();
    QVERIFY(view->lines().isEmpty());
    QCOMPARE(view->displayRowCount(), 0);
    const QImage image = view->grab().toImage();
    QCOMPARE(pixel(image, 100, 0), kWhite);
    QCOMPARE(pixel(image, 100, 25), kWhite);
}

void TestTextView::doubleClickRaisesDblClick()
{
    TSynEditor *view = makeView();
    view->setTextLines({{"text"}, LineBreak::CR});
    QSignalSpy spy(view, &TSynEditor::dblClick);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 5));
    QCOMPARE(spy.count(), 1);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    QCOMPARE(spy.count(), 2);
}

void TestTextView::largeTextScrollsToItsLastRow()
{
    // 100,000 lines of 25 characters: about 5 MB. Its speed is measured in bench/.
    TextLines text{QList<QByteArray>(100000, chinese(25)), LineBreak::CRLF};
    text.lines[99999] = "last line";
    TSynEditor *view = makeView();
    view->setTextLines(std::move(text));
    view->setTopRow(view->displayRowCount());
    QCOMPARE(view->displayRowCount(), 100000);
    QCOMPARE(view->topRow(), view->displayRowCount() - view->rowsInWindow() + 1);
    QCOMPARE(view->verticalScrollBar()->value(), view->topRow() - 1);
    QCOMPARE(view->verticalScrollBar()->maximum(), view->topRow() - 1);
}

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"

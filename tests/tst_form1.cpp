#include "Unit1.h"
#include "Unit3.h"

#include "app/fontsubstitutions.h"
#include "app/messagebox.h"
#include "gbk/codec.h"

#include "scratchfolder.h"
#include <QAbstractItemView>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QTest>

namespace {
QByteArray entryText(int index)
{
    return "entry " + QByteArray::number(index);
}

// An anthology of n items in the current folder; entry files exist for the first 190.
void makeAnthology(int items, const QByteArray &currentText = "current text")
{
    QByteArray list;
    for (int i = 0; i < items; ++i) {
        list += "item " + QByteArray::number(i) + "\r\n";
        if (i < 190)
            putFile(QStringLiteral("Data/Odelane/%1.txt").arg(i + 1, 2, 10, QLatin1Char('0')),
                    entryText(i) + "\r\n");
    }
    putFile(QStringLiteral("Data/Odelane/list.txt"), list);
    putFile(QStringLiteral("Tem/00.dat"), currentText);
}
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowHasEveryControlAtItsBox_data();
    void windowHasEveryControlAtItsBox();
    void windowIsFixedWithCaptionAndTabOrder();
    void textViewFontResolvesToAnInstalledMingFace();

    void startUpFillsListAndRestoresCurrentText();
    void missingCurrentTextReportsOnceAndOpensEmpty();
    void missingListReportsAndLoadsNothing();

    void choosingAnEntryWithArrowKeysShowsIt();
    void droppedListSelectsAsTheArrowKeysMove();
    void droppedListShowsTwentyRowsOfTwelvePixels();
    void selectionByProgramLoadsNothing();
    void missingEntryFileKeepsTextAndSelection();
    void backAndForwardStepThroughEntries_data();
    void backAndForwardStepThroughEntries();

    void closeWritesListAndTextBack();
    void closeKeepsTheBreakStyleOfTheLastLoad();
    void closeWithMissingFolderKeepsWindowOpen();
    void listCutShortAtStartUpIsNotWrittenBack();
    void hiddenReadingWindowCopiesTextFontAndBackground();
    void bundledEntryIsShownWrapped();

private:
    std::unique_ptr<ScratchFolder> m_folder;
    QList<app::MessageBoxRequest> m_messages;
};

void TestForm1::initTestCase()
{
    app::registerFontSubstitutions();
    app::setMessageHook([this](const app::MessageBoxRequest &r) { m_messages.append(r); });
}

void TestForm1::init()
{
    m_messages.clear();
    m_folder = std::make_unique<ScratchFolder>();
    QVERIFY(m_folder->isValid());
}

void TestForm1::cleanup()
{
    m_folder.reset();
}

void TestForm1::windowHasEveryControlAtItsBox_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("caption");
    const struct {
        const char *name;
        QRect box;
        const char *caption;
    } rows[] = {
        {"FlatSpeedButton58", {32, 105, 49, 54}, "后退"},
        {"FlatSpeedButton13", {336, 104, 49, 54}, "字颜色"},
        {"FlatSpeedButton12", {288, 104, 49, 54}, "字体"},
        {"FlatSpeedButton11", {232, 104, 49, 54}, "粘贴"},
        {"FlatSpeedButton10", {184, 104, 49, 54}, "复制"},
        {"FlatSpeedButton9", {136, 104, 49, 54}, "剪切"},
        {"FlatSpeedButton1", {384, 104, 49, 54}, "背景色"},
        {"FlatSpeedButton2", {440, 104, 49, 54}, "关于"},
        {"FlatSpeedButton59", {80, 105, 49, 54}, "前进"},
        {"memo3", {32, 184, 473, 409}, nullptr},
        {"Button1", {304, 280, 75, 25}, "Button1"},
        {"listbox1", {32, 161, 321, 20}, nullptr},
        {"Edit4", {292, 603, 121, 18}, nullptr},
        {"SpinEdit1", {360, 161, 49, 21}, nullptr},
        {"FlatButton1", {418, 601, 73, 23}, "查找作者"},
        {"n39", {188, 602, 72, 21}, "双倍行距"},
        {"n38", {105, 602, 78, 21}, "1.5倍行距"},
        {"n33", {28, 602, 72, 21}, "单倍行距"},
        {"Panel1", {24, 16, 489, 83}, nullptr},
        {"n44", {420, 161, 71, 21}, "显示水线"},
        {"Panel2", {8, 8, 25, 97}, nullptr},
        {"Panel3", {32, 8, 465, 17}, nullptr},
        {"Panel4", {488, 8, 41, 97}, nullptr},
        {"Panel5", {32, 92, 465, 10}, nullptr},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.box
                                << (row.caption ? QString::fromUtf8(row.caption) : QString());
}

void TestForm1::windowHasEveryControlAtItsBox()
{
    QFETCH(QString, name);
    QFETCH(QRect, box);
    QFETCH(QString, caption);
    makeAnthology(3);
    TForm1 form;
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &form);
    QCOMPARE(control->geometry(), box);
    if (!caption.isNull())
        QCOMPARE(control->property("text").toString(), caption);
}

void TestForm1::windowIsFixedWithCaptionAndTabOrder()
{
    makeAnthology(3);
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Odelane大典"));
    QCOMPARE(form.size(), QSize(538, 657));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(225, 225, 225));
    QVERIFY(form.Button1->isHidden());
    QCOMPARE(form.SpinEdit1->minimum(), 9);
    QCOMPARE(form.SpinEdit1->maximum(), 24);
    QCOMPARE(form.SpinEdit1->value(), 11);
    QCOMPARE(form.Edit4->toolTip(), QStringLiteral("查找词谱"));
    QCOMPARE(form.listbox1->maxVisibleItems(), 20);
    QCOMPARE(form.Timer1->interval(), 60000);
    QVERIFY(form.Timer1->isActive());
    for (QWidget *tool : {static_cast<QWidget *>(form.FlatSpeedButton58),
                          static_cast<QWidget *>(form.FlatSpeedButton9)})
        QCOMPARE(tool->focusPolicy(), Qt::NoFocus);

    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.memo3);
    // Tab walks the visible controls in their tab order (the hidden Button1 is skipped).
    const QList<QWidget *> order = {form.listbox1,    form.Edit4, form.SpinEdit1,
                                    form.FlatButton1, form.n39,   form.n44};
    for (QWidget *expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (expected == form.n44)
            continue; // the radio group takes one tab stop; n44 follows after it
        QCOMPARE(QApplication::focusWidget(), expected);
    }
    QCOMPARE(QApplication::focusWidget(), form.n44);
}

void TestForm1::textViewFontResolvesToAnInstalledMingFace()
{
    makeAnthology(1);
    TForm1 form;
    QFont font(gbk::toUnicode(form.memo3->fontName()));
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
    QCOMPARE(form.memo3->cellWidth(), 6);
    QCOMPARE(form.memo3->textHeight(), 12);
}

void TestForm1::startUpFillsListAndRestoresCurrentText()
{
    makeAnthology(3, "line one\r\n\xc1\xf8\xd3\xc0\r\n\r\n");
    putFile(QStringLiteral("Data/Odelane/list.txt"), "001 \xc1\xf8\xd3\xc0\r\nb\nc");
    TForm1 form;
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(form.listbox1->count(), 3);
    QCOMPARE(form.listbox1->itemText(0), QStringLiteral("001 柳永"));
    QCOMPARE(form.listbox1->itemIndex(), -1);
    QCOMPARE(form.memo3->lines(), (QList<QByteArray>{"line one", "\xc1\xf8\xd3\xc0"}));
}

void TestForm1::missingCurrentTextReportsOnceAndOpensEmpty()
{
    makeAnthology(3);
    QFile::remove(QStringLiteral("Tem/00.dat"));
    TForm1 form;
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text, QStringLiteral("Cannot open file Tem\\00.dat."));
    QCOMPARE(m_messages[0].caption, QStringLiteral("Odelane"));
    QCOMPARE(m_messages[0].icon, app::MessageIcon::Error);
    QCOMPARE(form.listbox1->count(), 3);
    QVERIFY(form.memo3->lines().isEmpty());
    QCOMPARE(form.memo3->lineSpacingRule(), lsDouble);
    QVERIFY(form.memo3->lineDivider().visible);
    QCOMPARE(form.memo3->fontHeight(), 12);
}

void TestForm1::missingListReportsAndLoadsNothing()
{
    makeAnthology(3);
    QFile::remove(QStringLiteral("Data/Odelane/list.txt"));
    TForm1 form;
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text, QStringLiteral("Cannot open file Data\\Odelane\\list.txt."));
    QCOMPARE(form.listbox1->count(), 0);
    QVERIFY(form.memo3->lines().isEmpty());
}

void TestForm1::choosingAnEntryWithArrowKeysShowsIt()
{
    makeAnthology(3);
    TForm1 form;
    form.show();
    form.listbox1->setFocus();
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QCOMPARE(form.listbox1->itemIndex(), 0);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(0)});
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QCOMPARE(form.listbox1->itemIndex(), 1);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(1)});
    QVERIFY(m_messages.isEmpty());
}

void TestForm1::droppedListSelectsAsTheArrowKeysMove()
{
    makeAnthology(30);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.listbox1->setFocus();
    form.listbox1->showPopup();
    QAbstractItemView *list = form.listbox1->view();
    QTRY_VERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(form.listbox1->itemIndex(), 0);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(0)});
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(form.listbox1->itemIndex(), 1);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(1)});
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(form.listbox1->itemIndex(), 29);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(29)});
    QTest::keyClick(list, Qt::Key_PageUp);
    QCOMPARE(form.listbox1->itemIndex(), 10);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(9)});
    // Return closes the list on the entry already shown.
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(form.listbox1->itemIndex(), 9);
    QVERIFY(m_messages.isEmpty());
}

void TestForm1::droppedListShowsTwentyRowsOfTwelvePixels()
{
    makeAnthology(190);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.listbox1->showPopup();
    QAbstractItemView *list = form.listbox1->view();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->visualRect(list->model()->index(0, 0)).height(), 12);
    QCOMPARE(list->viewport()->height(), 20 * 12);
    // The list drops below the box, not over it.
    QVERIFY(list->mapToGlobal(QPoint(0, 0)).y() >=
            form.listbox1->mapToGlobal(QPoint(0, form.listbox1->height())).y());
    form.listbox1->hidePopup();
}

void TestForm1::selectionByProgramLoadsNothing()
{
    makeAnthology(5);
    TForm1 form;
    form.listbox1->setItemIndex(3);
    QCOMPARE(form.listbox1->itemIndex(), 3);
    form.listbox1->setItemIndex(7);
    QCOMPARE(form.listbox1->itemIndex(), -1);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{"current text"});
}

void TestForm1::missingEntryFileKeepsTextAndSelection()
{
    makeAnthology(8);
    QFile::remove(QStringLiteral("Data/Odelane/07.txt"));
    TForm1 form;
    form.show();
    form.listbox1->setFocus();
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(form.listbox1, Qt::Key_Down);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text, QStringLiteral("Cannot open file data\\Odelane\\07.txt."));
    QCOMPARE(form.listbox1->itemIndex(), 6);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{entryText(5)});
}

void TestForm1::backAndForwardStepThroughEntries_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("shown"); // entry shown afterwards, -1: the text is unchanged
    QTest::newRow("back from the middle") << 5 << 3 << false << 2 << 2;
    QTest::newRow("back from the first") << 5 << 0 << false << -1 << -1;
    QTest::newRow("back without selection") << 5 << -1 << false << -1 << -1;
    QTest::newRow("forward from the middle") << 5 << 2 << true << 3 << 3;
    QTest::newRow("forward from the last") << 5 << 4 << true << -1 << -1;
    QTest::newRow("forward without selection") << 5 << -1 << true << 0 << 0;
    QTest::newRow("empty list, back") << 0 << -1 << false << -1 << -1;
    QTest::newRow("empty list, forward") << 0 << -1 << true << -1 << -1;
    QTest::newRow("back beyond the anthology") << 195 << 192 << false << 191 << -1;
    QTest::newRow("back into the anthology") << 195 << 190 << false << 189 << 189;
    QTest::newRow("forward beyond the anthology") << 195 << 189 << true << 190 << -1;
}

void TestForm1::backAndForwardStepThroughEntries()
{
    QFETCH(int, items);
    QFETCH(int, before);
    QFETCH(bool, forward);
    QFETCH(int, after);
    QFETCH(int, shown);
    makeAnthology(items);
    TForm1 form;
    form.listbox1->setItemIndex(before);
    QCOMPARE(form.listbox1->itemIndex(), before);
    QTest::mouseClick(forward ? form.FlatSpeedButton59 : form.FlatSpeedButton58, Qt::LeftButton);
    QCOMPARE(form.listbox1->itemIndex(), after);
    const QByteArray expected = shown < 0 ? QByteArray("current text") : entryText(shown);
    QCOMPARE(form.memo3->lines(), QList<QByteArray>{expected});
    QVERIFY(m_messages.isEmpty());
}

void TestForm1::closeWritesListAndTextBack()
{
    makeAnthology(2);
    putFile(QStringLiteral("Data/Odelane/list.txt"), "a\nb");
    TForm1 form;
    form.show();
    form.memo3->setTextLines({{"abc"}, LineBreak::CRLF});
    QVERIFY(form.close());
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(fileBytes(QStringLiteral("Data/Odelane/list.txt")), QByteArray("a\r\nb\r\n"));
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("abc"));
}

void TestForm1::closeKeepsTheBreakStyleOfTheLastLoad()
{
    makeAnthology(2);
    putFile(QStringLiteral("Data/Odelane/02.txt"), "one\ntwo\n\n  \n");
    TForm1 form;
    form.show();
    form.listbox1->setFocus();
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QVERIFY(form.close());
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("one\ntwo"));
}

void TestForm1::closeWithMissingFolderKeepsWindowOpen()
{
    makeAnthology(2);
    putFile(QStringLiteral("Data/Odelane/list.txt"), "a\nb");
    TForm1 form;
    form.show();
    QVERIFY(QDir(QStringLiteral("Tem")).removeRecursively());
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].text, QStringLiteral("Cannot create file Tem\\00.dat."));
    QCOMPARE(fileBytes(QStringLiteral("Data/Odelane/list.txt")), QByteArray("a\r\nb\r\n"));

    // With the cause removed, the next close writes everything and ends.
    QVERIFY(QDir().mkdir(QStringLiteral("Tem")));
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("current text"));
    QCOMPARE(m_messages.size(), 1);
}

void TestForm1::listCutShortAtStartUpIsNotWrittenBack()
{
    makeAnthology(2);
    const QByteArray list("a\r\nb\0c\r\n", 8);
    putFile(QStringLiteral("Data/Odelane/list.txt"), list);
    TForm1 form;
    QCOMPARE(form.listbox1->count(), 2);
    form.show();
    QVERIFY(form.close());
    QCOMPARE(fileBytes(QStringLiteral("Data/Odelane/list.txt")), list);
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("current text"));
}

void TestForm1::hiddenReadingWindowCopiesTextFontAndBackground()
{
    makeAnthology(1, "a\r\nb");
    TForm1 form;
    Form1 = &form;
    form.memo3->setFontName("\xba\xda\xcc\xe5"); // 黑体
    form.memo3->setFontSize(14);
    form.memo3->setFontColor(0x0000FF);
    form.memo3->setColor(0x00CCDDEE);
    form.memo3->setLineSpacingRule(lsSingle);
    form.memo3->setLineDividerVisible(false);
    TForm3 reader;
    Form1 = nullptr;
    QVERIFY(!reader.isVisible());
    QCOMPARE(reader.windowTitle(), QStringLiteral("Odelane阅读"));
    QCOMPARE(reader.memo3->lines(), (QList<QByteArray>{"a", "b"}));
    QCOMPARE(reader.memo3->fontName(), QByteArray("\xba\xda\xcc\xe5"));
    QCOMPARE(reader.memo3->fontSize(), 14);
    QCOMPARE(reader.memo3->color(), 0x00CCDDEE);
    // Everything else comes from the reading window's own description.
    QCOMPARE(reader.memo3->fontColor(), clWindowText);
    QCOMPARE(reader.memo3->lineSpacingRule(), lsDouble);
    QVERIFY(reader.memo3->lineDivider().visible);
    // A copy, not a shared list.
    form.memo3->clearLines();
    QCOMPARE(reader.memo3->lines().size(), 2);
}

void TestForm1::bundledEntryIsShownWrapped()
{
    // A copy of the bundled anthology, as the run command makes it.
    const QDir source(QStringLiteral(ODELANE_DATA));
    for (const QString &name :
         {QStringLiteral("Data/Odelane/list.txt"), QStringLiteral("Data/Odelane/02.txt"),
          QStringLiteral("Tem/00.dat")}) {
        QDir().mkpath(QFileInfo(name).path());
        QVERIFY(QFile::copy(source.filePath(name), name));
    }
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(form.listbox1->count(), 190);
    QVERIFY(form.memo3->displayRowCount() > form.memo3->lines().size());

    form.listbox1->setFocus();
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QTest::keyClick(form.listbox1, Qt::Key_Down);
    QCOMPARE(form.listbox1->itemIndex(), 1);
    QCOMPARE(form.listbox1->currentText(), QStringLiteral("002 柳永"));
    QCOMPARE(form.memo3->lines().first(), QByteArray("\xc1\xf8\xd3\xc0"));
    // The biography line is far longer than a row of 75 bytes.
    QCOMPARE(form.memo3->columnsPerRow(), 75);
    QVERIFY(form.memo3->lines().at(1).size() > 150);
    QVERIFY(form.memo3->displayRowCount() > form.memo3->lines().size());
    const QImage image = form.grab().toImage();
    if (qEnvironmentVariableIsSet("ODELANE_TEST_GRAB"))
        image.save(qEnvironmentVariable("ODELANE_TEST_GRAB"));
    // The view shows text: dark pixels inside its box on its first rows.
    int dark = 0;
    for (int y = 184; y < 184 + 60; ++y)
        for (int x = 34; x < 32 + 450; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY(dark > 100);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"

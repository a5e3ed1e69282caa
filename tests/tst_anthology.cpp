#include "anthology/entries.h"
#include "anthology/paths.h"
#include "anthology/poettable.h"
#include "anthology/textfiles.h"
#include "app/errors.h"
#include "gbk/codec.h"

#include "scratchfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(LineBreak)

namespace {
QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const app::Error &error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}
} // namespace

class TestAnthology : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void entryListSplitsAtEveryBreakAndStopsAtNul_data();
    void entryListSplitsAtEveryBreakAndStopsAtNul();
    void entryListIsSavedWithCrLfAfterEveryItem();

    void textSplitsDropsTrailingBlanksAndFindsStyle_data();
    void textSplitsDropsTrailingBlanksAndFindsStyle();
    void textIsSavedInItsStyleWithoutFinalBreak_data();
    void textIsSavedInItsStyleWithoutFinalBreak();

    void entryFileNameHasAtLeastTwoDigits_data();
    void entryFileNameHasAtLeastTwoDigits();

    void windowsNamesReachFilesWhateverTheirCase();
    void missingFileIsReportedByItsWindowsName();
    void writeReplacesTheFileWhole();
    void writeIntoMissingFolderCannotCreate();
    void writeOverReadOnlyFileCannotCreateAndKeepsIt();
    void failedWriteLeavesOldFileWhole();

    void bundledAnthologyHasEveryEntryInGbk();

private:
    std::unique_ptr<ScratchFolder> m_folder;
};

void TestAnthology::init()
{
    m_folder = std::make_unique<ScratchFolder>();
    QVERIFY(m_folder->isValid());
}

void TestAnthology::cleanup()
{
    m_folder.reset();
}

void TestAnthology::entryListSplitsAtEveryBreakAndStopsAtNul_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("items");
    QTest::addColumn<bool>("cut");
    using L = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << L{} << false;
    QTest::newRow("CR") << QByteArray("a\rb") << L{"a", "b"} << false;
    QTest::newRow("LF") << QByteArray("a\nb") << L{"a", "b"} << false;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"} << false;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << L{"a", "", "b"} << false;
    QTest::newRow("final break adds nothing") << QByteArray("a\n") << L{"a"} << false;
    QTest::newRow("empty line inside") << QByteArray("a\r\n\r\nb") << L{"a", "", "b"} << false;
    QTest::newRow("NUL ends the list") << QByteArray("a\r\nb\0c\r\nd", 9) << L{"a", "b"} << true;
    QTest::newRow("NUL at the start") << QByteArray("\0a", 2) << L{} << true;
    QTest::newRow("GBK bytes kept")
        << QByteArray("001 \xc1\xf8\xd3\xc0\r\n") << L{"001 \xc1\xf8\xd3\xc0"} << false;
}

void TestAnthology::entryListSplitsAtEveryBreakAndStopsAtNul()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, items);
    QFETCH(bool, cut);
    bool cutByNul = !cut;
    QCOMPARE(anthology::splitEntryList(bytes, &cutByNul), items);
    QCOMPARE(cutByNul, cut);
}

void TestAnthology::entryListIsSavedWithCrLfAfterEveryItem()
{
    QCOMPARE(anthology::joinEntryList(anthology::splitEntryList("a\nb")), QByteArray("a\r\nb\r\n"));
    QCOMPARE(anthology::joinEntryList({}), QByteArray());
    QCOMPARE(anthology::joinEntryList({"", "x"}), QByteArray("\r\nx\r\n"));
}

void TestAnthology::textSplitsDropsTrailingBlanksAndFindsStyle_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<LineBreak>("style");
    using L = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << L{} << LineBreak::CRLF;
    QTest::newRow("one line") << QByteArray("abc") << L{"abc"} << LineBreak::CRLF;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << L{"a", "b"} << LineBreak::CR;
    QTest::newRow("LF only") << QByteArray("a\nb") << L{"a", "b"} << LineBreak::LF;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"} << LineBreak::CRLF;
    QTest::newRow("mixed gives CR LF")
        << QByteArray("a\rb\nc") << L{"a", "b", "c"} << LineBreak::CRLF;
    QTest::newRow("LF CR leaves an empty line")
        << QByteArray("a\n\rb") << L{"a", "", "b"} << LineBreak::CRLF;
    QTest::newRow("trailing blank lines dropped")
        << QByteArray("a\r\n\r\nb\r\n\r\n\r\n   \t\r\n") << L{"a", "", "b"} << LineBreak::CRLF;
    QTest::newRow("control bytes are blank")
        << QByteArray("a\n\x01\x1f \n", 6) << L{"a"} << LineBreak::LF;
    QTest::newRow("full-width space is not blank")
        << QByteArray("a\r\n\xa1\xa1\r\n") << L{"a", "\xa1\xa1"} << LineBreak::CRLF;
    QTest::newRow("only blanks") << QByteArray(" \r\n\r\n") << L{} << LineBreak::CRLF;
    QTest::newRow("NUL is ordinary")
        << QByteArray("a\0b\nc", 5) << L{QByteArray("a\0b", 3), "c"} << LineBreak::LF;
}

void TestAnthology::textSplitsDropsTrailingBlanksAndFindsStyle()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(LineBreak, style);
    const TextLines text = anthology::splitText(bytes);
    QCOMPARE(text.lines, lines);
    QCOMPARE(text.lineBreak, style);
}

void TestAnthology::textIsSavedInItsStyleWithoutFinalBreak_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<LineBreak>("style");
    QTest::addColumn<QByteArray>("bytes");
    using L = QList<QByteArray>;
    QTest::newRow("abc is three bytes") << L{"abc"} << LineBreak::CRLF << QByteArray("abc");
    QTest::newRow("empty view is empty") << L{} << LineBreak::CR << QByteArray();
    QTest::newRow("CR LF") << L{"a", "", "b"} << LineBreak::CRLF << QByteArray("a\r\n\r\nb");
    QTest::newRow("LF") << L{"a", "b"} << LineBreak::LF << QByteArray("a\nb");
    QTest::newRow("CR") << L{"a", "b"} << LineBreak::CR << QByteArray("a\rb");
}

void TestAnthology::textIsSavedInItsStyleWithoutFinalBreak()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(LineBreak, style);
    QFETCH(QByteArray, bytes);
    QCOMPARE(anthology::joinText({lines, style}), bytes);
}

void TestAnthology::entryFileNameHasAtLeastTwoDigits_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << QStringLiteral("data\\Odelane\\01.txt");
    QTest::newRow("6") << 6 << QStringLiteral("data\\Odelane\\07.txt");
    QTest::newRow("98") << 98 << QStringLiteral("data\\Odelane\\99.txt");
    QTest::newRow("99") << 99 << QStringLiteral("data\\Odelane\\100.txt");
    QTest::newRow("189") << 189 << QStringLiteral("data\\Odelane\\190.txt");
    QTest::newRow("-1") << -1 << QString();
    QTest::newRow("190") << 190 << QString();
}

void TestAnthology::entryFileNameHasAtLeastTwoDigits()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QCOMPARE(anthology::entryFileName(index), name);
}

void TestAnthology::windowsNamesReachFilesWhateverTheirCase()
{
    putFile(QStringLiteral("Data/Odelane/07.txt"), "seven");
    putFile(QStringLiteral("Data/Odelane/list.txt"), "list");
    QCOMPARE(anthology::readFile(QStringLiteral("data\\Odelane\\07.txt")), QByteArray("seven"));
    QCOMPARE(anthology::readFile(QStringLiteral("DATA\\odelane\\LIST.TXT")), QByteArray("list"));
    // A file still to be written keeps its name as given, inside the folder found.
    QCOMPARE(anthology::resolvePath(QStringLiteral("data\\Odelane\\New.txt")),
             QDir::currentPath() + QStringLiteral("/Data/Odelane/New.txt"));
    // A name that exists as written is taken as written.
    putFile(QStringLiteral("data/x.txt"), "lower");
    QCOMPARE(anthology::readFile(QStringLiteral("data\\x.txt")), QByteArray("lower"));
}

void TestAnthology::missingFileIsReportedByItsWindowsName()
{
    QCOMPARE(errorOf([] { anthology::readFile(QStringLiteral("data\\Odelane\\07.txt")); }),
             QStringLiteral("Cannot open file data\\Odelane\\07.txt"));
}

void TestAnthology::writeReplacesTheFileWhole()
{
    putFile(QStringLiteral("Tem/00.dat"), "a much longer old text");
    anthology::writeFile(QStringLiteral("Tem\\00.dat"), "new");
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("new"));
    QCOMPARE(QDir(QStringLiteral("Tem")).entryList(QDir::Files), QStringList{"00.dat"});
}

void TestAnthology::writeIntoMissingFolderCannotCreate()
{
    QCOMPARE(errorOf([] { anthology::writeFile(QStringLiteral("Tem\\00.dat"), "x"); }),
             QStringLiteral("Cannot create file Tem\\00.dat"));
    QVERIFY(!QFileInfo::exists(QStringLiteral("Tem")));
}

void TestAnthology::writeOverReadOnlyFileCannotCreateAndKeepsIt()
{
    putFile(QStringLiteral("Tem/00.dat"), "old");
    QFile::setPermissions(QStringLiteral("Tem/00.dat"), QFile::ReadOwner);
    QCOMPARE(errorOf([] { anthology::writeFile(QStringLiteral("Tem\\00.dat"), "new"); }),
             QStringLiteral("Cannot create file Tem\\00.dat"));
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("old"));
}

void TestAnthology::failedWriteLeavesOldFileWhole()
{
    putFile(QStringLiteral("Tem/00.dat"), "old text");
    // A file size limit makes the write stop short, as a full disk would, even for root.
    struct rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = errorOf(
        [] { anthology::writeFile(QStringLiteral("Tem\\00.dat"), QByteArray(100000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(message, QStringLiteral("Stream write error"));
    QCOMPARE(fileBytes(QStringLiteral("Tem/00.dat")), QByteArray("old text"));
    QCOMPARE(QDir(QStringLiteral("Tem")).entryList(QDir::Files), QStringList{"00.dat"});
}

void TestAnthology::bundledAnthologyHasEveryEntryInGbk()
{
    QDir::setCurrent(QStringLiteral(ODELANE_DATA));
    const QList<QByteArray> items =
        anthology::splitEntryList(anthology::readFile(anthology::kEntryListFileName));
    QCOMPARE(items.size(), anthology::kEntryCount);
    QCOMPARE(anthology::kPoetCount, anthology::kEntryCount);
    for (int i = 0; i < anthology::kEntryCount; ++i) {
        const QByteArray poet = anthology::kPoetNames[i];
        QCOMPARE(items[i], QByteArray::number(i + 1).rightJustified(3, '0') + ' ' + poet);
        const QByteArray bytes = anthology::readFile(anthology::entryFileName(i));
        const TextLines text = anthology::splitText(bytes);
        QCOMPARE(text.lineBreak, LineBreak::CRLF);
        QVERIFY(text.lines.size() > 4);
        QCOMPARE(text.lines.first(), poet);
        for (qsizetype at = 0; at < bytes.size(); at += gbk::charLength(bytes, at)) {
            const QByteArrayView character(bytes.constData() + at, gbk::charLength(bytes, at));
            if (!gbk::isValidChar(character))
                QFAIL(
                    qPrintable(QStringLiteral("entry %1: invalid GBK at byte %2").arg(i).arg(at)));
        }
    }
    const TextLines welcome =
        anthology::splitText(anthology::readFile(anthology::kCurrentTextFileName));
    QVERIFY(!welcome.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestAnthology)
#include "tst_anthology.moc"

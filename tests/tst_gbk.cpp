#include "gbk/codec.h"

#include <QTest>

class TestGbk : public QObject {
    Q_OBJECT
private slots:
    void convertsBothWays_data();
    void convertsBothWays();
    void unmappableCharacterBecomesQuestionMark();
    void validityOfCharacters_data();
    void validityOfCharacters();
    void charLengthNeverRunsPastTheEnd();
};

void TestGbk::convertsBothWays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("abc 123") << QStringLiteral("abc 123");
    QTest::newRow("poet") << QByteArray("\xc1\xf8\xd3\xc0") << QStringLiteral("柳永");
    QTest::newRow("middle dot") << QByteArray("\xa1\xa4") << QStringLiteral("·");
    QTest::newRow("full-width space") << QByteArray("\xa1\xa1") << QStringLiteral("\u3000");
    QTest::newRow("missing mark") << QByteArray("\xa1\xf5") << QStringLiteral("□");
}

void TestGbk::convertsBothWays()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(gbk::toUnicode(bytes), text);
    QCOMPARE(gbk::fromUnicode(text), bytes);
}

void TestGbk::unmappableCharacterBecomesQuestionMark()
{
    // An emoji (a surrogate pair) and a Hangul syllable: one "?" each, neighbours intact.
    QCOMPARE(gbk::fromUnicode(QString::fromUtf8("a\xF0\x9F\x98\x80\xEA\xB0\x80"
                                                "b")),
             QByteArray("a??b"));
}

void TestGbk::validityOfCharacters_data()
{
    QTest::addColumn<QByteArray>("character");
    QTest::addColumn<bool>("valid");
    QTest::newRow("letter") << QByteArray("A") << true;
    QTest::newRow("control") << QByteArray("\x01") << true;
    QTest::newRow("hanzi") << QByteArray("\xd3\xc0") << true;
    QTest::newRow("lone lead") << QByteArray("\xd3") << false;
    QTest::newRow("lone 0xff") << QByteArray("\xff") << false;
    QTest::newRow("bad trail") << QByteArray("\xd3\x20") << false;
    QTest::newRow("trail 0x7f") << QByteArray("\xd3\x7f") << false;
    QTest::newRow("user-defined area") << QByteArray("\xaa\xa1") << false;
    QTest::newRow("hanzi after refused ones") << QByteArray("\xc1\xf8") << true;
}

void TestGbk::validityOfCharacters()
{
    QFETCH(QByteArray, character);
    QFETCH(bool, valid);
    QCOMPARE(gbk::isValidChar(character), valid);
}

void TestGbk::charLengthNeverRunsPastTheEnd()
{
    const QByteArray bytes("a\xd3\xc0\xd3");
    QCOMPARE(gbk::charLength(bytes, 0), 1);
    QCOMPARE(gbk::charLength(bytes, 1), 2);
    QCOMPARE(gbk::charLength(bytes, 3), 1);
}

QTEST_APPLESS_MAIN(TestGbk)
#include "tst_gbk.moc"

#include "app/application.h"
#include "app/errors.h"
#include "app/fontsubstitutions.h"
#include "app/messagebox.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestApp : public QObject {
    Q_OBJECT
private slots:
    void fullStopFollowsTheLastCharacter_data();
    void fullStopFollowsTheLastCharacter();
    void errorInAHandlerIsReportedAndTheProgramGoesOn();
    void errorBoxHasCaptionIconAndOneOkButton();
    void windowsFaceNamesResolveToInstalledFaces_data();
    void windowsFaceNamesResolveToInstalledFaces();
};

void TestApp::fullStopFollowsTheLastCharacter_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QStringLiteral("Cannot open file Tem\\00.dat")
                            << QStringLiteral("Cannot open file Tem\\00.dat.");
    QTest::newRow("ends in a full stop") << QStringLiteral("Clipboard paste operation failed.")
                                         << QStringLiteral("Clipboard paste operation failed.");
    QTest::newRow("ends in a comma") << QStringLiteral("a,") << QStringLiteral("a,");
    QTest::newRow("ends in a slash") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("ends in a Chinese character") << QStringLiteral("错") << QStringLiteral("错.");
    QTest::newRow("empty") << QString() << QString();
}

void TestApp::fullStopFollowsTheLastCharacter()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(app::errorText(message), shown);
}

void TestApp::errorInAHandlerIsReportedAndTheProgramGoesOn()
{
    QList<app::MessageBoxRequest> seen;
    app::setMessageHook([&](const app::MessageBoxRequest &r) { seen.append(r); });
    QPushButton button;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked,
                     [] { throw app::cannotOpenFile(QStringLiteral("data\\Odelane\\07.txt")); });
    QObject::connect(&button, &QPushButton::pressed, [&] { ++after; });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    app::setMessageHook({});
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].text, QStringLiteral("Cannot open file data\\Odelane\\07.txt."));
    QCOMPARE(seen[0].caption, QStringLiteral("Odelane"));
    QCOMPARE(seen[0].icon, app::MessageIcon::Error);
    QCOMPARE(after, 2);
}

void TestApp::errorBoxHasCaptionIconAndOneOkButton()
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool okDefault = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        okDefault = box->button(QMessageBox::Ok) != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    app::reportError(app::streamWriteError());
    QCOMPARE(caption, QStringLiteral("Odelane"));
    QCOMPARE(text, QStringLiteral("Stream write error."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
    QVERIFY(okDefault);
}

void TestApp::windowsFaceNamesResolveToInstalledFaces_data()
{
    QTest::addColumn<QString>("windowsName");
    QTest::addColumn<QString>("face");
    QTest::newRow("新宋体") << QStringLiteral("新宋体") << QStringLiteral("AR PL UMing CN");
    QTest::newRow("宋体") << QStringLiteral("宋体") << QStringLiteral("AR PL UMing CN");
    QTest::newRow("黑体") << QStringLiteral("黑体") << QStringLiteral("WenQuanYi Zen Hei");
    QTest::newRow("Arial") << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
    QTest::newRow("MS Sans Serif")
        << QStringLiteral("MS Sans Serif") << QStringLiteral("Liberation Sans");
}

void TestApp::windowsFaceNamesResolveToInstalledFaces()
{
    QFETCH(QString, windowsName);
    QFETCH(QString, face);
    app::registerFontSubstitutions();
    QFont font(windowsName);
    font.setPixelSize(12);
    QCOMPARE(QFontInfo(font).family(), face);
}

int main(int argc, char **argv)
{
    app::Application application(argc, argv);
    if (QApplication::applicationName() != QStringLiteral("Odelane"))
        return 1;
    TestApp test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app.moc"

#include "host_window_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

using namespace lumetra;
using namespace lumetra::test;

namespace {

const QString channelButtonNames[] = {QStringLiteral("按钮1"),  QStringLiteral("按钮6"),
                                      QStringLiteral("按钮7"),  QStringLiteral("按钮8"),
                                      QStringLiteral("按钮9"),  QStringLiteral("按钮10"),
                                      QStringLiteral("按钮11"), QStringLiteral("按钮12")};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestChannelSend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void channelStep_data();
    void channelStep();
    void notConnectedStillFillsTheClipboard();
    void doubleClickEmptiesTheSendBox();

private:
    QPlainTextEdit *sendBox(HostWindowFixture &fixture) const
    {
        return fixture.control<QPlainTextEdit>(QStringLiteral("编辑框2"));
    }

    std::unique_ptr<HostWindowFixture> m_connected;
};

void TestChannelSend::initTestCase()
{
    m_connected = std::make_unique<HostWindowFixture>();
    QVERIFY(m_connected->connectToLoopbackHost());
    for (int i = 0; i < 8; ++i) {
        QAbstractButton *button = m_connected->button(channelButtonNames[i]);
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("IR%1").arg(i + 1));
    }
}

void TestChannelSend::channelStep_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("sendBoxText");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QString>("escaped");
    QTest::addColumn<QString>("spaced");

    QTest::newRow("IR1 plain code")
        << 1 << "0A1B2C" << QByteArray("\xE3\x0A\x1B\x2C", 4) << "\\xE3\\x0A\\x1B\\x2C"
        << "E3 0A 1B 2C";
    QTest::newRow("IR4 spaces, lower case, odd digit")
        << 4 << "12 ab 3" << QByteArray("\xE6\x12\xAB", 3) << "\\xE6\\x12\\xab"
        << "E6 12 ab";
    QTest::newRow("IR8 empty send box") << 8 << "" << QByteArray("\xEA", 1) << "\\xEA"
                                        << "EA";
    QTest::newRow("IR2 non-hex letter")
        << 2 << "12G4" << QByteArray("\xE4\x12\x04", 3) << "\\xE4\\x12\\xG4"
        << "E4 12 G4";
    QTest::newRow("line break is a pair of value 00")
        << 1 << "1234\n5678" << QByteArray("\xE3\x12\x34\x00\x56\x78", 6)
        << "\\xE3\\x12\\x34\\x\r\n\\x56\\x78"
        << "E3 12 34 \r\n 56 78";
    QTest::newRow("full-width spaces between pairs")
        << 5 << QStringLiteral("0A　1B　　2C") << QByteArray("\xE7\x0A\x1B\x2C", 4)
        << "\\xE7\\x0A\\x1B\\x2C"
        << "E7 0A 1B 2C";
    QTest::newRow("Chinese character converts to 00")
        << 3 << QStringLiteral("中12") << QByteArray("\xE5\x00\x12", 3)
        << QStringLiteral("\\xE5\\x中\\x12") << QStringLiteral("E5 中 12");
}

// Each row is clicked twice, with the copy-code box ticked and then not: two identical
// frames go out, and the clipboard gets the form the box asks for.
void TestChannelSend::channelStep()
{
    QFETCH(int, channel);
    QFETCH(QString, sendBoxText);
    QFETCH(QByteArray, wire);
    QFETCH(QString, escaped);
    QFETCH(QString, spaced);

    HostWindowFixture &fixture = *m_connected;
    auto *copyCode = fixture.control<QCheckBox>(QStringLiteral("选择框1"));
    QAbstractButton *button = fixture.button(channelButtonNames[channel - 1]);
    sendBox(fixture)->setPlainText(sendBoxText);

    copyCode->setChecked(true);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clipboardText(), escaped);
    QCOMPARE(fixture.takeReceivedOnHost(wire.size()), wire);

    copyCode->setChecked(false);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clipboardText(), spaced);
    QCOMPARE(fixture.takeReceivedOnHost(wire.size()), wire);
    QCOMPARE(sendBox(fixture)->toPlainText(), sendBoxText);
}

void TestChannelSend::notConnectedStillFillsTheClipboard()
{
    // A window that was connected and then disconnected by the user.
    HostWindowFixture fixture;
    QVERIFY(fixture.connectToLoopbackHost());
    fixture.disconnectFromHost();
    QCOMPARE(fixture.connectCaption(), QStringLiteral("连接"));
    QVERIFY(fixture.waitForHostToSeeClose());

    QVERIFY(fixture.control<QCheckBox>(QStringLiteral("选择框1"))->isChecked());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    sendBox(fixture)->setPlainText(QStringLiteral("0A1B"));
    QTest::mouseClick(fixture.button(channelButtonNames[1]), Qt::LeftButton);
    QCOMPARE(clipboardText(), QStringLiteral("\\xE4\\x0A\\x1B"));
    QCOMPARE(fixture.receivedOnHost(), QByteArray());

    // Never connected at all: the same.
    HostWindowFixture fresh;
    sendBox(fresh)->setPlainText(QStringLiteral("12"));
    QTest::mouseClick(fresh.button(channelButtonNames[7]), Qt::LeftButton);
    QCOMPARE(clipboardText(), QStringLiteral("\\xEA\\x12"));
}

void TestChannelSend::doubleClickEmptiesTheSendBox()
{
    HostWindowFixture &fixture = *m_connected;
    QPlainTextEdit *box = sendBox(fixture);
    box->setPlainText(QStringLiteral("0A1B2C"));
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(box->toPlainText(), QString());

    QTest::mouseClick(fixture.button(channelButtonNames[2]), Qt::LeftButton);
    QCOMPARE(fixture.takeReceivedOnHost(1), QByteArray("\xE5", 1));
}

QTEST_MAIN(TestChannelSend)
#include "tst_channel_send.moc"

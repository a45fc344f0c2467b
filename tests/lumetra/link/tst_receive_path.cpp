#include "../codec/host_window_fixture.h"

#include "link/receive_path.h"
#include "link/receive_view.h"

#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>

using namespace lumetra;
using namespace lumetra::test;

namespace {

ReceiveView *receiveBox(const HostWindowFixture &fixture)
{
    return fixture.control<ReceiveView>(QStringLiteral("编辑框1"));
}

const QString connectedStatus = QStringLiteral("状态：连接主机127.0.0.1成功！");

} // namespace

class TestReceivePath : public QObject
{
    Q_OBJECT

private slots:
    void learnButtons();
    void learnButtonsWithoutALink();
    void arrivals_data();
    void arrivals();
    void singleByteOtherThan00IsDropped();
    void learnAndSendWithTheSimulator();
};

void TestReceivePath::learnButtons()
{
    HostWindowFixture fixture;
    QVERIFY(fixture.connectToLoopbackHost());
    ReceiveView *box = receiveBox(fixture);

    box->setPlainText(QStringLiteral("12\n34"));
    QCOMPARE(fixture.window().receivePath()->receivedText(), QByteArray("12\r\n34"));
    QTest::mouseClick(fixture.button(QStringLiteral("按钮3")), Qt::LeftButton);
    QCOMPARE(fixture.takeReceivedOnHost(1), QByteArray("\xE2", 1));
    QCOMPARE(box->toPlainText(), QStringLiteral("12\n34"));

    QTest::mouseClick(fixture.button(QStringLiteral("按钮5")), Qt::LeftButton);
    QCOMPARE(box->toPlainText(), QString());

    box->setPlainText(QStringLiteral("AABB"));
    QTest::mouseClick(fixture.button(QStringLiteral("按钮2")), Qt::LeftButton);
    QCOMPARE(box->toPlainText(), QString());
    // "清空接收" sent nothing: the learning start command is the very next byte.
    QCOMPARE(fixture.takeReceivedOnHost(1), QByteArray("\xE0", 1));
}

void TestReceivePath::learnButtonsWithoutALink()
{
    HostWindowFixture fixture;
    ReceiveView *box = receiveBox(fixture);
    box->setPlainText(QStringLiteral("AABB"));
    QTest::mouseClick(fixture.button(QStringLiteral("按钮2")), Qt::LeftButton);
    QCOMPARE(box->toPlainText(), QString());
    QTest::mouseClick(fixture.button(QStringLiteral("按钮3")), Qt::LeftButton);
    QCOMPARE(fixture.status(), QStringLiteral("状态：软件准备就绪"));
}

void TestReceivePath::arrivals_data()
{
    QTest::addColumn<QString>("boxBefore");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QList<QByteArray>>("fragments");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QString>("statusAfter");

    QTest::newRow("fragments join up")
        << "" << 0 << QList<QByteArray>{"\x01\x02", "\x03\x04"} << "01020304" << connectedStatus;
    QTest::newRow("three bytes ending in 00 are data")
        << "" << 0 << QList<QByteArray>{QByteArray("\x12\xAB\x00", 3)} << "12AB00"
        << connectedStatus;
    QTest::newRow("two bytes starting with 00 are data")
        << "" << 0 << QList<QByteArray>{QByteArray("\x00\x01", 2)} << "0001" << connectedStatus;
    QTest::newRow("acknowledgement before any channel click")
        << "" << 0 << QList<QByteArray>{QByteArray(1, '\0')} << ""
        << QStringLiteral("操作状态：送成功！");
    QTest::newRow("acknowledgement after IR3") << "" << 3 << QList<QByteArray>{QByteArray(1, '\0')}
                                               << "" << QStringLiteral("操作状态：IR3送成功！");
    QTest::newRow("appended after what the user typed, caret in the middle")
        << "AB" << 0 << QList<QByteArray>{"\x12\x34"} << "AB1234" << connectedStatus;
}

void TestReceivePath::arrivals()
{
    QFETCH(QString, boxBefore);
    QFETCH(int, channel);
    QFETCH(QList<QByteArray>, fragments);
    QFETCH(QString, boxAfter);
    QFETCH(QString, statusAfter);

    HostWindowFixture fixture;
    QVERIFY(fixture.connectToLoopbackHost());
    QCOMPARE(fixture.status(), connectedStatus);
    ReceiveView *box = receiveBox(fixture);
    box->setPlainText(boxBefore);
    box->setCursorPosition(1);
    if (channel != 0) {
        static const QString names[] = {QStringLiteral("按钮1"), QStringLiteral("按钮6"),
                                        QStringLiteral("按钮7")};
        QTest::mouseClick(fixture.button(names[channel - 1]), Qt::LeftButton);
        QCOMPARE(fixture.takeReceivedOnHost(1).size(), 1);
    }

    // Each fragment is its own arrival: the next goes out once the window has shown this one.
    for (const QByteArray &fragment : fragments) {
        const QString textBefore = box->toPlainText();
        const QString statusBefore = fixture.status();
        fixture.hostSends(fragment);
        QTRY_VERIFY(box->toPlainText() != textBefore || fixture.status() != statusBefore);
    }
    QCOMPARE(box->toPlainText(), boxAfter);
    QCOMPARE(fixture.status(), statusAfter);
}

// One byte other than 00 leaves no trace. Over a socket it could not be told apart from a
// byte that never came, so it is handed to the window as the link hands over an arrival.
void TestReceivePath::singleByteOtherThan00IsDropped()
{
    HostWindowFixture fixture;
    ReceiveView *box = receiveBox(fixture);
    box->setPlainText(QStringLiteral("AB"));
    emit fixture.window().hostLink()->dataArrived(QByteArray("\x5A", 1));
    QCOMPARE(box->toPlainText(), QStringLiteral("AB"));
    QCOMPARE(fixture.status(), QStringLiteral("状态：软件准备就绪"));

    emit fixture.window().hostLink()->dataArrived(QByteArray(1, '\0'));
    QCOMPARE(box->toPlainText(), QStringLiteral("AB"));
    QCOMPARE(fixture.status(), QStringLiteral("操作状态：送成功！"));
}

// The whole way with the real simulator: learn, the code comes in two fragments and reads as
// one, it goes out again on IR3, and the acknowledgement shows.
void TestReceivePath::learnAndSendWithTheSimulator()
{
    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::SeparateChannels);
    simulator.start(QStringLiteral(HOSTSIM_PATH),
                    {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                     QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--learn-delay"),
                     QStringLiteral("50")});
    QVERIFY2(simulator.waitForStarted(), qPrintable(simulator.errorString()));
    QString log;
    const auto readLog = [&] {
        log += QString::fromUtf8(simulator.readAllStandardOutput());
        return log;
    };
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QTRY_VERIFY(listening.match(readLog()).hasMatch());
    const auto port = quint16(listening.match(log).captured(1).toUInt());

    HostWindowFixture fixture;
    QVERIFY(fixture.connectToHost(port));
    QTest::mouseClick(fixture.button(QStringLiteral("按钮2")), Qt::LeftButton);

    // What the simulator says it sent, fragment by fragment.
    const QRegularExpression sentLine(QStringLiteral("^sent ([0-9A-F ]+)$"),
                                      QRegularExpression::MultilineOption);
    QStringList fragments;
    QTRY_VERIFY_WITH_TIMEOUT((fragments =
                                  [&] {
                                      QStringList found;
                                      for (const auto &m : sentLine.globalMatch(readLog()))
                                          found << m.captured(1).remove(QLatin1Char(' '));
                                      return found;
                                  }())
                                     .size() == 2,
                             10000);
    const QString code = fragments.join(QString());
    QVERIFY(code.size() > 40);
    ReceiveView *box = receiveBox(fixture);
    QTRY_COMPARE(box->toPlainText(), code);

    auto *sendBox = fixture.control<QPlainTextEdit>(QStringLiteral("编辑框2"));
    sendBox->setPlainText(box->toPlainText());
    QTest::mouseClick(fixture.button(QStringLiteral("按钮7")), Qt::LeftButton);
    QTRY_COMPARE(fixture.status(), QStringLiteral("操作状态：IR3送成功！"));
    QVERIFY(
        readLog().contains(QStringLiteral("channel 3 frame, %1 data bytes").arg(code.size() / 2)));

    simulator.kill();
    simulator.waitForFinished();
}

QTEST_MAIN(TestReceivePath)
#include "tst_receive_path.moc"

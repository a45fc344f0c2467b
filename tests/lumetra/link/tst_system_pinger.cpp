#include "link/pinger.h"

#include <QElapsedTimer>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whether this system lets the process open any ICMP socket at all.
bool icmpSocketAvailable()
{
    for (int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    return false;
}

} // namespace

class TestSystemPinger : public QObject
{
    Q_OBJECT

private slots:
    void loopbackAnswers();
    void unusableAddressGivesNoReply();
};

void TestSystemPinger::loopbackAnswers()
{
    const auto pinger = lumetra::makeSystemPinger();
    QElapsedTimer clock;
    clock.start();
    const int result = pinger->ping(QStringLiteral("127.0.0.1"), 1000);
    QVERIFY(clock.elapsed() < 1500);
    if (icmpSocketAvailable()) {
        QVERIFY2(result >= 0 && result <= 1000, qPrintable(QString::number(result)));
    } else {
        QCOMPARE(result, -1);
    }
}

void TestSystemPinger::unusableAddressGivesNoReply()
{
    const auto pinger = lumetra::makeSystemPinger();
    QCOMPARE(pinger->ping(QString(), 1000), -1);
}

QTEST_APPLESS_MAIN(TestSystemPinger)
#include "tst_system_pinger.moc"

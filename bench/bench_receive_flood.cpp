// A host that floods the link: 1 KiB arrivals through the real window (offscreen), over a
// loopback connection, until the receive box holds everything. Reports the total time and the
// longest stall of the event loop, seen by a 1 ms heartbeat timer.

#include "link/host_link.h"
#include "link/pinger.h"
#include "link/receive_view.h"
#include "window/ipv4_address_edit.h"
#include "window/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using namespace lumetra;

class AnsweringPinger final : public Pinger
{
public:
    int ping(const QString &, int) override { return 1; }
};

struct FloodResult
{
    double totalMs = 0;
    double longestStallMs = 0;
    bool complete = false;
};

FloodResult floodOnce(qsizetype totalBytes, qsizetype chunkBytes)
{
    QTemporaryDir dir;
    WindowServices services;
    services.settingsPath = dir.filePath(QStringLiteral("Lumetra.ini"));
    services.pinger = std::make_shared<AnsweringPinger>();
    MainWindow window(std::move(services));

    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    window.findChild<Ipv4AddressEdit *>(QStringLiteral("IP编辑框1"))
        ->setAddress(QStringLiteral("127.0.0.1"));
    window.findChild<QLineEdit *>(QStringLiteral("主机端口"))
        ->setText(QString::number(server.serverPort()));
    auto *connectButton = window.findChild<QAbstractButton *>(QStringLiteral("连接主机"));
    connectButton->click();
    if (!QTest::qWaitFor([&] { return connectButton->text() == QStringLiteral("断 开"); }) ||
        !(server.hasPendingConnections() || server.waitForNewConnection(5000)))
        return {};
    QTcpSocket *host = server.nextPendingConnection();
    // Without it Nagle's algorithm holds each chunk for the peer's delayed ACK, and the
    // benchmark would time TCP instead of the window.
    host->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    auto *box = window.findChild<ReceiveView *>(QStringLiteral("编辑框1"));

    QByteArray chunk(chunkBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < chunk.size(); ++i)
        chunk[i] = char(i * 37 + 11);

    // The host writes the next chunk once the window has taken the last one, so every
    // arrival is one chunk.
    qsizetype sent = 0;
    const auto sendNext = [&] {
        if (sent < totalBytes) {
            host->write(chunk);
            sent += chunk.size();
        }
    };
    QObject::connect(window.hostLink(), &HostLink::dataArrived, host, sendNext);

    QElapsedTimer clock;
    qint64 lastBeat = 0;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastBeat);
        lastBeat = now;
    });

    clock.start();
    heartbeat.start(1);
    sendNext();
    const qsizetype expectedChars = 2 * totalBytes;
    // A plain event loop: QTest::qWaitFor sleeps between its rounds, which would be timed too.
    QEventLoop loop;
    QObject::connect(box, &ReceiveView::textChanged, &loop, [&] {
        if (box->toPlainText().size() >= expectedChars)
            loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    const bool complete = box->toPlainText().size() >= expectedChars;
    // The last rows are painted before the clock stops.
    box->viewport()->repaint();
    const qint64 total = clock.nsecsElapsed();
    heartbeat.stop();

    return {total / 1e6, longestStall / 1e6,
            complete && box->toPlainText().size() == expectedChars};
}

void BM_ReceiveFlood(benchmark::State &state)
{
    const qsizetype totalBytes = state.range(0) * 1024;
    double longest = 0;
    for (auto _ : state) {
        const FloodResult result = floodOnce(totalBytes, 1024);
        if (!result.complete) {
            state.SkipWithError("the receive box did not get every byte");
            return;
        }
        state.SetIterationTime(result.totalMs / 1000.0);
        longest = std::max(longest, result.longestStallMs);
    }
    state.counters["longest_stall_ms"] = longest;
    state.SetBytesProcessed(state.iterations() * totalBytes);
}

} // namespace

// Total received in KiB; 256 and 1024 together show whether the cost grows linearly.
BENCHMARK(BM_ReceiveFlood)
    ->Arg(256)
    ->Arg(1024)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

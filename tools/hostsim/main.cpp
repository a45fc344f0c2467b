#include "host_simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hostsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays the host controller for the IR learning tool: E0 starts learning "
                       "and a code comes back in two fragments, E2 stops learning, a channel "
                       "frame E3..EA is acknowledged with the byte 00."));
    parser.addHelpOption();
    const QCommandLineOption listenOption(QStringLiteral("listen"),
                                          QStringLiteral("Address to listen on (127.0.0.1)."),
                                          QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Port to listen on; 0 picks a free one (8081)."),
        QStringLiteral("n"), QStringLiteral("8081"));
    const QCommandLineOption noAckOption(QStringLiteral("no-ack"),
                                         QStringLiteral("Do not acknowledge channel frames."));
    const QCommandLineOption closeOption(
        QStringLiteral("close-after-frame"),
        QStringLiteral("Close the connection after the next channel frame."));
    const QCommandLineOption floodOption(
        QStringLiteral("flood"), QStringLiteral("Answer E0 with n bytes instead of the code."),
        QStringLiteral("n"));
    const QCommandLineOption delayOption(
        QStringLiteral("learn-delay"),
        QStringLiteral("Milliseconds from E0 to the learned code (300)."), QStringLiteral("ms"),
        QStringLiteral("300"));
    parser.addOptions(
        {listenOption, portOption, noAckOption, closeOption, floodOption, delayOption});
    parser.process(app);

    QTextStream err(stderr);
    hostsim::Options options;
    if (!options.listenAddress.setAddress(parser.value(listenOption))) {
        err << "hostsim: not an address: " << parser.value(listenOption) << Qt::endl;
        return 2;
    }
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "hostsim: not a port: " << parser.value(portOption) << Qt::endl;
        return 2;
    }
    options.port = static_cast<quint16>(port);
    options.acknowledge = !parser.isSet(noAckOption);
    options.closeAfterNextFrame = parser.isSet(closeOption);
    if (parser.isSet(floodOption)) {
        options.floodBytes = parser.value(floodOption).toLongLong(&ok);
        if (!ok || options.floodBytes < 1) {
            err << "hostsim: not a byte count: " << parser.value(floodOption) << Qt::endl;
            return 2;
        }
    }
    options.learnDelayMs = parser.value(delayOption).toInt(&ok);
    if (!ok || options.learnDelayMs < 0) {
        err << "hostsim: not a delay: " << parser.value(delayOption) << Qt::endl;
        return 2;
    }

    QTextStream out(stdout);
    hostsim::HostSimulator simulator(options, out);
    if (!simulator.listen()) {
        err << "hostsim: cannot listen: " << simulator.errorString() << Qt::endl;
        return 1;
    }
    return app.exec();
}

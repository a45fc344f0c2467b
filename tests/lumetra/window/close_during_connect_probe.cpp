// Opens the main window, starts a connect attempt that cannot finish (the port given on the
// command line belongs to a listener that lets no connection through), closes the window at
// once and ends. Prints how many connect workers were still running at the end.
#include "link/host_link.h"
#include "link/pinger.h"
#include "window/ipv4_address_edit.h"
#include "window/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class SilentPinger final : public lumetra::Pinger
{
public:
    int ping(const QString &, int) override { return -1; }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3)
        return 2;

    int status = 0;
    {
        lumetra::WindowServices services;
        services.settingsPath = arguments.at(1);
        services.pinger = std::make_shared<SilentPinger>();
        lumetra::MainWindow window(services);
        window.findChild<lumetra::Ipv4AddressEdit *>(QStringLiteral("IP编辑框1"))
            ->setAddress(QStringLiteral("127.0.0.1"));
        window.findChild<QLineEdit *>(QStringLiteral("主机端口"))->setText(arguments.at(2));
        window.findChild<QPushButton *>(QStringLiteral("连接主机"))->click();
        QTimer::singleShot(0, &window, &QWidget::close);
        status = app.exec();
    }
    std::printf("%d\n", lumetra::HostLink::runningConnectWorkers());
    return status;
}

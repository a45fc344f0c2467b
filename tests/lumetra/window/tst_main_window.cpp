#include "gbk/gbk_text.h"
#include "link/host_link.h"
#include "link_test_support.h"
#include "window/ipv4_address_edit.h"
#include "window/main_window.h"
#include "window/profile_file.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using lumetra::HostLink;
using lumetra::Ipv4AddressEdit;
using lumetra::MainWindow;
using lumetra::test::HangingListener;
using lumetra::test::ScriptedPinger;

namespace {

constexpr int handDrivenPeriod = 600000;
constexpr int attemptTimeoutMs = 15000;

QByteArray g(const QString &text)
{
    return gbk::fromUnicode(text);
}

const QString learningHint =
    QStringLiteral("学习操作：遥控器与接收头距离为2cm-6cm,面板灯亮表示进入学习状态,"
                   "学习成功后灯灭掉，软件收到数据后拿开遥控器。");

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void controlsCarryTheirDesignNames_data();
    void controlsCarryTheirDesignNames();
    void startsAsDesigned();
    void firstStartWritesHostOnlyAndCloseAddsSize();
    void sizeFromSettings_data();
    void sizeFromSettings();
    void hostValuesRoundTrip_data();
    void hostValuesRoundTrip();
    void resizedWindowReopensAtItsSize();
    void hintAndCopyBoxAboveStatusBar_data();
    void hintAndCopyBoxAboveStatusBar();
    void escapeCloses_data();
    void escapeCloses();
    void draggedByItsClientArea_data();
    void draggedByItsClientArea();
    void connectButtonShowsTheLink();
    void windowClosedDuringAttempt();
    void processEndsCleanlyDuringAttempt();

private:
    std::unique_ptr<MainWindow> openWindow();
    void writeSetting(const char16_t *section, const char *key, const QByteArray &value);
    QByteArray settingsFile() const;
    template<typename T>
    static T *control(const MainWindow &window, const QString &name)
    {
        return window.findChild<T *>(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_settingsPath;
    std::shared_ptr<ScriptedPinger> m_pinger;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settingsPath = m_dir->filePath(QStringLiteral("Lumetra.ini"));
    m_pinger = std::make_shared<ScriptedPinger>();
}

std::unique_ptr<MainWindow> TestMainWindow::openWindow()
{
    lumetra::WindowServices services;
    services.settingsPath = m_settingsPath;
    services.pinger = m_pinger;
    services.livenessPeriodMs = handDrivenPeriod;
    return std::make_unique<MainWindow>(services);
}

void TestMainWindow::writeSetting(const char16_t *section, const char *key, const QByteArray &value)
{
    QVERIFY(lumetra::writeProfileString(m_settingsPath, g(QString::fromUtf16(section)),
                                        g(QString::fromUtf8(key)), value));
}

QByteArray TestMainWindow::settingsFile() const
{
    QFile file(m_settingsPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestMainWindow::controlsCarryTheirDesignNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");

    const auto row = [](const char16_t *name, const char *type, const QString &text) {
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData())
            << QString::fromUtf16(name) << QString::fromLatin1(type) << text;
    };
    row(u"分组框1", "QGroupBox", QStringLiteral("主机IP地址"));
    row(u"透明标签1", "QLabel", QStringLiteral("IP地址"));
    row(u"IP编辑框1", "lumetra::Ipv4AddressEdit", QString());
    row(u"透明标签2", "QLabel", QStringLiteral("端口"));
    row(u"主机端口", "QLineEdit", QStringLiteral("8081"));
    row(u"连接主机", "QPushButton", QStringLiteral("连接"));
    row(u"分组框3", "QGroupBox", QStringLiteral("遥控器"));
    row(u"按钮15", "QPushButton", QStringLiteral("打开"));
    row(u"按钮16", "QPushButton", QStringLiteral("保存"));
    row(u"透明标签4", "QLabel", QStringLiteral("按键"));
    row(u"编辑框3", "QLineEdit", QStringLiteral("Power"));
    row(u"按钮13", "QPushButton", QStringLiteral("修改按键"));
    row(u"按钮14", "QPushButton", QStringLiteral("删除"));
    row(u"超级列表框1", "QTreeWidget", QString());
    row(u"分组框2", "QGroupBox", QString());
    row(u"按钮2", "QPushButton", QStringLiteral("进入学习"));
    row(u"按钮3", "QPushButton", QStringLiteral("停止学习"));
    row(u"按钮5", "QPushButton", QStringLiteral("清空接收"));
    row(u"按钮4", "QPushButton", QStringLiteral("加入码库"));
    row(u"按钮17", "QPushButton", QStringLiteral("替换选中"));
    row(u"编辑框1", "QAbstractScrollArea", QString());
    row(u"透明标签3", "QLabel", QString());
    row(u"透明标签6", "QLabel", QStringLiteral("发送测试"));
    row(u"按钮1", "QPushButton", QStringLiteral("IR1"));
    const char16_t *channels[] = {u"按钮6",  u"按钮7",  u"按钮8", u"按钮9",
                                  u"按钮10", u"按钮11", u"按钮12"};
    for (int i = 0; i < 7; ++i)
        row(channels[i], "QPushButton", QStringLiteral("IR%1").arg(i + 2));
    row(u"编辑框2", "QPlainTextEdit", QString());
    row(u"透明标签5", "QLabel",
        QStringLiteral("提示：将上面窗口收到的红外数据复制到下面发送框,点击从某路发送。"));
    row(u"选择框1", "QCheckBox", QStringLiteral("复制中控码"));
    row(u"状态条1", "QStatusBar", QString());
    row(u"statusPart0", "QLabel", QStringLiteral("状态：软件准备就绪"));
    row(u"statusPart1", "QLabel", learningHint);
}

void TestMainWindow::controlsCarryTheirDesignNames()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, text);

    const auto window = openWindow();
    const QList<QWidget *> found = window->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QWidget *widget = found.first();
    QVERIFY2(widget->inherits(type.toLatin1().constData()), widget->metaObject()->className());
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(group->title(), text);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(edit->text(), text);
    else if (auto *box = qobject_cast<QPlainTextEdit *>(widget))
        QCOMPARE(box->toPlainText(), text);
}

void TestMainWindow::startsAsDesigned()
{
    const auto window = openWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Lumetra_V2.2"));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window->windowFlags() & Qt::WindowSystemMenuHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->focusWidget(), control<QPushButton>(*window, QStringLiteral("连接主机")));

    auto *copyBox = control<QCheckBox>(*window, QStringLiteral("选择框1"));
    QVERIFY(copyBox->isChecked());
    QCOMPARE(copyBox->palette().color(copyBox->foregroundRole()), QColor(Qt::red));
    QCOMPARE(copyBox->toolTip(),
             QStringLiteral("此项选中，点击从某路发送红外后将自动复制中控命令到粘贴板，"
                            "粘贴到你需要的地方即可使用。"));

    for (const char16_t *name : {u"编辑框1", u"编辑框2"})
        QCOMPARE(control<QWidget>(*window, QString::fromUtf16(name))->font().pixelSize(), 14);
    QCOMPARE(control<QLabel>(*window, QStringLiteral("statusPart0"))->width(), 200);

    const QImage icon = window->windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            colours.insert(icon.pixel(x, y));
    QVERIFY(colours.size() > 2);
    QVERIFY(colours.size() <= 16);

    QCOMPARE(window->hostLink()->livenessPeriod(), 0);
    QCOMPARE(lumetra::WindowServices().livenessPeriodMs, 3000);
}

void TestMainWindow::firstStartWritesHostOnlyAndCloseAddsSize()
{
    QVERIFY(!QFile::exists(m_settingsPath));
    auto window = openWindow();
    const QString address =
        control<Ipv4AddressEdit>(*window, QStringLiteral("IP编辑框1"))->address();
    QVERIFY(!address.isEmpty());
    QCOMPARE(
        settingsFile(),
        g(QStringLiteral("[主机IP地址]\r\nIP=%1\r\n[主机端口]\r\nPort=8081\r\n").arg(address)));
    QCOMPARE(window->size(), QSize(476, 543));

    window->close();
    QCOMPARE(settingsFile(), g(QStringLiteral("[主机IP地址]\r\nIP=%1\r\n[主机端口]\r\nPort=8081\r\n"
                                              "[启动窗口]\r\n宽度=476\r\n高度=543\r\n")
                                   .arg(address)));
}

void TestMainWindow::sizeFromSettings_data()
{
    QTest::addColumn<QByteArray>("width");
    QTest::addColumn<QByteArray>("height");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("zero width") << QByteArray("0") << QByteArray("600") << QSize(476, 600);
    QTest::newRow("width not a number")
        << QByteArray("abc") << QByteArray("abc") << QSize(476, 543);
    QTest::newRow("numbers") << QByteArray("800") << QByteArray("640") << QSize(800, 640);
    QTest::newRow("full-width digits and blanks")
        << g(QStringLiteral("　８００")) << QByteArray("  +700px") << QSize(800, 700);
    QTest::newRow("missing keys") << QByteArray() << QByteArray() << QSize(476, 543);
}

void TestMainWindow::sizeFromSettings()
{
    QFETCH(QByteArray, width);
    QFETCH(QByteArray, height);
    QFETCH(QSize, expected);

    if (!width.isEmpty())
        writeSetting(u"启动窗口", "宽度", width);
    if (!height.isEmpty())
        writeSetting(u"启动窗口", "高度", height);
    const auto window = openWindow();
    QCOMPARE(window->size(), expected);
}

void TestMainWindow::hostValuesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("ip");
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<QString>("shownAddress");
    QTest::addColumn<QByteArray>("writtenIp");

    QTest::newRow("port not a number") << QByteArray("10.1.2.3") << QByteArray("abc")
                                       << QStringLiteral("10.1.2.3") << QByteArray("10.1.2.3");
    QTest::newRow("Chinese port text") << QByteArray("10.1.2.3") << g(QStringLiteral("端口"))
                                       << QStringLiteral("10.1.2.3") << QByteArray("10.1.2.3");
    QTest::newRow("empty address and port")
        << QByteArray("") << QByteArray("") << QString() << QByteArray("");
    QTest::newRow("malformed address") << QByteArray("10.x.300") << QByteArray("8081")
                                       << QStringLiteral("10.0.255.0") << QByteArray("10.0.255.0");
}

void TestMainWindow::hostValuesRoundTrip()
{
    QFETCH(QByteArray, ip);
    QFETCH(QByteArray, port);
    QFETCH(QString, shownAddress);
    QFETCH(QByteArray, writtenIp);

    writeSetting(u"主机IP地址", "IP", ip);
    writeSetting(u"主机端口", "Port", port);
    auto window = openWindow();
    QCOMPARE(control<Ipv4AddressEdit>(*window, QStringLiteral("IP编辑框1"))->address(),
             shownAddress);
    QCOMPARE(control<QLineEdit>(*window, QStringLiteral("主机端口"))->text(), gbk::toUnicode(port));

    window->close();
    QCOMPARE(lumetra::readProfileString(m_settingsPath, g(QStringLiteral("主机IP地址")), "IP"),
             writtenIp);
    QCOMPARE(lumetra::readProfileString(m_settingsPath, g(QStringLiteral("主机端口")), "Port"),
             port);
}

void TestMainWindow::resizedWindowReopensAtItsSize()
{
    {
        auto window = openWindow();
        window->resize(651, 587);
        window->close();
    }
    const auto window = openWindow();
    QCOMPARE(window->size(), QSize(651, 587));
}

void TestMainWindow::hintAndCopyBoxAboveStatusBar_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("default size") << QSize(476, 543);
    QTest::newRow("designed size") << QSize(724, 562);
    QTest::newRow("large") << QSize(1100, 760);
}

void TestMainWindow::hintAndCopyBoxAboveStatusBar()
{
    QFETCH(QSize, size);

    const auto window = openWindow();
    window->resize(size);
    auto *statusBar = control<QStatusBar>(*window, QStringLiteral("状态条1"));
    auto *hint = control<QLabel>(*window, QStringLiteral("透明标签5"));
    auto *copyBox = control<QCheckBox>(*window, QStringLiteral("选择框1"));

    QCOMPARE(statusBar->geometry().bottom(), window->rect().bottom());
    QCOMPARE(statusBar->width(), window->width());
    for (QWidget *widget : {static_cast<QWidget *>(hint), static_cast<QWidget *>(copyBox)}) {
        QVERIFY(window->rect().contains(widget->geometry()));
        QVERIFY2(widget->geometry().bottom() < statusBar->geometry().top(),
                 widget->objectName().toUtf8().constData());
    }

    const QPoint centre = copyBox->geometry().center();
    QCOMPARE(window->childAt(centre), copyBox);
    QTest::mouseClick(copyBox, Qt::LeftButton, {}, copyBox->rect().center());
    QVERIFY(!copyBox->isChecked());
}

void TestMainWindow::escapeCloses_data()
{
    QTest::addColumn<QString>("focused");
    QTest::newRow("connect button") << QStringLiteral("连接主机");
    QTest::newRow("port box") << QStringLiteral("主机端口");
    QTest::newRow("send box") << QStringLiteral("编辑框2");
    QTest::newRow("receive box") << QStringLiteral("编辑框1");
    QTest::newRow("library list") << QStringLiteral("超级列表框1");
}

void TestMainWindow::escapeCloses()
{
    QFETCH(QString, focused);

    const auto window = openWindow();
    QWidget *target = window->findChild<QWidget *>(focused);
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(lumetra::readProfileString(m_settingsPath, g(QStringLiteral("启动窗口")),
                                        g(QStringLiteral("宽度"))),
             QByteArray("476"));
}

void TestMainWindow::draggedByItsClientArea_data()
{
    QTest::addColumn<QString>("pressedOn");
    QTest::newRow("background") << QString();
    QTest::newRow("label") << QStringLiteral("透明标签6");
    QTest::newRow("group box") << QStringLiteral("分组框1");
}

void TestMainWindow::draggedByItsClientArea()
{
    QFETCH(QString, pressedOn);

    const auto window = openWindow();
    QWidget *target = pressedOn.isEmpty() ? window.get() : window->findChild<QWidget *>(pressedOn);
    QVERIFY(target);
    const QPoint local(3, 3);
    const QPoint start = window->pos();
    const QPoint global = target->mapToGlobal(local);
    const QPoint delta(37, -21);

    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent move(QEvent::MouseMove, local + delta, global + delta, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);

    QCOMPARE(window->pos(), start + delta);
}

void TestMainWindow::connectButtonShowsTheLink()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const auto window = openWindow();
    auto *button = control<QPushButton>(*window, QStringLiteral("连接主机"));
    auto *status = control<QLabel>(*window, QStringLiteral("statusPart0"));
    control<Ipv4AddressEdit>(*window, QStringLiteral("IP编辑框1"))
        ->setAddress(QStringLiteral("127.0.0.1"));
    control<QLineEdit>(*window, QStringLiteral("主机端口"))
        ->setText(QString::number(server.serverPort()));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("连接中"));
    QCOMPARE(status->text(), QStringLiteral("状态：正在链接127.0.0.1主机..."));
    QTRY_COMPARE_WITH_TIMEOUT(button->text(), QStringLiteral("断 开"), attemptTimeoutMs);
    QCOMPARE(status->text(), QStringLiteral("状态：连接主机127.0.0.1成功！"));
    QCOMPARE(window->hostLink()->livenessPeriod(), handDrivenPeriod);

    QVERIFY(server.hasPendingConnections() || server.waitForNewConnection(attemptTimeoutMs));
    std::unique_ptr<QTcpSocket> hostSide(server.nextPendingConnection());
    hostSide->close();
    QTRY_COMPARE(button->text(), QStringLiteral("连接"));
    QCOMPARE(status->text(), QStringLiteral("状态：连接主机127.0.0.1成功！"));

    m_pinger->script({-1, -1, -1});
    for (int tick = 0; tick < 3; ++tick)
        window->hostLink()->runLivenessTick();
    QCOMPARE(status->text(), QStringLiteral("状态：主机127.0.0.1离线"));
}

void TestMainWindow::windowClosedDuringAttempt()
{
    HangingListener hanging;
    QVERIFY(hanging.isValid());
    {
        auto window = openWindow();
        control<Ipv4AddressEdit>(*window, QStringLiteral("IP编辑框1"))
            ->setAddress(QStringLiteral("127.0.0.1"));
        control<QLineEdit>(*window, QStringLiteral("主机端口"))
            ->setText(QString::number(hanging.port()));
        control<QPushButton>(*window, QStringLiteral("连接主机"))->click();
        QCOMPARE(HostLink::runningConnectWorkers(), 1);
        window->close();
    }
    QCOMPARE(lumetra::readProfileString(m_settingsPath, g(QStringLiteral("主机IP地址")), "IP"),
             QByteArray("127.0.0.1"));

    // The attempt ends after the window is gone; under the sanitizers this shows that it
    // touches neither the window nor the lock it gave up.
    hanging.release();
    QTRY_COMPARE_WITH_TIMEOUT(HostLink::runningConnectWorkers(), 0, 2 * attemptTimeoutMs);
}

void TestMainWindow::processEndsCleanlyDuringAttempt()
{
    HangingListener hanging;
    QVERIFY(hanging.isValid());
    QProcess probe;
    probe.start(QStringLiteral(CLOSE_DURING_CONNECT_PROBE),
                {m_settingsPath, QString::number(hanging.port())});
    QVERIFY(probe.waitForFinished(attemptTimeoutMs));
    const QByteArray errors = probe.readAllStandardError();
    QVERIFY2(probe.exitStatus() == QProcess::NormalExit, errors.constData());
    QVERIFY2(probe.exitCode() == 0, errors.constData());
    // The attempt was still under way when the process ended.
    QCOMPARE(probe.readAllStandardOutput().trimmed(), QByteArray("1"));
    QVERIFY(QFile::exists(m_settingsPath));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"

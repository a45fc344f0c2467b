#include "window/main_window.h"

#include "codec/channel_panel.h"
#include "gbk/gbk_text.h"
#include "library/library_panel.h"
#include "link/host_link.h"
#include "link/receive_path.h"
#include "link/receive_view.h"
#include "window/app_look.h"
#include "window/integer_text.h"
#include "window/ipv4_address_edit.h"
#include "window/profile_file.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWindow>

#include <memory>
#include <vector>

namespace lumetra {

namespace {

const QByteArray addressSection = gbk::fromUnicode(QStringLiteral("主机IP地址"));
const QByteArray addressKey = "IP";
const QByteArray portSection = gbk::fromUnicode(QStringLiteral("主机端口"));
const QByteArray portKey = "Port";
const QByteArray windowSection = gbk::fromUnicode(QStringLiteral("启动窗口"));
const QByteArray widthKey = gbk::fromUnicode(QStringLiteral("宽度"));
const QByteArray heightKey = gbk::fromUnicode(QStringLiteral("高度"));

// The address a fresh installation offers: the usual factory address of a host on the LAN.
const QString initialHostAddress = QStringLiteral("192.168.1.100");

constexpr int statusBarHeight = 22;
constexpr int statusPart0Width = 200;

template<typename Widget>
Widget *place(Widget *widget, const char16_t *name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPushButton *makeButton(QWidget *parent, const char16_t *name, const char16_t *text, int left,
                        int top, int width, int height)
{
    return place(new QPushButton(QString::fromUtf16(text), parent), name, left, top, width, height);
}

QLabel *makeLabel(QWidget *parent, const char16_t *name, const char16_t *text, int left, int top,
                  int width, int height)
{
    return place(new QLabel(QString::fromUtf16(text), parent), name, left, top, width, height);
}

QLineEdit *makeCentredEdit(QWidget *parent, const char16_t *name, const char16_t *text, int left,
                           int top, int width, int height)
{
    auto *edit =
        place(new QLineEdit(QString::fromUtf16(text), parent), name, left, top, width, height);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QPlainTextEdit *makeTextBox(QWidget *parent, const char16_t *name, int left, int top, int width,
                            int height)
{
    auto *box = place(new QPlainTextEdit(parent), name, left, top, width, height);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = box->font();
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    box->setFont(font);
    return box;
}

QGroupBox *makeGroup(QWidget *parent, const char16_t *name, const char16_t *title, int left,
                     int top, int width, int height)
{
    return place(new QGroupBox(QString::fromUtf16(title), parent), name, left, top, width, height);
}

} // namespace

MainWindow::MainWindow(WindowServices services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , m_services(std::move(services))
{
    buildLayout();

    m_hostLink = new HostLink(m_services.pinger, m_services.livenessPeriodMs, this);
    bindHostLink();

    // The panels of the learning, channel and library controls are bound here.
    m_receivePath = new ReceivePath(
        *m_hostLink, {m_learnStartButton, m_learnStopButton, m_clearReceiveButton, m_receiveBox},
        m_channelMemory, [this](const QString &text) { setStatusText(text); }, this);
    ChannelControls channelControls;
    channelControls.connectButton = m_connectButton;
    std::copy(m_channelButtons.begin(), m_channelButtons.end(),
              channelControls.channelButtons.begin());
    channelControls.sendBox = m_sendBox;
    channelControls.copyCodeBox = m_copyCodeBox;
    m_channelPanel = new ChannelPanel(*m_hostLink, channelControls, m_channelMemory, this);
    LibraryControls libraryControls;
    libraryControls.list = m_libraryList;
    libraryControls.keyNameBox = m_keyNameBox;
    libraryControls.receiveText = [this] { return m_receivePath->receivedText(); };
    libraryControls.sendBox = m_sendBox;
    libraryControls.renameButton = m_renameKeyButton;
    libraryControls.deleteButton = m_deleteButton;
    libraryControls.addButton = m_addToLibraryButton;
    libraryControls.replaceButton = m_replaceSelectedButton;
    libraryControls.openButton = m_openButton;
    libraryControls.saveButton = m_saveButton;
    new LibraryPanel(libraryControls, m_services.dialogs, this);

    runCreatedStep();
}

MainWindow::~MainWindow()
{
    // A window destroyed without being closed (never by the user) still gives up the link.
    m_hostLink->shutDown();

    // The panels and the link point at the controls and watch their events, so they go first,
    // the newest first; Qt alone would delete the children in the order they were created and
    // leave a panel filtering the events of a half-destroyed control.
    std::vector<std::unique_ptr<QObject>> bindings;
    for (QObject *child : children()) {
        if (!child->isWidgetType())
            bindings.emplace_back(child);
    }
    while (!bindings.empty())
        bindings.pop_back();
}

void MainWindow::setStatusText(const QString &text)
{
    m_statusPart0->setText(text);
}

void MainWindow::buildLayout()
{
    setWindowTitle(QStringLiteral("Lumetra_V2.2"));
    setWindowIcon(applicationIcon());
    QFont dialogFont = font();
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    resize(designedWidth, designedHeight);

    buildConnectionGroup();
    buildLibraryFileGroup();
    buildLearningGroup();

    m_hintLabel = makeLabel(this, u"透明标签5",
                            u"提示：将上面窗口收到的红外数据复制到下面发送框,点击从某路发送。", 3,
                            496, 373, 24);

    m_copyCodeBox =
        place(new QCheckBox(QStringLiteral("复制中控码"), this), u"选择框1", 382, 499, 80, 16);
    m_copyCodeBox->setChecked(true);
    QPalette red = m_copyCodeBox->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_copyCodeBox->setPalette(red);

    buildStatusBar();
}

void MainWindow::buildConnectionGroup()
{
    m_connectionGroup = makeGroup(this, u"分组框1", u"主机IP地址", 8, 16, 400, 64);
    makeLabel(m_connectionGroup, u"透明标签1", u"IP地址", 8, 21, 48, 28);
    m_addressBox = place(new Ipv4AddressEdit(m_connectionGroup), u"IP编辑框1", 49, 22, 193, 26);
    m_addressBox->setAddress(initialHostAddress);
    makeLabel(m_connectionGroup, u"透明标签2", u"端口", 254, 19, 24, 28);
    m_portBox = makeCentredEdit(m_connectionGroup, u"主机端口", u"8081", 282, 21, 48, 24);
    m_connectButton = makeButton(m_connectionGroup, u"连接主机", u"连接", 333, 17, 64, 32);
}

void MainWindow::buildLibraryFileGroup()
{
    m_libraryFileGroup = makeGroup(this, u"分组框3", u"遥控器", 408, 16, 306, 64);
    m_openButton = makeButton(m_libraryFileGroup, u"按钮15", u"打开", 110, 16, 45, 34);
    m_saveButton = makeButton(m_libraryFileGroup, u"按钮16", u"保存", 154, 16, 45, 34);

    // These sit on the window, over the group box drawn beneath them.
    makeLabel(this, u"透明标签4", u"按键", 412, 32, 35, 40);
    m_keyNameBox = makeCentredEdit(this, u"编辑框3", u"Power", 444, 34, 76, 32);
    m_renameKeyButton = makeButton(this, u"按钮13", u"修改按键", 606, 32, 61, 34);
    m_deleteButton = makeButton(this, u"按钮14", u"删除", 666, 32, 45, 34);

    m_libraryList = place(new QTreeWidget(this), u"超级列表框1", 384, 96, 328, 400);
}

void MainWindow::buildLearningGroup()
{
    m_learningGroup = makeGroup(this, u"分组框2", u"", 8, 88, 376, 408);
    QWidget *group = m_learningGroup;
    m_learnStartButton = makeButton(group, u"按钮2", u"进入学习", 2, 14, 64, 32);
    m_learnStopButton = makeButton(group, u"按钮3", u"停止学习", 65, 14, 64, 32);
    m_clearReceiveButton = makeButton(group, u"按钮5", u"清空接收", 129, 14, 64, 32);
    m_addToLibraryButton = makeButton(group, u"按钮4", u"加入码库", 192, 14, 72, 32);
    m_replaceSelectedButton = makeButton(group, u"按钮17", u"替换选中", 265, 14, 72, 32);
    m_receiveBox = place(new ReceiveView(group), u"编辑框1", 5, 51, 363, 157);

    QLabel *rule = makeLabel(group, u"透明标签3", u"", 0, 209, 488, 3);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    makeLabel(group, u"透明标签6", u"发送测试", 4, 216, 60, 32);
    static constexpr const char16_t *channelNames[] = {u"按钮1", u"按钮6",  u"按钮7",  u"按钮8",
                                                       u"按钮9", u"按钮10", u"按钮11", u"按钮12"};
    static constexpr int channelLefts[] = {67, 104, 141, 178, 215, 252, 289, 324};
    for (std::size_t i = 0; i < m_channelButtons.size(); ++i) {
        const QString caption = QStringLiteral("IR%1").arg(i + 1);
        m_channelButtons[i] =
            place(new QPushButton(caption, group), channelNames[i], channelLefts[i], 216, 36, 35);
    }
    m_sendBox = makeTextBox(group, u"编辑框2", 4, 256, 363, 144);
}

void MainWindow::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("状态条1"));
    m_statusBar->setSizeGripEnabled(true);

    m_statusPart0 = new QLabel(QStringLiteral("状态：软件准备就绪"), m_statusBar);
    m_statusPart0->setObjectName(QStringLiteral("statusPart0"));
    m_statusPart1 =
        new QLabel(QStringLiteral("学习操作：遥控器与接收头距离为2cm-6cm,面板灯亮表示进入学习状态,"
                                  "学习成功后灯灭掉，软件收到数据后拿开遥控器。"),
                   m_statusBar);
    m_statusPart1->setObjectName(QStringLiteral("statusPart1"));
    for (QLabel *part : {m_statusPart0, m_statusPart1})
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    placeStatusBar();
}

void MainWindow::bindHostLink()
{
    m_hostLink->setEndpointSource([this] { return m_addressBox->address(); },
                                  [this] { return gbk::fromUnicode(m_portBox->text()); });
    connect(m_connectButton, &QPushButton::clicked, m_hostLink, &HostLink::toggleConnection);
    connect(m_hostLink, &HostLink::stateChanged, this, &MainWindow::showLinkState);
    connect(m_hostLink, &HostLink::statusTextChanged, this, &MainWindow::setStatusText);
    showLinkState();
}

void MainWindow::showLinkState()
{
    m_connectButton->setText(HostLink::caption(m_hostLink->state()));
}

void MainWindow::runCreatedStep()
{
    // The link lock came with the host link.
    applySilverLook();
    show();

    const QString &path = m_services.settingsPath;
    if (!QFile::exists(path)) {
        writeProfileString(path, addressSection, addressKey,
                           gbk::fromUnicode(m_addressBox->address()));
        writeProfileString(path, portSection, portKey, gbk::fromUnicode(m_portBox->text()));
    }
    m_addressBox->setAddress(gbk::toUnicode(readProfileString(path, addressSection, addressKey)));
    m_portBox->setText(gbk::toUnicode(readProfileString(path, portSection, portKey)));

    const int width = textToInteger(readProfileString(path, windowSection, widthKey));
    const int height = textToInteger(readProfileString(path, windowSection, heightKey));
    resize(width != 0 ? width : defaultWidth, height != 0 ? height : defaultHeight);
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    m_connectButton->setFocus();
    m_copyCodeBox->setToolTip(QStringLiteral(
        "此项选中，点击从某路发送红外后将自动复制中控命令到粘贴板，粘贴到你需要的地方即可使用。"));
}

void MainWindow::runAboutToBeDestroyedStep()
{
    if (std::exchange(m_destroyStepDone, true))
        return;
    m_hostLink->shutDown();
    const QString &path = m_services.settingsPath;
    writeProfileString(path, addressSection, addressKey, gbk::fromUnicode(m_addressBox->address()));
    writeProfileString(path, portSection, portKey, gbk::fromUnicode(m_portBox->text()));
    writeProfileString(path, windowSection, widthKey, QByteArray::number(width()));
    writeProfileString(path, windowSection, heightKey, QByteArray::number(height()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    runAboutToBeDestroyedStep();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Any press on the background (or on a control that lets presses through, such as a label
// or a group box) drags the window.
void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (QWindow *window = windowHandle(); window && window->startSystemMove()) {
        event->accept();
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeStatusBar();
}

void MainWindow::placeStatusBar()
{
    if (!m_statusBar)
        return;
    m_statusBar->setGeometry(0, height() - statusBarHeight, width(), statusBarHeight);
    // The parts are placed here rather than by the status bar's own layout, which would make
    // them taller than the bar and cut off their lower edge.
    constexpr int top = 2;
    constexpr int gap = 2;
    const int partHeight = statusBarHeight - top - 1;
    const int gripWidth = partHeight;
    m_statusPart0->setGeometry(0, top, statusPart0Width, partHeight);
    const int part1Left = statusPart0Width + gap;
    m_statusPart1->setGeometry(part1Left, top, std::max(1, width() - part1Left - gripWidth),
                               partHeight);
}

} // namespace lumetra

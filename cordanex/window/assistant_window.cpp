#include "window/assistant_window.h"

#include "builder/hex_digits.h"
#include "gbk/gbk_text.h"
#include "window/olive_look.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>

#include <limits>

namespace cordanex {

namespace {

constexpr int rs485Position = 8;
constexpr int baud38400Position = 6;
constexpr int vantrelPosition = 0;

// Entries carry their position as code, except in the device-ID list.
void addEntries(QComboBox *list, const QStringList &entries)
{
    for (const QString &entry : entries)
        list->addItem(entry, list->count());
}

QComboBox *createList(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(geometry);
    list->setEditable(false);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Black on white, as a list of this kind is drawn, whatever the olive button face.
    QPalette palette = list->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Button, Qt::white);
        palette.setColor(group, QPalette::Window, Qt::white); // the open list's background
        palette.setColor(group, QPalette::ButtonText, Qt::black);
    }
    list->setPalette(palette);
    return list;
}

QLabel *createLabel(QWidget *parent, const QString &caption, const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// The faces tried for Chinese text: the one the window was drawn for, then faces that a
// Linux desktop commonly has for GBK text.
QStringList chineseFaces(const QString &preferred)
{
    return {preferred, QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Droid Sans Fallback")};
}

} // namespace

AssistantWindow::AssistantWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Cordanex_V2.4"));
    setWindowIcon(applicationIcon());
    setFixedSize(clientSize);

    QFont uiFont = font();
    uiFont.setFamilies(chineseFaces(uiFont.family()));
    uiFont.setPixelSize(12);
    setFont(uiFont);

    createControls();
    m_inputBox->setFocus();
    FillDeviceIdList();
    m_deviceIdList->setCurrentIndex(0);
    centreOnScreen();
}

void AssistantWindow::createControls()
{
    createLabel(this, QStringLiteral("发送端口："), {4, 8, 58, 24});
    m_sendPortList = createList(this, "sendPortList", {62, 12, 64, 20});
    addEntries(m_sendPortList,
               {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                QStringLiteral("COM4"), QStringLiteral("COM5"), QStringLiteral("COM6"),
                QStringLiteral("COM7"), QStringLiteral("COM8"), QStringLiteral("RS485")});

    createLabel(this, QStringLiteral("波特率："), {132, 11, 44, 20});
    m_baudList = createList(this, "baudList", {176, 12, 64, 20});
    addEntries(m_baudList,
               {QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
                QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200"),
                QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")});
    m_baudList->setCurrentIndex(3);

    createLabel(this, QStringLiteral("数据位设置："), {247, 11, 71, 20});
    m_dataFormatList = createList(this, "dataFormatList", {318, 12, 192, 20});
    addEntries(m_dataFormatList, {QStringLiteral("字长8位,1位停止位,无奇偶校验"),
                                  QStringLiteral("字长8位,2位停止位,无奇偶校验"),
                                  QStringLiteral("字长8位,2位停止位,奇校验"),
                                  QStringLiteral("字长7位,2位停止位,奇校验"),
                                  QStringLiteral("字长6位,2位停止位,奇校验"),
                                  QStringLiteral("字长5位,2位停止位,奇校验"),
                                  QStringLiteral("字长8位,2位停止位,偶校验"),
                                  QStringLiteral("字长7位,2位停止位,偶校验"),
                                  QStringLiteral("字长6位,2位停止位,偶校验"),
                                  QStringLiteral("字长5位,2位停止位,偶校验"),
                                  QStringLiteral("字长8位,1位停止位,偶校验"),
                                  QStringLiteral("字长7位,1位停止位,偶校验"),
                                  QStringLiteral("字长6位,1位停止位,偶校验"),
                                  QStringLiteral("字长5位,1位停止位,偶校验"),
                                  QStringLiteral("字长8位,2位停止位,标志1校验"),
                                  QStringLiteral("字长7位,2位停止位,标志1校验"),
                                  QStringLiteral("字长6位,2位停止位,标志1校验"),
                                  QStringLiteral("字长5位,2位停止位,标志1校验"),
                                  QStringLiteral("字长8位,2位停止位,空白0校验"),
                                  QStringLiteral("字长7位,2位停止位,空白0校验"),
                                  QStringLiteral("字长6位,2位停止位,空白0校验"),
                                  QStringLiteral("字长5位,2位停止位,空白0校验")});

    createLabel(this, QStringLiteral("RS485设备："), {511, 11, 69, 20});
    m_rs485DeviceList = createList(this, "rs485DeviceList", {580, 11, 84, 20});
    addEntries(m_rs485DeviceList, {QStringLiteral("VANTREL"), QStringLiteral("其它设备")});
    m_rs485DeviceList->setEnabled(false);

    createLabel(this, QStringLiteral("设备ID："), {667, 10, 45, 20});
    m_deviceIdList = createList(this, "deviceIdList", {711, 10, 50, 20});
    m_deviceIdList->setEnabled(false);

    m_hexOption = new QRadioButton(QStringLiteral("HEX格式"), this);
    m_hexOption->setObjectName(QStringLiteral("hexOption"));
    m_hexOption->setGeometry(2, 38, 75, 16);
    m_hexOption->setChecked(true);
    m_asciiOption = new QRadioButton(QStringLiteral("ASCII格式"), this);
    m_asciiOption->setObjectName(QStringLiteral("asciiOption"));
    m_asciiOption->setGeometry(2, 56, 75, 16);
    m_payloadModeGroup = new QButtonGroup(this);
    m_payloadModeGroup->addButton(m_hexOption);
    m_payloadModeGroup->addButton(m_asciiOption);

    m_inputBox = new QLineEdit(this);
    m_inputBox->setObjectName(QStringLiteral("inputBox"));
    m_inputBox->setGeometry(80, 40, 570, 32);
    // The payload check judges the length; the box itself must not cut a pasted text short.
    m_inputBox->setMaxLength(std::numeric_limits<int>::max());
    QFont inputFont = font();
    inputFont.setPixelSize(19);
    m_inputBox->setFont(inputFont);

    m_lineBreakCheck = new QCheckBox(QStringLiteral("增加换行"), this);
    m_lineBreakCheck->setObjectName(QStringLiteral("lineBreakCheck"));
    m_lineBreakCheck->setGeometry(654, 39, 70, 16);
    m_escapedFormCheck = new QCheckBox(QStringLiteral("中控命令"), this);
    m_escapedFormCheck->setObjectName(QStringLiteral("escapedFormCheck"));
    m_escapedFormCheck->setGeometry(654, 57, 70, 16);

    m_okButton = new QPushButton(QStringLiteral("确定"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setGeometry(724, 39, 38, 32);

    // A row of hyphens, wider than the window, in a face whose hyphen is half an em wide so
    // that the row reaches the right edge.
    m_separatorLine = createLabel(this, QString(139, QLatin1Char('-')), {-8, 72, 776, 8});
    m_separatorLine->setObjectName(QStringLiteral("separatorLine"));
    QFont separatorFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    separatorFont.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), separatorFont.family()});
    separatorFont.setPixelSize(12);
    m_separatorLine->setFont(separatorFont);

    m_outputBox = new QPlainTextEdit(this);
    m_outputBox->setObjectName(QStringLiteral("outputBox"));
    m_outputBox->setGeometry(1, 80, 759, 336);
    m_outputBox->setFrameShape(QFrame::NoFrame);
    m_outputBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_outputBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_outputBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // An escaped command is one long word; it must wrap too rather than run out of sight.
    m_outputBox->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QFont outputFont = font();
    outputFont.setFamilies(chineseFaces(QStringLiteral("微软雅黑")));
    outputFont.setPixelSize(14);
    m_outputBox->setFont(outputFont);

    // activated() comes from the user's picks only, so the rules never run when they
    // themselves select an entry.
    connect(m_sendPortList, &QComboBox::activated, this, &AssistantWindow::ApplyPortRules);
    connect(m_rs485DeviceList, &QComboBox::activated, this,
            &AssistantWindow::ApplyRs485DeviceRules);
    connect(m_okButton, &QPushButton::clicked, this, &AssistantWindow::runCommandBuilder);
}

void AssistantWindow::FillDeviceIdList()
{
    for (int id = 1; id <= 15; ++id)
        m_deviceIdList->addItem(gbk::toUnicode(TwoHexDigits(id)), id);
}

void AssistantWindow::centreOnScreen()
{
    // The position of a window is that of its frame, so centre the outer rectangle.
    if (const QScreen *display = screen()) {
        QRect outer(QPoint(), outerSize);
        outer.moveCenter(display->availableGeometry().center());
        move(outer.topLeft());
    }
}

CommandForm AssistantWindow::ReadCommandForm() const
{
    CommandForm form;
    form.portCode = m_sendPortList->currentData().toInt();
    form.baudCode = m_baudList->currentData().toInt();
    form.formatCode = m_dataFormatList->currentData().toInt();
    form.payloadMode = m_asciiOption->isChecked() ? PayloadMode::Ascii : PayloadMode::Hex;
    form.addLineBreak = m_lineBreakCheck->isChecked();
    form.escapedOutput = m_escapedFormCheck->isChecked();
    form.rs485Device = m_rs485DeviceList->currentData().toInt();
    form.deviceCode = m_deviceIdList->currentData().toInt();
    form.payloadText = gbk::fromUnicode(m_inputBox->text());
    return form;
}

void AssistantWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AssistantWindow::ApplyPortRules()
{
    if (m_sendPortList->currentIndex() == rs485Position) {
        m_baudList->setCurrentIndex(baud38400Position);
        m_baudList->setEnabled(false);
        m_dataFormatList->setCurrentIndex(0);
        m_dataFormatList->setEnabled(false);
        m_rs485DeviceList->setEnabled(true);
        m_rs485DeviceList->setCurrentIndex(vantrelPosition);
        m_deviceIdList->setEnabled(true);
        m_deviceIdList->setCurrentIndex(0);
        m_inputBox->setEnabled(false);
    } else {
        m_baudList->setEnabled(true);
        m_dataFormatList->setEnabled(true);
        m_rs485DeviceList->setEnabled(false);
        m_rs485DeviceList->setCurrentIndex(vantrelPosition);
        m_inputBox->setEnabled(true);
        m_deviceIdList->setEnabled(false);
        m_deviceIdList->setCurrentIndex(0);
    }
}

void AssistantWindow::ApplyRs485DeviceRules()
{
    const bool vantrel = m_rs485DeviceList->currentIndex() == vantrelPosition;
    m_inputBox->setEnabled(!vantrel);
    m_deviceIdList->setEnabled(vantrel);
}

void AssistantWindow::runCommandBuilder()
{
    const QByteArray before = gbk::fromEditorText(m_outputBox->toPlainText());
    showOutputText(before, BuildCommandText(ReadCommandForm(), before));
}

void AssistantWindow::showOutputText(const QByteArray &before, const QByteArray &after)
{
    // A long-used box holds many commands; when the click only added text, insert just the
    // new tail instead of laying the whole document out again.
    QTextCursor cursor(m_outputBox->document());
    if (after.startsWith(before)) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(gbk::toEditorText(after.sliced(before.size())));
    } else {
        m_outputBox->setPlainText(gbk::toEditorText(after));
        cursor.movePosition(QTextCursor::End);
    }
    m_outputBox->setTextCursor(cursor);
    m_outputBox->ensureCursorVisible();
    // The caret sits on the empty line after the last CR LF; scroll fully down so that the
    // whole of the new text's last line is in view as well.
    QScrollBar *bar = m_outputBox->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace cordanex

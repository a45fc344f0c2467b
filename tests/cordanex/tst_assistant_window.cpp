#include "window/assistant_window.h"
#include "window/olive_look.h"

#include "builder_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <memory>

using cordanex::AssistantWindow;

class TestAssistantWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void listEntriesAndCodes_data();
    void listEntriesAndCodes();
    void formStates_data();
    void formStates();
    void userSessions_data();
    void userSessions();
    void outputEndScrolledIntoView();
    void escapeCloses_data();
    void escapeCloses();

private:
    template<typename Control>
    Control *control(const QString &name) const
    {
        auto *found = m_window->findChild<Control *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QComboBox *list(const QString &name) const { return control<QComboBox>(name); }
    QByteArray outputText() const
    {
        return gbk::fromEditorText(
            control<QPlainTextEdit>(QStringLiteral("outputBox"))->toPlainText());
    }
    static void typeText(QWidget *widget, const QString &text);
    void pick(const QString &listName, const QString &entry);
    void perform(const QString &action);

    std::unique_ptr<AssistantWindow> m_window;
};

void TestAssistantWindow::init()
{
    m_window = std::make_unique<AssistantWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestAssistantWindow::cleanup()
{
    m_window.reset();
}

// Picks an entry as the user does on the keyboard: with the list focused, Down or Up moves
// the selection one entry per key. "#n" names the entry at position n.
void TestAssistantWindow::pick(const QString &listName, const QString &entry)
{
    QComboBox *combo = list(listName);
    QVERIFY2(combo->isEnabled(), qPrintable(listName));
    const int target =
        entry.startsWith(QLatin1Char('#')) ? entry.mid(1).toInt() : combo->findText(entry);
    QVERIFY2(target >= 0, qPrintable(entry));
    combo->setFocus();
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > target)
        QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), target);
}

// Latin-1 text is typed key by key; Chinese text arrives as an input method commits it.
void TestAssistantWindow::typeText(QWidget *widget, const QString &text)
{
    const bool latin1 =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x100; });
    if (latin1) {
        QTest::keyClicks(widget, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// One user action of a session: "pick <list> <entry>", "click <control>", "type <text>"
// (replaces the input box's text), "note <text>" (typed into the output box, then Enter).
void TestAssistantWindow::perform(const QString &action)
{
    const QString verb = action.section(QLatin1Char(' '), 0, 0);
    const QString rest = action.section(QLatin1Char(' '), 1);
    if (verb == QLatin1String("pick")) {
        pick(rest.section(QLatin1Char(' '), 0, 0), rest.section(QLatin1Char(' '), 1));
    } else if (verb == QLatin1String("click")) {
        auto *widget = control<QWidget>(rest);
        QVERIFY2(widget->isEnabled(), qPrintable(rest));
        QTest::mouseClick(widget, Qt::LeftButton);
    } else if (verb == QLatin1String("type")) {
        auto *input = control<QLineEdit>(QStringLiteral("inputBox"));
        QTest::mouseClick(input, Qt::LeftButton);
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_Delete);
        typeText(input, rest);
    } else if (verb == QLatin1String("note")) {
        auto *output = control<QPlainTextEdit>(QStringLiteral("outputBox"));
        QTest::mouseClick(output->viewport(), Qt::LeftButton);
        QTest::keyClick(output, Qt::Key_End, Qt::ControlModifier);
        typeText(output, rest);
        QTest::keyClick(output, Qt::Key_Return);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown action: ") + action));
    }
}

void TestAssistantWindow::startState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Cordanex_V2.4"));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->windowIcon().availableSizes(), QList<QSize>{QSize(128, 128)});
    QCOMPARE(cordanex::applicationIconImage().depth(), 32);
    const QRect outer(m_window->pos(), AssistantWindow::outerSize);
    QVERIFY((outer.center() - m_window->screen()->availableGeometry().center()).manhattanLength() <=
            2);

    struct ListState
    {
        const char *name;
        const char *entry;
        bool enabled;
    };
    for (const ListState &expected :
         {ListState{"sendPortList", "COM1", true}, ListState{"baudList", "9600", true},
          ListState{"dataFormatList", "#0", true}, ListState{"rs485DeviceList", "VANTREL", false},
          ListState{"deviceIdList", "01", false}}) {
        QComboBox *combo = list(QLatin1String(expected.name));
        if (expected.entry[0] == '#')
            QCOMPARE(combo->currentIndex(), 0);
        else
            QCOMPARE(combo->currentText(), QLatin1String(expected.entry));
        QCOMPARE(combo->isEnabled(), expected.enabled);
        QVERIFY(!combo->isEditable());
    }

    QVERIFY(control<QRadioButton>(QStringLiteral("hexOption"))->isChecked());
    QVERIFY(!control<QRadioButton>(QStringLiteral("asciiOption"))->isChecked());
    QVERIFY(!control<QCheckBox>(QStringLiteral("lineBreakCheck"))->isChecked());
    QVERIFY(!control<QCheckBox>(QStringLiteral("escapedFormCheck"))->isChecked());
    auto *input = control<QLineEdit>(QStringLiteral("inputBox"));
    QVERIFY(input->text().isEmpty());
    QVERIFY(input->isEnabled());
    QVERIFY(outputText().isEmpty());
    QVERIFY(!control<QPlainTextEdit>(QStringLiteral("outputBox"))->isReadOnly());
    QTRY_COMPARE(QApplication::focusWidget(), input);

    // The two options are one group: picking ASCII clears HEX.
    QTest::mouseClick(control<QRadioButton>(QStringLiteral("asciiOption")), Qt::LeftButton);
    QVERIFY(!control<QRadioButton>(QStringLiteral("hexOption"))->isChecked());
}

void TestAssistantWindow::listEntriesAndCodes_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("firstCode");

    QTest::newRow("send port") << QStringLiteral("sendPortList")
                               << QStringList{"COM1", "COM2", "COM3", "COM4", "COM5",
                                              "COM6", "COM7", "COM8", "RS485"}
                               << 0;
    QTest::newRow("baud") << QStringLiteral("baudList")
                          << QStringList{"1200",  "2400",  "4800",  "9600",  "14400",
                                         "19200", "38400", "57600", "115200"}
                          << 0;
    QTest::newRow("data format") << QStringLiteral("dataFormatList")
                                 << QStringList{QStringLiteral("字长8位,1位停止位,无奇偶校验"),
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
                                                QStringLiteral("字长5位,2位停止位,空白0校验")}
                                 << 0;
    QTest::newRow("RS485 device") << QStringLiteral("rs485DeviceList")
                                  << QStringList{QStringLiteral("VANTREL"),
                                                 QStringLiteral("其它设备")}
                                  << 0;
    QTest::newRow("device ID") << QStringLiteral("deviceIdList")
                               << QStringList{"01", "02", "03", "04", "05", "06", "07", "08",
                                              "09", "0A", "0B", "0C", "0D", "0E", "0F"}
                               << 1;
}

void TestAssistantWindow::listEntriesAndCodes()
{
    QFETCH(QString, listName);
    QFETCH(QStringList, entries);
    QFETCH(int, firstCode);

    QComboBox *combo = list(listName);
    QCOMPARE(combo->count(), entries.size());
    for (int i = 0; i < combo->count(); ++i) {
        QCOMPARE(combo->itemText(i), entries.at(i));
        QCOMPARE(combo->itemData(i).toInt(), firstCode + i);
    }
}

void TestAssistantWindow::formStates_data()
{
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("deviceId");
    // Enabled controls, as letters: b baud, f format, r RS485 device, d device ID, i input.
    QTest::addColumn<QString>("enabled");

    QTest::newRow("RS485 forces 38400 and the first format")
        << QStringList{"baudList 115200", "dataFormatList #10", "sendPortList RS485"} << "38400"
        << 0 << "VANTREL"
        << "01"
        << "rd";
    QTest::newRow("COM2 after RS485 keeps 38400 and the first format")
        << QStringList{"baudList 115200", "dataFormatList #10", "sendPortList RS485",
                       "sendPortList COM2"}
        << "38400" << 0 << "VANTREL"
        << "01"
        << "bfi";
    QTest::newRow("COM port keeps the baud and format picked")
        << QStringList{"baudList 1200", "dataFormatList #21", "sendPortList COM8"} << "1200" << 21
        << "VANTREL"
        << "01"
        << "bfi";
    QTest::newRow("other device takes a payload")
        << QStringList{"sendPortList RS485", "rs485DeviceList 其它设备"} << "38400" << 0
        << "其它设备"
        << "01"
        << "ri";
    QTest::newRow("device ID 0C kept while other device")
        << QStringList{"sendPortList RS485", "deviceIdList 0C", "rs485DeviceList 其它设备"}
        << "38400" << 0 << "其它设备"
        << "0C"
        << "ri";
    QTest::newRow("device ID 0C survives other device and back")
        << QStringList{"sendPortList RS485", "deviceIdList 0C", "rs485DeviceList 其它设备",
                       "rs485DeviceList VANTREL"}
        << "38400" << 0 << "VANTREL"
        << "0C"
        << "rd";
    QTest::newRow("COM port and RS485 again reset device and ID")
        << QStringList{"sendPortList RS485", "deviceIdList 0C", "rs485DeviceList 其它设备",
                       "sendPortList COM1", "sendPortList RS485"}
        << "38400" << 0 << "VANTREL"
        << "01"
        << "rd";
    QTest::newRow("COM port while other device resets the device")
        << QStringList{"sendPortList RS485", "deviceIdList 0F", "rs485DeviceList 其它设备",
                       "sendPortList COM4"}
        << "38400" << 0 << "VANTREL"
        << "01"
        << "bfi";
}

void TestAssistantWindow::formStates()
{
    QFETCH(QStringList, picks);
    QFETCH(QString, baud);
    QFETCH(int, format);
    QFETCH(QString, device);
    QFETCH(QString, deviceId);
    QFETCH(QString, enabled);

    for (const QString &entry : picks) {
        pick(entry.section(QLatin1Char(' '), 0, 0), entry.section(QLatin1Char(' '), 1));
        if (QTest::currentTestFailed())
            return;
    }

    QCOMPARE(list(QStringLiteral("baudList"))->currentText(), baud);
    QCOMPARE(list(QStringLiteral("dataFormatList"))->currentIndex(), format);
    QCOMPARE(list(QStringLiteral("rs485DeviceList"))->currentText(), device);
    QCOMPARE(list(QStringLiteral("deviceIdList"))->currentText(), deviceId);

    QString actual;
    actual += list(QStringLiteral("baudList"))->isEnabled() ? "b" : "";
    actual += list(QStringLiteral("dataFormatList"))->isEnabled() ? "f" : "";
    actual += list(QStringLiteral("rs485DeviceList"))->isEnabled() ? "r" : "";
    actual += list(QStringLiteral("deviceIdList"))->isEnabled() ? "d" : "";
    actual += control<QLineEdit>(QStringLiteral("inputBox"))->isEnabled() ? "i" : "";
    QCOMPARE(actual, enabled);
    QVERIFY(list(QStringLiteral("sendPortList"))->isEnabled());
}

void TestAssistantWindow::userSessions_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QByteArray>("output");

    const QByteArray ab = "EE B3 00 03 00 41 42 FF FC FF FF\r\n";

    QTest::newRow("ascii AB, then again with a line break")
        << QStringList{"click asciiOption", "type AB", "click okButton", "click lineBreakCheck",
                       "click okButton"}
        << ab + "EE B3 00 03 00 41 42 0D 0A FF FC FF FF\r\n";
    QTest::newRow("escaped COM3 115200 format 10 leaves one command")
        << QStringList{"pick sendPortList COM3", "pick baudList 115200", "pick dataFormatList #10",
                       "type 01 A0 FF",          "click okButton",       "click okButton",
                       "click escapedFormCheck", "click okButton"}
        << QByteArray("\\xEE\\xB3\\x02\\x08\\x0A\\x01\\xA0\\xFF\\xFF\\xFC\\xFF\\xFF\r\n");
    QTest::newRow("RS485 other device sends the payload typed before")
        << QStringList{"type 55 AA", "pick sendPortList RS485", "pick rs485DeviceList 其它设备",
                       "click okButton"}
        << QByteArray("EE B3 08 06 00 55 AA FF FC FF FF\r\n");
    QTest::newRow("VANTREL device 0C lists its relays whatever the payload")
        << QStringList{"type zz",
                       "pick sendPortList RS485",
                       "pick deviceIdList 0C",
                       "click lineBreakCheck",
                       "click escapedFormCheck",
                       "click okButton"}
        << expected::relayListing("08 06 00", "0C");
    QTest::newRow("empty input appends the first message")
        << QStringList{"click okButton"} << expected::emptyPayloadMessage();
    QTest::newRow("two clicks append two commands")
        << QStringList{"type 01", "click okButton", "click okButton"}
        << QByteArray("EE B3 00 03 00 01 FF FC FF FF\r\n").repeated(2);
    QTest::newRow("escaped command after an invalid payload")
        << QStringList{"type ABg", "click okButton", "type 0102", "click escapedFormCheck",
                       "click okButton"}
        << QByteArray("\\xEE\\xB3\\x00\\x03\\x00\\x01\\x02\\xFF\\xFC\\xFF\\xFF\r\n");
    QTest::newRow("chinese ascii payload as gbk bytes")
        << QStringList{"click asciiOption", "type 中", "click okButton"}
        << QByteArray("EE B3 00 03 00 D6 D0 FF FC FF FF\r\n");
    QTest::newRow("user's own note stays above the command")
        << QStringList{"note 备注：会议室", "type 01", "click okButton"}
        << gbk::fromUnicode(QStringLiteral("备注：会议室\r\n")) +
               "EE B3 00 03 00 01 FF FC FF FF\r\n";
}

void TestAssistantWindow::userSessions()
{
    QFETCH(QStringList, actions);
    QFETCH(QByteArray, output);

    for (const QString &action : actions) {
        perform(action);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(outputText(), output);
}

void TestAssistantWindow::outputEndScrolledIntoView()
{
    perform(QStringLiteral("type 01 02 03"));
    auto *ok = control<QPushButton>(QStringLiteral("okButton"));
    for (int click = 0; click < 60; ++click)
        QTest::mouseClick(ok, Qt::LeftButton);

    QScrollBar *bar = control<QPlainTextEdit>(QStringLiteral("outputBox"))->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QTRY_COMPARE(bar->value(), bar->maximum());
    QCOMPARE(outputText(), QByteArray("EE B3 00 03 00 01 02 03 FF FC FF FF\r\n").repeated(60));
}

void TestAssistantWindow::escapeCloses_data()
{
    QTest::addColumn<QString>("focusName");

    QTest::newRow("from the input box") << QStringLiteral("inputBox");
    QTest::newRow("from the output box") << QStringLiteral("outputBox");
    QTest::newRow("from a list") << QStringLiteral("baudList");
    QTest::newRow("from the OK button") << QStringLiteral("okButton");
}

void TestAssistantWindow::escapeCloses()
{
    QFETCH(QString, focusName);

    perform(QStringLiteral("type 0x12"));
    perform(QStringLiteral("note some text"));
    auto *focus = control<QWidget>(focusName);
    focus->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), focus);

    QTest::keyClick(focus, Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestAssistantWindow)

#include "tst_assistant_window.moc"

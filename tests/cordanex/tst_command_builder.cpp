#include "builder/command_builder.h"

#include "builder_texts.h"

#include <QTest>

using cordanex::BuildCommandText;
using cordanex::CommandForm;
using cordanex::PayloadMode;

Q_DECLARE_METATYPE(cordanex::CommandForm)

class TestCommandBuilder : public QObject
{
    Q_OBJECT

private slots:
    void buildsOutputText_data();
    void buildsOutputText();
    void escapedHexForm_data();
    void escapedHexForm();
};

namespace {

// The form as the window starts: COM1, 9600, first format entry, HEX, nothing ticked.
CommandForm defaultForm(const QByteArray &payload = QByteArray())
{
    CommandForm form;
    form.payloadText = payload;
    return form;
}

CommandForm asciiAb()
{
    CommandForm form = defaultForm("AB");
    form.payloadMode = PayloadMode::Ascii;
    return form;
}

CommandForm withLineBreak(CommandForm form)
{
    form.addLineBreak = true;
    return form;
}

CommandForm escaped(CommandForm form)
{
    form.escapedOutput = true;
    return form;
}

CommandForm withFormat(CommandForm form, int formatCode)
{
    form.formatCode = formatCode;
    return form;
}

// RS485 as the window forces it: 38400 and the first format entry.
CommandForm rs485(int device, int deviceCode, const QByteArray &payload)
{
    CommandForm form = defaultForm(payload);
    form.portCode = 8;
    form.baudCode = 6;
    form.formatCode = 0;
    form.rs485Device = device;
    form.deviceCode = deviceCode;
    return form;
}

} // namespace

void TestCommandBuilder::buildsOutputText_data()
{
    QTest::addColumn<CommandForm>("form");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    const QByteArray ab = "EE B3 00 03 00 41 42 FF FC FF FF\r\n";
    const QByteArray listing0C = expected::relayListing("08 06 00", "0C");

    QTest::newRow("ascii AB on COM1 at 9600") << asciiAb() << QByteArray() << ab;
    QTest::newRow("line break appended below the earlier command")
        << withLineBreak(asciiAb()) << ab << ab + "EE B3 00 03 00 41 42 0D 0A FF FC FF FF\r\n";
    QTest::newRow("escaped COM3 115200 format 10 replaces the box") << [] {
        CommandForm form = escaped(withFormat(defaultForm("01 A0 FF"), 10));
        form.portCode = 2;
        form.baudCode = 8;
        return form;
    }() << ab << QByteArray("\\xEE\\xB3\\x02\\x08\\x0A\\x01\\xA0\\xFF\\xFF\\xFC\\xFF\\xFF\r\n");
    QTest::newRow("RS485 other device sends the payload")
        << rs485(1, 1, "55 AA") << QByteArray()
        << QByteArray("EE B3 08 06 00 55 AA FF FC FF FF\r\n");
    QTest::newRow("RS485 VANTREL device 12 writes the relay listing")
        << rs485(0, 12, QByteArray()) << QByteArray() << listing0C;

    QTest::newRow("empty payload appends its message only")
        << defaultForm() << ab << ab + expected::emptyPayloadMessage();
    QTest::newRow("hex payload of spaces has no payload bytes")
        << defaultForm("   ") << QByteArray() << QByteArray("EE B3 00 03 00 FF FC FF FF\r\n");
    QTest::newRow("line break and escaped together")
        << escaped(withLineBreak(asciiAb())) << QByteArray()
        << QByteArray("\\xEE\\xB3\\x00\\x03\\x00\\x41\\x42\\x0D\\x0A\\xFF\\xFC\\xFF\\xFF\r\n");
    QTest::newRow("format entry 16 is code 10") << withFormat(defaultForm("00"), 16) << QByteArray()
                                                << QByteArray("EE B3 00 03 10 00 FF FC FF FF\r\n");
    QTest::newRow("format entry 21 is code 15") << withFormat(defaultForm("00"), 21) << QByteArray()
                                                << QByteArray("EE B3 00 03 15 00 FF FC FF FF\r\n");
    QTest::newRow("escaped with an invalid payload leaves the message unescaped")
        << escaped(defaultForm("0x12")) << ab << expected::notHexMessage();
    QTest::newRow("escaped command after an invalid payload's message")
        << escaped(asciiAb()) << expected::oddDigitCountMessage()
        << QByteArray("\\xEE\\xB3\\x00\\x03\\x00\\x41\\x42\\xFF\\xFC\\xFF\\xFF\r\n");
    QTest::newRow("escaped relay listing stays plain and alone")
        << escaped(rs485(0, 12, "zz")) << ab << listing0C;
    QTest::newRow("relay listing ignores line break and an invalid payload")
        << withLineBreak(rs485(0, 12, "zz")) << ab << ab + listing0C;
    QTest::newRow("chinese text in the box before is kept byte for byte")
        << asciiAb() << gbk::fromUnicode(QStringLiteral("备注：会议室\r\n"))
        << gbk::fromUnicode(QStringLiteral("备注：会议室\r\n")) + ab;
    QTest::newRow("ascii 255 bytes fill one command") << [] {
        CommandForm form = defaultForm(QByteArray(255, '\xFF'));
        form.payloadMode = PayloadMode::Ascii;
        return form;
    }() << QByteArray() << "EE B3 00 03 00 " + QByteArray("FF ").repeated(255) + "FF FC FF FF\r\n";
}

void TestCommandBuilder::buildsOutputText()
{
    QFETCH(CommandForm, form);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);

    QCOMPARE(BuildCommandText(form, before), after);
}

void TestCommandBuilder::escapedHexForm_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("escaped");

    QTest::newRow("spaced pairs") << QByteArray("E3 0A 1B") << QByteArray("\\xE3\\x0A\\x1B");
    QTest::newRow("line break kept") << QByteArray("EE FF\r\n") << QByteArray("\\xEE\\xFF\r\n");
    QTest::newRow("one pair") << QByteArray("00") << QByteArray("\\x00");
}

void TestCommandBuilder::escapedHexForm()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, escaped);
    QCOMPARE(cordanex::ToEscapedHexForm(text), escaped);
}

QTEST_APPLESS_MAIN(TestCommandBuilder)

#include "tst_command_builder.moc"

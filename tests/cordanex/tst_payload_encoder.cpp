#include "builder/payload_encoder.h"

#include "builder_texts.h"

#include <QTest>

using cordanex::EncodePayload;
using cordanex::PayloadMode;

Q_DECLARE_METATYPE(cordanex::PayloadMode)

class TestPayloadEncoder : public QObject
{
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void refuses_data();
    void refuses();
    void hexDigitsCoverEveryByteValue();
};

namespace {

QList<QByteArray> repeated(const QByteArray &byteText, int count)
{
    return QList<QByteArray>(count, byteText);
}

} // namespace

void TestPayloadEncoder::encodes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<PayloadMode>("mode");
    QTest::addColumn<QList<QByteArray>>("byteTexts");

    QTest::newRow("ascii letters and a space")
        << QByteArray("Ab ") << PayloadMode::Ascii << QList<QByteArray>{"41", "62", "20"};
    QTest::newRow("ascii spaces are kept")
        << QByteArray("   ") << PayloadMode::Ascii << QList<QByteArray>{"20", "20", "20"};
    QTest::newRow("ascii chinese character as its gbk bytes")
        << gbk::fromUnicode(QStringLiteral("中")) << PayloadMode::Ascii
        << QList<QByteArray>{"D6", "D0"};
    QTest::newRow("ascii lone lead byte at the end")
        << QByteArray("A\xD6") << PayloadMode::Ascii << QList<QByteArray>{"41", "D6"};
    QTest::newRow("ascii control characters")
        << QByteArray("\t\r\n") << PayloadMode::Ascii << QList<QByteArray>{"09", "0D", "0A"};
    QTest::newRow("ascii 255 bytes")
        << QByteArray(255, 'z') << PayloadMode::Ascii << repeated("7A", 255);
    QTest::newRow("ascii 127 chinese characters and a letter")
        << gbk::fromUnicode(QString(127, QChar(0x4E2D)) + QLatin1Char('A')) << PayloadMode::Ascii
        << [] {
               QList<QByteArray> texts;
               for (int i = 0; i < 127; ++i)
                   texts << "D6"
                         << "D0";
               return texts << "41";
           }();

    QTest::newRow("hex one byte") << QByteArray("0A") << PayloadMode::Hex
                                  << QList<QByteArray>{"0A"};
    QTest::newRow("hex spaced pairs")
        << QByteArray("01 A0 FF") << PayloadMode::Hex << QList<QByteArray>{"01", "A0", "FF"};
    QTest::newRow("hex pairs ignore where the spaces stand")
        << QByteArray(" 1 A0F ") << PayloadMode::Hex << QList<QByteArray>{"1A", "0F"};
    QTest::newRow("hex full-width space between digits")
        << QByteArray("12\xA1\xA1"
                      "34")
        << PayloadMode::Hex << QList<QByteArray>{"12", "34"};
    QTest::newRow("hex spaces only")
        << QByteArray("  \xA1\xA1 ") << PayloadMode::Hex << QList<QByteArray>{};
    QTest::newRow("hex 510 digits")
        << QByteArray(510, 'F') << PayloadMode::Hex << repeated("FF", 255);
    QTest::newRow("hex 510 digits spread by spaces")
        << QByteArray("AB ").repeated(255) << PayloadMode::Hex << repeated("AB", 255);
}

void TestPayloadEncoder::encodes()
{
    QFETCH(QByteArray, text);
    QFETCH(PayloadMode, mode);
    QFETCH(QList<QByteArray>, byteTexts);

    const cordanex::EncodedPayload payload = EncodePayload(text, mode);
    QVERIFY(payload.isValid());
    QCOMPARE(payload.message, QByteArray());
    QCOMPARE(payload.byteTexts(), byteTexts);
}

void TestPayloadEncoder::refuses_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<PayloadMode>("mode");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("ascii empty") << QByteArray() << PayloadMode::Ascii
                                 << expected::emptyPayloadMessage();
    QTest::newRow("hex empty") << QByteArray() << PayloadMode::Hex
                               << expected::emptyPayloadMessage();
    QTest::newRow("ascii 256 bytes")
        << QByteArray(256, 'z') << PayloadMode::Ascii << expected::tooLongMessage();
    QTest::newRow("ascii 128 chinese characters")
        << gbk::fromUnicode(QString(128, QChar(0x4E2D))) << PayloadMode::Ascii
        << expected::tooLongMessage();

    QTest::newRow("hex lower-case digits")
        << QByteArray("0a") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex 0x prefix")
        << QByteArray("0x12") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex tab between digits")
        << QByteArray("12\t34") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex comma between digits")
        << QByteArray("12,34") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex full-width digit")
        << QByteArray("1\xA3\xB2") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex lone lead byte at the end")
        << QByteArray("41\xA1") << PayloadMode::Hex << expected::notHexMessage();
    // A1 followed by an ASCII space is one two-byte character, not a space and a lead byte.
    QTest::newRow("hex lead byte swallowing a space")
        << QByteArray("12\xA1 34") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex invalid character before odd count")
        << QByteArray("ABg") << PayloadMode::Hex << expected::notHexMessage();
    QTest::newRow("hex invalid character before length")
        << QByteArray(600, 'A') + 'g' << PayloadMode::Hex << expected::notHexMessage();

    QTest::newRow("hex 511 digits is too long, not odd")
        << QByteArray(511, '0') << PayloadMode::Hex << expected::tooLongMessage();
    QTest::newRow("hex 512 digits")
        << QByteArray(512, '0') << PayloadMode::Hex << expected::tooLongMessage();

    QTest::newRow("hex odd digit count")
        << QByteArray("ABC") << PayloadMode::Hex << expected::oddDigitCountMessage();
    QTest::newRow("hex odd digit count across spaces")
        << QByteArray("12 34 5") << PayloadMode::Hex << expected::oddDigitCountMessage();
}

void TestPayloadEncoder::refuses()
{
    QFETCH(QByteArray, text);
    QFETCH(PayloadMode, mode);
    QFETCH(QByteArray, message);

    const cordanex::EncodedPayload payload = EncodePayload(text, mode);
    QVERIFY(!payload.isValid());
    QCOMPARE(payload.message, message);
    QVERIFY(payload.bytes.isEmpty());
}

void TestPayloadEncoder::hexDigitsCoverEveryByteValue()
{
    // Two payloads of 128 bytes each, so that every byte value passes the 255-byte limit.
    for (int first : {0, 128}) {
        QByteArray text;
        QByteArray bytes;
        for (int value = first; value < first + 128; ++value) {
            text += QByteArray::number(value, 16).toUpper().rightJustified(2, '0') + ' ';
            bytes += static_cast<char>(value);
        }
        const cordanex::EncodedPayload payload = EncodePayload(text, PayloadMode::Hex);
        QVERIFY2(payload.isValid(), text.constData());
        QCOMPARE(payload.bytes, bytes);
        QCOMPARE(payload.byteTexts().join(' ') + ' ', text);
    }
}

QTEST_APPLESS_MAIN(TestPayloadEncoder)

#include "tst_payload_encoder.moc"

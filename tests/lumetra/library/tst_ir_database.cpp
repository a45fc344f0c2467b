#include "library/ir_database.h"
#include "library/whole_file.h"

#include <QTemporaryDir>
#include <QTest>

#include <QDir>
#include <QFile>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using lumetra::IrCodeEntry;

namespace {

// GBK bytes written out, so that a test's input does not depend on the source encoding.
// "\xB0\x7C" is a two-byte character whose second byte is "|"; "\xA1\xA1" the full-width space.
const QByteArray kTwoByteWithBar("\xB0\x7C");
const QByteArray kFullWidthSpace("\xA1\xA1");

IrCodeEntry entry(const QByteArray &keyName, const QByteArray &irLength, const QByteArray &irData)
{
    return IrCodeEntry{keyName, irLength, irData};
}

} // namespace

class TestIrDatabase : public QObject
{
    Q_OBJECT

private slots:
    void splitText_data();
    void splitText();
    void readIrDatabase_data();
    void readIrDatabase();
    void readsHostileInputInLinearTime_data();
    void readsHostileInputInLinearTime();
    void writeIrDatabase_data();
    void writeIrDatabase();
    void savedLibraryLoadsBack();
    void targetPath_data();
    void targetPath();
    void writeWholeFileReplacesContent();
    void failedWriteKeepsOldFile();
    void unreadableFileReadsEmpty();
};

void TestIrDatabase::splitText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("delimiter");
    QTest::addColumn<QList<QByteArray>>("segments");

    using L = QList<QByteArray>;
    QTest::newRow("three fields") << QByteArray("a|b|c") << QByteArray("|") << L{"a", "b", "c"};
    QTest::newRow("empty middle segment kept")
        << QByteArray("a||c") << QByteArray("|") << L{"a", "", "c"};
    QTest::newRow("empty rest dropped") << QByteArray("a|b|") << QByteArray("|") << L{"a", "b"};
    QTest::newRow("leading delimiter gives empty first")
        << QByteArray("|b") << QByteArray("|") << L{"", "b"};
    QTest::newRow("only delimiters") << QByteArray("||") << QByteArray("|") << L{"", ""};
    QTest::newRow("empty text") << QByteArray() << QByteArray("|") << L{};
    QTest::newRow("no delimiter") << QByteArray("abc") << QByteArray("|") << L{"abc"};
    QTest::newRow("bar as second byte does not split")
        << (QByteArray("a") + kTwoByteWithBar + "b|c") << QByteArray("|")
        << L{QByteArray("a") + kTwoByteWithBar + "b", "c"};
    QTest::newRow("bar after a complete two-byte character splits")
        << (kTwoByteWithBar + "|x") << QByteArray("|") << L{kTwoByteWithBar, "x"};
    QTest::newRow("lead byte at the very end")
        << QByteArray("a|\x81") << QByteArray("|") << L{"a", "\x81"};
    QTest::newRow("lines ending in CR LF give no empty last line")
        << QByteArray("one\r\ntwo\r\n") << QByteArray("\r\n") << L{"one", "two"};
    QTest::newRow("empty line between two CR LF kept")
        << QByteArray("one\r\n\r\ntwo") << QByteArray("\r\n") << L{"one", "", "two"};
    QTest::newRow("lone CR and LF stay inside the line")
        << QByteArray("a\rb\nc\r\nd") << QByteArray("\r\n") << L{"a\rb\nc", "d"};
    QTest::newRow("CR LF split after CR")
        << QByteArray("a\r\r\nb") << QByteArray("\r\n") << L{"a\r", "b"};
}

void TestIrDatabase::splitText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, delimiter);
    QFETCH(QList<QByteArray>, segments);
    QCOMPARE(lumetra::SplitText(text, delimiter), segments);
}

void TestIrDatabase::readIrDatabase_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<IrCodeEntry>>("entries");

    using L = QList<IrCodeEntry>;
    QTest::newRow("one entry of 18 bytes")
        << QByteArray("Power|8|0A1B2C3D\r\n") << L{entry("Power", "8", "0A1B2C3D")};
    QTest::newRow("last line without CR LF")
        << QByteArray("A|2|0A\r\nB|4|0B0C") << L{entry("A", "2", "0A"), entry("B", "4", "0B0C")};
    QTest::newRow("four fields keep the first three")
        << QByteArray("a|b|c|d\r\n") << L{entry("a", "b", "c")};
    QTest::newRow("spaces kept as they are")
        << QByteArray(" TV |8 | 0A1B\r\n") << L{entry(" TV ", "8 ", " 0A1B")};
    QTest::newRow("three empty fields and a fourth add nothing")
        << QByteArray("|||x\r\nA|2|0A\r\n") << L{entry("A", "2", "0A")};
    QTest::newRow("empty IR data loads with an empty third field")
        << QByteArray("Power|8|\r\nB|2|0B\r\n")
        << L{entry("Power", "8", ""), entry("B", "2", "0B")};
    QTest::newRow("line with one field")
        << QByteArray("Power\r\nB|2|0B\r\n") << L{entry("Power", "", ""), entry("B", "2", "0B")};
    QTest::newRow("empty line between entries adds nothing")
        << QByteArray("A|2|0A\r\n\r\nB|2|0B\r\n")
        << L{entry("A", "2", "0A"), entry("B", "2", "0B")};
    QTest::newRow("bare LF line ends read as one line")
        << QByteArray("Power|8|0A1B2C3D\nMute|4|0E0F\n")
        << L{entry("Power", "8", "0A1B2C3D\nMute")};
    QTest::newRow("zero byte ends the text")
        << QByteArray("A|2|0A\r\nB|2|0B", 13) + QByteArray(1, '\0') + "C|2|0C\r\n"
        << L{entry("A", "2", "0A"), entry("B", "2", "0")};
    QTest::newRow("zero byte first gives nothing") << QByteArray(1, '\0') + "A|2|0A\r\n" << L{};
    QTest::newRow("two-byte character with bar in a key name")
        << (kTwoByteWithBar + "|2|0A\r\n") << L{entry(kTwoByteWithBar, "2", "0A")};
    QTest::newRow("lead byte before CR swallows it")
        << QByteArray("A|2|\x81\r\nB|2|0B\r\n") << L{entry("A", "2", "\x81\r\nB")};
    QTest::newRow("empty file") << QByteArray() << L{};
}

void TestIrDatabase::readIrDatabase()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<IrCodeEntry>, entries);
    QCOMPARE(lumetra::readIrDatabase(file), entries);
}

void TestIrDatabase::readsHostileInputInLinearTime_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qsizetype>("entryCount");
    QTest::addColumn<qsizetype>("firstDataSize");

    const QByteArray megabyte(1 << 20, 'A');
    QTest::newRow("one line of a megabyte") << QByteArray("K|2|") + megabyte + "\r\n"
                                            << qsizetype(1) << megabyte.size();
    QTest::newRow("a megabyte of delimiters")
        << QByteArray(1 << 20, '|') << qsizetype(0) << qsizetype(0);
    QTest::newRow("a megabyte of lead bytes")
        << QByteArray("K|2|") + QByteArray(1 << 20, '\xFF') << qsizetype(1) << qsizetype(1 << 20);

    QByteArray manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "Key" + QByteArray::number(i) + "|4|0A1B\r\n";
    QTest::newRow("100000 lines") << manyLines << qsizetype(100000) << qsizetype(4);
    QTest::newRow("100000 empty lines")
        << QByteArray(200000, '\r').replace("\r\r", "\r\n") << qsizetype(0) << qsizetype(0);
}

void TestIrDatabase::readsHostileInputInLinearTime()
{
    QFETCH(QByteArray, file);
    QFETCH(qsizetype, entryCount);
    QFETCH(qsizetype, firstDataSize);
    const QList<IrCodeEntry> entries = lumetra::readIrDatabase(file);
    QCOMPARE(entries.size(), entryCount);
    if (!entries.isEmpty())
        QCOMPARE(entries.first().irData.size(), firstDataSize);
}

void TestIrDatabase::writeIrDatabase_data()
{
    QTest::addColumn<QList<IrCodeEntry>>("entries");
    QTest::addColumn<QByteArray>("file");

    using L = QList<IrCodeEntry>;
    QTest::newRow("one entry") << L{entry("Power", "8", "0A1B2C3D")}
                               << QByteArray("Power|8|0A1B2C3D\r\n");
    QTest::newRow("space removed from every field")
        << L{entry("Power On", " 8", "0A 1B 2C 3D ")} << QByteArray("PowerOn|8|0A1B2C3D\r\n");
    QTest::newRow("full-width space removed, two-byte character kept")
        << L{entry(kTwoByteWithBar + kFullWidthSpace + "TV", "4", "0A1B")}
        << (kTwoByteWithBar + "TV|4|0A1B\r\n");
    QTest::newRow("line break in IR data removed")
        << L{entry("Mute", "10", "0A1B\r\n2C3D")} << QByteArray("Mute|10|0A1B2C3D\r\n");
    QTest::newRow("lone LF stays")
        << L{entry("Mute", "4", "0A\n1B")} << QByteArray("Mute|4|0A\n1B\r\n");
    QTest::newRow("empty IR data") << L{entry("Power", "8", "")} << QByteArray("Power|8|\r\n");
    QTest::newRow("rows in order")
        << L{entry("A", "2", "0A"), entry("B", "2", "0B")} << QByteArray("A|2|0A\r\nB|2|0B\r\n");
    QTest::newRow("no entries") << L{} << QByteArray();
}

void TestIrDatabase::writeIrDatabase()
{
    QFETCH(QList<IrCodeEntry>, entries);
    QFETCH(QByteArray, file);
    QCOMPARE(lumetra::writeIrDatabase(entries), file);
}

void TestIrDatabase::savedLibraryLoadsBack()
{
    const QList<IrCodeEntry> library{entry("Power", "8", "0A1B2C3D"),
                                     entry(kTwoByteWithBar, "4", "0E0F"), entry("Mute", "8", ""),
                                     entry("", "2", "0C")};
    QCOMPARE(lumetra::readIrDatabase(lumetra::writeIrDatabase(library)), library);
}

void TestIrDatabase::targetPath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("target");

    QTest::newRow("name without suffix") << "/tmp/remote"
                                         << "/tmp/remote.ir";
    QTest::newRow("existing .ir file") << "/tmp/remote.ir"
                                       << "/tmp/remote.ir";
    QTest::newRow("upper-case suffix") << "/tmp/remote.IR"
                                       << "/tmp/remote.IR";
    QTest::newRow("other suffix") << "/tmp/remote.txt"
                                  << "/tmp/remote.txt.ir";
    QTest::newRow("ir without dot") << "/tmp/remoteir"
                                    << "/tmp/remoteir.ir";
}

void TestIrDatabase::targetPath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, target);
    QCOMPARE(lumetra::irDatabaseTargetPath(chosen), target);
}

void TestIrDatabase::writeWholeFileReplacesContent()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("remote.ir");
    QVERIFY(lumetra::writeWholeFile(path, "A|2|0A\r\nB|2|0B\r\nC|2|0C\r\n"));
    QVERIFY(lumetra::writeWholeFile(path, "D|2|0D\r\n"));
    QCOMPARE(lumetra::readWholeFile(path), QByteArray("D|2|0D\r\n"));
}

void TestIrDatabase::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!lumetra::writeWholeFile(dir.filePath("missing/remote.ir"), "A|2|0A\r\n"));
    QVERIFY(!lumetra::writeWholeFile(dir.path(), "A|2|0A\r\n"));
    QVERIFY(!lumetra::writeWholeFile(QString(), "A|2|0A\r\n"));

    // A write that fails half-way (the disk full, here a file size limit that holds for root
    // as well) leaves the old file whole and no temporary file behind.
    const QString path = dir.filePath("remote.ir");
    const QByteArray old("A|2|0A\r\n");
    QVERIFY(lumetra::writeWholeFile(path, old));
#ifdef Q_OS_UNIX
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = lumetra::writeWholeFile(path, QByteArray(4096, 'B'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(lumetra::readWholeFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"remote.ir"});
#endif
}

void TestIrDatabase::unreadableFileReadsEmpty()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(lumetra::readWholeFile(dir.filePath("absent.ir")), QByteArray());
    QCOMPARE(lumetra::readWholeFile(dir.path()), QByteArray());
    QCOMPARE(lumetra::readWholeFile(QString()), QByteArray());
}

QTEST_APPLESS_MAIN(TestIrDatabase)
#include "tst_ir_database.moc"

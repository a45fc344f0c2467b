#include "gbk/gbk_text.h"
#include "window/profile_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace lumetra;

namespace {

QByteArray g(const char16_t *text)
{
    return gbk::fromUnicode(QString::fromUtf16(text));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void readsOneKey_data();
    void readsOneKey();
    void writeChangesOnlyItsLine_data();
    void writeChangesOnlyItsLine();
    void writesTheSettingsFileOfOneRun();
    void fileErrors();
    void failedWriteKeepsTheOldFile();
};

void TestProfileFile::readsOneKey_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray settings = g(u"[主机IP地址]\r\nIP=10.0.0.7\r\n[主机端口]\r\nPort=8081\r\n");
    QTest::newRow("GBK section") << settings << g(u"主机端口") << QByteArray("Port")
                                 << QByteArray("8081");
    QTest::newRow("key of another section")
        << settings << g(u"主机端口") << QByteArray("IP") << QByteArray();
    QTest::newRow("missing section") << settings << g(u"启动窗口") << g(u"宽度") << QByteArray();
    QTest::newRow("empty file") << QByteArray() << QByteArray("a") << QByteArray("b")
                                << QByteArray();
    QTest::newRow("ASCII case ignored") << QByteArray("[Host]\r\nport=1\r\n") << QByteArray("HOST")
                                        << QByteArray("PORT") << QByteArray("1");
    // 81 41 and 81 61 are two different characters, not one letter in two cases.
    QTest::newRow("second byte not folded")
        << QByteArray("[\x81\x61]\r\nk=1\r\n") << QByteArray("\x81\x41") << QByteArray("k")
        << QByteArray();
    QTest::newRow("']' as a second byte")
        << QByteArray("[\x81\x5D\x81\x5D]\r\nk=2\r\n") << QByteArray("\x81\x5D\x81\x5D")
        << QByteArray("k") << QByteArray("2");
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ s ]  \r\n  k  =  v w \t\r\n") << QByteArray("s") << QByteArray("k")
        << QByteArray("v w");
    QTest::newRow("LF breaks, no final break")
        << QByteArray("[s]\nx=0\nk=abc") << QByteArray("s") << QByteArray("k") << QByteArray("abc");
    QTest::newRow("first of two equal keys")
        << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << QByteArray("s") << QByteArray("k")
        << QByteArray("1");
    QTest::newRow("comment is no key")
        << QByteArray("[s]\r\n;k=1\r\n") << QByteArray("s") << QByteArray(";k") << QByteArray();
    QTest::newRow("empty value") << QByteArray("[s]\r\nk=\r\n") << QByteArray("s")
                                 << QByteArray("k") << QByteArray();

    const QByteArray longValue = QByteArray(maxProfileValueSize - 1, 'a') + g(u"码码");
    QTest::newRow("long value cut before a split character")
        << QByteArray("[s]\r\nk=" + longValue + "\r\n") << QByteArray("s") << QByteArray("k")
        << QByteArray(maxProfileValueSize - 1, 'a');
    const QByteArray exact(maxProfileValueSize + 5, '7');
    QTest::newRow("long value cut at the limit")
        << QByteArray("[s]\r\nk=" + exact) << QByteArray("s") << QByteArray("k")
        << exact.left(maxProfileValueSize);
}

void TestProfileFile::readsOneKey()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);

    QCOMPARE(profileValue(content, section, key), expected);
}

void TestProfileFile::writeChangesOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("empty file") << QByteArray() << QByteArray("s") << QByteArray("k")
                                << QByteArray("v") << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("value replaced, neighbours kept")
        << QByteArray("; top\n[a]\nk=old value\nz = 9\n\n[b]\nk=2\n") << QByteArray("A")
        << QByteArray("K") << QByteArray("new")
        << QByteArray("; top\n[a]\nK=new\nz = 9\n\n[b]\nk=2\n");
    QTest::newRow("new key after the section's last line")
        << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n") << QByteArray("a") << QByteArray("k")
        << QByteArray("v") << QByteArray("[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n");
    QTest::newRow("new key in the last section without final break")
        << QByteArray("[a]\r\nx=1") << QByteArray("a") << QByteArray("k") << QByteArray("v")
        << QByteArray("[a]\r\nx=1\r\nk=v");
    QTest::newRow("new section after a file without final break")
        << QByteArray("[a]\r\nx=1") << QByteArray("b") << QByteArray("k") << QByteArray("v")
        << QByteArray("[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
    QTest::newRow("unrelated sections kept byte for byte")
        << g(u"[其他]\r\n名称 = 值 \r\n;注释\r\n[主机端口]\r\nPort=1\r\n[尾]\nq=\n")
        << g(u"主机端口") << QByteArray("Port") << QByteArray("abc")
        << g(u"[其他]\r\n名称 = 值 \r\n;注释\r\n[主机端口]\r\nPort=abc\r\n[尾]\nq=\n");
    QTest::newRow("empty section gets its first key")
        << QByteArray("[a]\r\n[b]\r\n") << QByteArray("a") << QByteArray("k") << QByteArray("1")
        << QByteArray("[a]\r\nk=1\r\n[b]\r\n");
}

void TestProfileFile::writeChangesOnlyItsLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);

    const QByteArray written = withProfileValue(before, section, key, value);
    QCOMPARE(written, after);
    QCOMPARE(profileValue(written, section, key), value);
}

void TestProfileFile::writesTheSettingsFileOfOneRun()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Lumetra.ini"));
    QVERIFY(!QFile::exists(path));

    QVERIFY(writeProfileString(path, g(u"主机IP地址"), "IP", "10.0.0.7"));
    QVERIFY(writeProfileString(path, g(u"主机端口"), "Port", "8081"));
    QCOMPARE(readAll(path), g(u"[主机IP地址]\r\nIP=10.0.0.7\r\n[主机端口]\r\nPort=8081\r\n"));

    QVERIFY(writeProfileString(path, g(u"主机IP地址"), "IP", "10.0.0.8"));
    QVERIFY(writeProfileString(path, g(u"主机端口"), "Port", "8081"));
    QVERIFY(writeProfileString(path, g(u"启动窗口"), g(u"宽度"), "476"));
    QVERIFY(writeProfileString(path, g(u"启动窗口"), g(u"高度"), "543"));
    QCOMPARE(readAll(path), g(u"[主机IP地址]\r\nIP=10.0.0.8\r\n[主机端口]\r\nPort=8081\r\n"
                              u"[启动窗口]\r\n宽度=476\r\n高度=543\r\n"));
    QCOMPARE(readProfileString(path, g(u"启动窗口"), g(u"高度")), QByteArray("543"));
}

void TestProfileFile::fileErrors()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(readProfileString(dir.filePath(QStringLiteral("missing.ini")), "s", "k"),
             QByteArray());
    // A folder where the file should be: unreadable, and not writable.
    QCOMPARE(readProfileString(dir.path(), "s", "k"), QByteArray());
    QVERIFY(!writeProfileString(dir.path(), "s", "k", "v"));
    QVERIFY(
        !writeProfileString(dir.filePath(QStringLiteral("no/such/folder/x.ini")), "s", "k", "v"));
}

void TestProfileFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Lumetra.ini"));
    QVERIFY(writeProfileString(path, "s", "k", "old"));
    const QByteArray before = readAll(path);

    // A file size limit makes the write fail part of the way, as a full disk would.
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool written = writeProfileString(path, "s", "k", QByteArray(4000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QCOMPARE(readAll(path), before);
}

QTEST_APPLESS_MAIN(TestProfileFile)
#include "tst_profile_file.moc"

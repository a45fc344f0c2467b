#include "link/receive_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>

using namespace lumetra;

class TestReceiveView : public QObject
{
    Q_OBJECT

private slots:
    void appendsJoinAtTheEndWhereverTheCaretIs();
    void editing_data();
    void editing();
    void rowsWrapAndFollowTheWidth();
    void clipboardAndDoubleClick();
};

// The receive box must read exactly the appended hex: no separators, nothing lost at row
// boundaries, and the caret and the view follow the end.
void TestReceiveView::appendsJoinAtTheEndWhereverTheCaretIs()
{
    ReceiveView view;
    view.resize(363, 157);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QString expected;
    for (int i = 0; i < 200; ++i) {
        const QString chunk = QString::number(i * 7919, 16).toUpper().rightJustified(6, u'0');
        if (i == 50)
            view.setCursorPosition(3);
        if (i == 120)
            view.setSelection(10, 40);
        view.appendAtEnd(chunk);
        expected += chunk;
    }
    QCOMPARE(view.toPlainText(), expected);
    QCOMPARE(view.cursorPosition(), expected.size());
    QVERIFY(!view.hasSelection());
    QVERIFY(view.rowCount() > 10);
    QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());

    view.clear();
    QCOMPARE(view.toPlainText(), QString());
    QCOMPARE(view.rowCount(), 1);
}

void TestReceiveView::editing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    const QKeySequence none;
    QTest::newRow("typing inserts at the caret") << "1234" << 2 << 2 << none << "ab"
                                                 << "12ab34";
    QTest::newRow("typing replaces the selection") << "123456" << 1 << 4 << none << "x"
                                                   << "1x56";
    QTest::newRow("backspace takes the character before the caret")
        << "1234" << 2 << 2 << QKeySequence(Qt::Key_Backspace) << ""
        << "134";
    QTest::newRow("backspace at the start changes nothing")
        << "1234" << 0 << 0 << QKeySequence(Qt::Key_Backspace) << ""
        << "1234";
    QTest::newRow("delete takes the character after the caret")
        << "1234" << 2 << 2 << QKeySequence(Qt::Key_Delete) << ""
        << "124";
    QTest::newRow("delete removes a backwards selection")
        << "123456" << 5 << 1 << QKeySequence(Qt::Key_Delete) << ""
        << "16";
    QTest::newRow("enter inserts a line break")
        << "1234" << 2 << 2 << QKeySequence(Qt::Key_Return) << ""
        << "12\n34";
    QTest::newRow("left then typing") << "1234" << 4 << 4 << QKeySequence(Qt::Key_Left) << "z"
                                      << "123z4";
    QTest::newRow("home goes to the row start")
        << "12\n34" << 5 << 5 << QKeySequence(Qt::Key_Home) << "z"
        << "12\nz34";
    QTest::newRow("up keeps the column")
        << "1234\n5678" << 7 << 7 << QKeySequence(Qt::Key_Up) << "z"
        << "12z34\n5678";
    QTest::newRow("Chinese text typed")
        << "12" << 1 << 1 << none << QStringLiteral("中文") << QStringLiteral("1中文2");
}

void TestReceiveView::editing()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, cursor);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    ReceiveView view;
    view.resize(363, 157);
    view.setPlainText(text);
    view.setSelection(anchor, cursor);
    if (!keys.isEmpty())
        QTest::keySequence(&view, keys);
    if (!typed.isEmpty())
        QTest::sendKeyEvent(QTest::Click, &view, Qt::Key_unknown, typed, Qt::NoModifier);
    QCOMPARE(view.toPlainText(), expected);
}

void TestReceiveView::rowsWrapAndFollowTheWidth()
{
    ReceiveView view;
    view.resize(363, 157);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QString code = QString(1000, u'A');
    view.setPlainText(code);
    const qsizetype narrowRows = view.rowCount();
    QVERIFY(narrowRows > 5);

    view.resize(726, 157);
    QVERIFY(view.rowCount() < narrowRows);
    QCOMPARE(view.toPlainText(), code);

    view.setPlainText(QStringLiteral("12\n34\n"));
    QCOMPARE(view.rowCount(), 3);
    view.setPlainText(QStringLiteral("12\r\n34"));
    QCOMPARE(view.toPlainText(), QStringLiteral("12\n34"));
}

void TestReceiveView::clipboardAndDoubleClick()
{
    ReceiveView view;
    view.resize(363, 157);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPlainText(QStringLiteral("0A1B 2C3D"));

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(view.selectedText(), QStringLiteral("0A1B"));
    QTest::keySequence(&view, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0A1B"));

    QGuiApplication::clipboard()->setText(QStringLiteral("EE\r\nFF"));
    QTest::keySequence(&view, QKeySequence::SelectAll);
    QTest::keySequence(&view, QKeySequence::Paste);
    QCOMPARE(view.toPlainText(), QStringLiteral("EE\nFF"));
}

QTEST_MAIN(TestReceiveView)
#include "tst_receive_view.moc"

#include "library/library_panel.h"
#include "library/user_dialogs.h"
#include "link/receive_view.h"
#include "window/main_window.h"
#include "window/window_services.h"

#include "gbk/gbk_text.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <deque>

using lumetra::LibraryPanel;
using lumetra::UserDialogs;

namespace {

// Answers the window's message boxes and file dialogs from a script and records what was asked.
// A question that the script did not foresee is answered with Cancel.
class ScriptedDialogs final : public UserDialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
    };
    struct FileRequest
    {
        FileMode mode;
        FileFilter filter;
        QString initialPath;
    };

    Answer showMessage(const QString &text, const QString &title, Icon icon,
                       Buttons buttons) override
    {
        messages.push_back({text, title, icon, buttons});
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> chooseFile(FileMode mode, const FileFilter &filter,
                                      const QString &initialPath) override
    {
        fileRequests.push_back({mode, filter, initialPath});
        if (chosenFiles.empty())
            return std::nullopt;
        const std::optional<QString> chosen = chosenFiles.front();
        chosenFiles.pop_front();
        return chosen;
    }

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> chosenFiles;
    std::vector<Message> messages;
    std::vector<FileRequest> fileRequests;
};

const QString kLearnFirst = QStringLiteral("请先学习红外数据");
const QString kBadIrData = QStringLiteral("红外数据错误，请重新录取。");
const QString kNoLibrary = QStringLiteral("请先建立红外数据库或者打开现有数据库");
const QString kNoSelection = QStringLiteral("请先选中需要替换的遥控按钮");
const QString kFriendly = QStringLiteral("友情提示");
const QString kOperation = QStringLiteral("操作提示");

using Rows = QList<QStringList>;

} // namespace

class TestLibraryPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listIsAReportWithThreeColumns();
    void addToLibrary_data();
    void addToLibrary();
    void replaceSelected_data();
    void replaceSelected();
    void renameKey_data();
    void renameKey();
    void deleteSelected_data();
    void deleteSelected();
    void leftClicksShowTheSelectedRowsData();
    void keyboardAndRightClickLeaveSendBox();

    void openAsksOnlyWhenTheListHasRows();
    void openCancelKeepsTheLibrary_data();
    void openCancelKeepsTheLibrary();
    void openReplacesRowsInFileOrder();
    void openMissingFileGivesEmptyList();
    void saveEmptyListWarns();
    void saveTargetName_data();
    void saveTargetName();
    void saveRemovesSpacesAndLineBreaksInTheFileOnly();
    void saveFailureIsReported();
    void saveThenOpenRoundTrip();

private:
    QTreeWidget *list() const;
    QPushButton *button(const char16_t *name) const;
    QLineEdit *keyNameBox() const;
    QPlainTextEdit *sendBox() const;
    LibraryPanel *panel() const;
    void setReceiveText(const QString &text);
    QString receiveText() const;
    void fillRows(int count);
    void selectRows(const QList<int> &rows);
    QStringList rowTexts(int row) const;
    Rows allRows() const;
    QString writeFile(const QString &name, const QByteArray &bytes);
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<lumetra::MainWindow> m_window;
};

void TestLibraryPanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs = std::make_shared<ScriptedDialogs>();
    lumetra::WindowServices services = lumetra::desktopServices();
    services.settingsPath = m_dir->filePath(QStringLiteral("Lumetra.ini"));
    services.dialogs = m_dialogs;
    m_window = std::make_unique<lumetra::MainWindow>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(list() && keyNameBox() && sendBox() && panel());
}

void TestLibraryPanel::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_dir.reset();
}

QTreeWidget *TestLibraryPanel::list() const
{
    return m_window->findChild<QTreeWidget *>(QStringLiteral("超级列表框1"));
}

QPushButton *TestLibraryPanel::button(const char16_t *name) const
{
    auto *found = m_window->findChild<QPushButton *>(QString::fromUtf16(name));
    if (!found)
        qFatal("no button %s", qPrintable(QString::fromUtf16(name)));
    return found;
}

QLineEdit *TestLibraryPanel::keyNameBox() const
{
    return m_window->findChild<QLineEdit *>(QStringLiteral("编辑框3"));
}

QPlainTextEdit *TestLibraryPanel::sendBox() const
{
    return m_window->findChild<QPlainTextEdit *>(QStringLiteral("编辑框2"));
}

LibraryPanel *TestLibraryPanel::panel() const
{
    return m_window->findChild<LibraryPanel *>();
}

// The receive box is filled the way a user edits it; a learned code arrives the same way.
void TestLibraryPanel::setReceiveText(const QString &text)
{
    auto *box = m_window->findChild<lumetra::ReceiveView *>(QStringLiteral("编辑框1"));
    QVERIFY(box);
    box->setPlainText(text);
}

QString TestLibraryPanel::receiveText() const
{
    return m_window->findChild<lumetra::ReceiveView *>(QStringLiteral("编辑框1"))->toPlainText();
}

// Rows K1..Kn with the lengths 2 and the data 01, 02, ...
void TestLibraryPanel::fillRows(int count)
{
    for (int i = 1; i <= count; ++i) {
        QVERIFY(panel()->AppendRow("K" + QByteArray::number(i), "2",
                                   QByteArray::number(i).rightJustified(2, '0')));
    }
}

void TestLibraryPanel::selectRows(const QList<int> &rows)
{
    list()->clearSelection();
    for (const int row : rows)
        list()->topLevelItem(row)->setSelected(true);
}

QStringList TestLibraryPanel::rowTexts(int row) const
{
    const QTreeWidgetItem *item = list()->topLevelItem(row);
    return {item->text(0), item->text(1), item->text(2)};
}

Rows TestLibraryPanel::allRows() const
{
    Rows rows;
    for (int row = 0; row < list()->topLevelItemCount(); ++row)
        rows.append(rowTexts(row));
    return rows;
}

QString TestLibraryPanel::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(path));
    return path;
}

void TestLibraryPanel::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    const QRect rect = list()->visualItemRect(list()->topLevelItem(row));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, QPoint(10, rect.center().y()));
}

void TestLibraryPanel::listIsAReportWithThreeColumns()
{
    QTreeWidget *view = list();
    QCOMPARE(view->columnCount(), 3);
    const QTreeWidgetItem *header = view->headerItem();
    QCOMPARE(QStringList({header->text(0), header->text(1), header->text(2)}),
             QStringList({QStringLiteral("按键名称"), QStringLiteral("红外长度"),
                          QStringLiteral("红外数据")}));
    QCOMPARE(view->columnWidth(0), 70);
    QCOMPARE(view->columnWidth(1), 70);
    QCOMPARE(view->columnWidth(2), 500);
    QVERIFY(!view->isHeaderHidden());
    QVERIFY(view->header()->sectionsMovable());
    QVERIFY(!view->isSortingEnabled());
    QCOMPARE(view->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(view->frameShape(), QFrame::NoFrame);
    QCOMPARE(view->palette().color(QPalette::Inactive, QPalette::Highlight),
             view->palette().color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(view->topLevelItemCount(), 0);

    // Clicking a header leaves the rows in insertion order.
    fillRows(3);
    QVERIFY(panel()->AppendRow("A", "2", "00"));
    QTest::mouseClick(view->header()->viewport(), Qt::LeftButton, {},
                      QPoint(view->header()->sectionViewportPosition(0) + 10, 5));
    QCOMPARE(rowTexts(0).first(), QStringLiteral("K1"));
    QCOMPARE(rowTexts(3).first(), QStringLiteral("A"));
}

void TestLibraryPanel::addToLibrary_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("keyName");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("newRow");
    QTest::addColumn<int>("cellsSet");

    const QString power = QStringLiteral("Power");
    QTest::newRow("empty receive box")
        << QString() << power << kLearnFirst << kFriendly << QStringList() << 0;
    QTest::newRow("empty receive box and empty key name")
        << QString() << QString() << kLearnFirst << kFriendly << QStringList() << 0;
    QTest::newRow("three bytes") << QStringLiteral("ABC") << power << kBadIrData << kOperation
                                 << QStringList() << 0;
    QTest::newRow("one trailing space makes it odd")
        << QStringLiteral("0A1B ") << power << kBadIrData << kOperation << QStringList() << 0;
    QTest::newRow("four hex digits")
        << QStringLiteral("0A1B") << power << QString() << QString()
        << QStringList({power, QStringLiteral("4"), QStringLiteral("0A1B")}) << 3;
    QTest::newRow("spaces count in the length, not in the data")
        << QStringLiteral("  0A1B  ") << power << QString() << QString()
        << QStringList({power, QStringLiteral("8"), QStringLiteral("0A1B")}) << 3;
    QTest::newRow("two spaces only set two cells")
        << QStringLiteral("  ") << power << QString() << QString()
        << QStringList({power, QStringLiteral("2"), QString()}) << 2;
    QTest::newRow("key name trimmed")
        << QStringLiteral("0A1B") << QStringLiteral(" TV ") << QString() << QString()
        << QStringList({QStringLiteral("TV"), QStringLiteral("4"), QStringLiteral("0A1B")}) << 3;
    QTest::newRow("full-width spaces trimmed from the key name")
        << QStringLiteral("0A1B") << QStringLiteral("\u3000电视\u3000") << QString() << QString()
        << QStringList({QStringLiteral("电视"), QStringLiteral("4"), QStringLiteral("0A1B")}) << 3;
    QTest::newRow("empty key name accepted")
        << QStringLiteral("0A1B") << QString() << QString() << QString()
        << QStringList({QString(), QStringLiteral("4"), QStringLiteral("0A1B")}) << 3;
    QTest::newRow("a line break counts as CR LF")
        << QStringLiteral("0A\n1B") << power << QString() << QString()
        << QStringList({power, QStringLiteral("6"), QStringLiteral("0A\r\n1B")}) << 3;
    QTest::newRow("Chinese text counts two bytes a character")
        << QStringLiteral("红外") << power << QString() << QString()
        << QStringList({power, QStringLiteral("4"), QStringLiteral("红外")}) << 3;
}

void TestLibraryPanel::addToLibrary()
{
    QFETCH(QString, received);
    QFETCH(QString, keyName);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QStringList, newRow);
    QFETCH(int, cellsSet);

    fillRows(2);
    selectRows({0});
    setReceiveText(received);
    keyNameBox()->setText(keyName);
    QTest::mouseClick(button(u"按钮4"), Qt::LeftButton);

    if (message.isEmpty()) {
        QVERIFY(m_dialogs->messages.empty());
        QCOMPARE(list()->topLevelItemCount(), 3);
        QCOMPARE(rowTexts(2), newRow);
        const QTreeWidgetItem *added = list()->topLevelItem(2);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(added->data(column, Qt::DisplayRole).isValid(), column < cellsSet);
    } else {
        QCOMPARE(m_dialogs->messages.size(), size_t(1));
        QCOMPARE(m_dialogs->messages[0].text, message);
        QCOMPARE(m_dialogs->messages[0].title, title);
        QCOMPARE(m_dialogs->messages[0].icon, UserDialogs::Icon::Warning);
        QCOMPARE(m_dialogs->messages[0].buttons, UserDialogs::Buttons::Ok);
        QCOMPARE(list()->topLevelItemCount(), 2);
    }
    // Nothing else changes: the boxes keep their texts and the selection stays.
    QCOMPARE(receiveText(), received);
    QCOMPARE(keyNameBox()->text(), keyName);
    QCOMPARE(panel()->selectedRow(), 0);
    QCOMPARE(list()->selectedItems().size(), 1);
}

void TestLibraryPanel::replaceSelected_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("received");
    QTest::addColumn<UserDialogs::Answer>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("changedRow");
    QTest::addColumn<QStringList>("changedTo");

    using A = UserDialogs::Answer;
    const auto question = [](const char *key) {
        return QStringLiteral("你确定需要替换按键【") + QLatin1String(key) +
               QStringLiteral("】的红外数据吗？");
    };
    QTest::newRow("empty receive box")
        << 5 << QList<int>{1} << QString() << A::Ok << kLearnFirst << -1 << QStringList();
    QTest::newRow("empty list before missing selection")
        << 0 << QList<int>{} << QStringLiteral("ABC") << A::Ok << kNoLibrary << -1 << QStringList();
    QTest::newRow("missing selection before odd length")
        << 5 << QList<int>{} << QStringLiteral("ABC") << A::Ok << kNoSelection << -1
        << QStringList();
    QTest::newRow("odd length") << 5 << QList<int>{1} << QStringLiteral("ABC") << A::Ok
                                << kBadIrData << -1 << QStringList();
    QTest::newRow("cancel at the question") << 5 << QList<int>{1} << QStringLiteral("0C0D")
                                            << A::Cancel << question("K2") << -1 << QStringList();
    QTest::newRow("OK sets length and trimmed data")
        << 5 << QList<int>{1} << QStringLiteral(" 0C0D ") << A::Ok << question("K2") << 1
        << QStringList({QStringLiteral("K2"), QStringLiteral("6"), QStringLiteral("0C0D")});
    QTest::newRow("rows 2 and 5 selected use row 2")
        << 5 << QList<int>{4, 1} << QStringLiteral("0C0D") << A::Ok << question("K2") << 1
        << QStringList({QStringLiteral("K2"), QStringLiteral("4"), QStringLiteral("0C0D")});
}

void TestLibraryPanel::replaceSelected()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, selected);
    QFETCH(QString, received);
    QFETCH(UserDialogs::Answer, answer);
    QFETCH(QString, message);
    QFETCH(int, changedRow);
    QFETCH(QStringList, changedTo);

    fillRows(rowCount);
    selectRows(selected);
    const Rows before = allRows();
    setReceiveText(received);
    m_dialogs->answers.push_back(answer);
    QTest::mouseClick(button(u"按钮17"), Qt::LeftButton);

    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    const ScriptedDialogs::Message &shown = m_dialogs->messages[0];
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.icon, UserDialogs::Icon::Warning);
    const bool isQuestion = message.startsWith(QStringLiteral("你确定"));
    QCOMPARE(shown.buttons, isQuestion ? UserDialogs::Buttons::OkCancel : UserDialogs::Buttons::Ok);
    QCOMPARE(shown.title, isQuestion || message == kBadIrData ? kOperation : kFriendly);

    Rows expected = before;
    if (changedRow >= 0)
        expected[changedRow] = changedTo;
    QCOMPARE(allRows(), expected);
}

void TestLibraryPanel::renameKey_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("keyName");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("changedRow");

    QTest::newRow("empty list") << 0 << QList<int>{} << QStringLiteral("TV") << kNoLibrary << -1;
    QTest::newRow("no selected row")
        << 5 << QList<int>{} << QStringLiteral("TV") << kNoSelection << -1;
    QTest::newRow("name kept with its spaces")
        << 5 << QList<int>{2} << QStringLiteral(" TV ") << QString() << 2;
    QTest::newRow("empty name accepted") << 5 << QList<int>{2} << QString() << QString() << 2;
    QTest::newRow("rows 2 and 5 selected use row 2")
        << 5 << QList<int>{4, 1} << QStringLiteral("电视") << QString() << 1;
}

void TestLibraryPanel::renameKey()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, selected);
    QFETCH(QString, keyName);
    QFETCH(QString, message);
    QFETCH(int, changedRow);

    fillRows(rowCount);
    selectRows(selected);
    Rows expected = allRows();
    keyNameBox()->setText(keyName);
    QTest::mouseClick(button(u"按钮13"), Qt::LeftButton);

    if (message.isEmpty()) {
        QVERIFY(m_dialogs->messages.empty());
        expected[changedRow][0] = keyName;
    } else {
        QCOMPARE(m_dialogs->messages.size(), size_t(1));
        QCOMPARE(m_dialogs->messages[0].text, message);
        QCOMPARE(m_dialogs->messages[0].title, kFriendly);
        QCOMPARE(m_dialogs->messages[0].icon, UserDialogs::Icon::Warning);
    }
    QCOMPARE(allRows(), expected);
}

void TestLibraryPanel::deleteSelected_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("keysLeft");

    QTest::newRow("empty list") << 0 << QList<int>{} << QStringList();
    QTest::newRow("nothing selected") << 3 << QList<int>{} << QStringList({"K1", "K2", "K3"});
    QTest::newRow("rows after it move up") << 3 << QList<int>{0} << QStringList({"K2", "K3"});
    QTest::newRow("rows 2 and 5 selected delete row 2")
        << 5 << QList<int>{4, 1} << QStringList({"K1", "K3", "K4", "K5"});
}

void TestLibraryPanel::deleteSelected()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, keysLeft);

    fillRows(rowCount);
    selectRows(selected);
    QTest::mouseClick(button(u"按钮14"), Qt::LeftButton);

    QVERIFY(m_dialogs->messages.empty());
    QStringList keys;
    for (const QStringList &row : allRows())
        keys.append(row.first());
    QCOMPARE(keys, keysLeft);
}

void TestLibraryPanel::leftClicksShowTheSelectedRowsData()
{
    fillRows(5);
    QVERIFY(panel()->AppendRow("Multi", "6", "0A\r\n0B"));

    clickRow(1);
    QTRY_COMPARE(sendBox()->toPlainText(), QStringLiteral("02"));
    QCOMPARE(panel()->selectedRow(), 1);

    // Both rows selected: the lower one is shown, not the one clicked.
    sendBox()->clear();
    clickRow(4, Qt::ControlModifier);
    QCOMPARE(list()->selectedItems().size(), 2);
    QTRY_COMPARE(sendBox()->toPlainText(), QStringLiteral("02"));

    clickRow(5);
    QTRY_COMPARE(sendBox()->toPlainText(), QStringLiteral("0A\n0B"));

    // Empty space below the rows clears the selection and the send box.
    const QPoint below(10, list()->visualItemRect(list()->topLevelItem(5)).bottom() + 20);
    QVERIFY(list()->viewport()->rect().contains(below));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, below);
    QTRY_COMPARE(sendBox()->toPlainText(), QString());
    QCOMPARE(panel()->selectedRow(), -1);
}

void TestLibraryPanel::keyboardAndRightClickLeaveSendBox()
{
    fillRows(3);
    clickRow(0);
    QTRY_COMPARE(sendBox()->toPlainText(), QStringLiteral("01"));

    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(panel()->selectedRow(), 1);
    const QRect third = list()->visualItemRect(list()->topLevelItem(2));
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(10, third.center().y()));
    // Whatever either of them might have queued runs here.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(sendBox()->toPlainText(), QStringLiteral("01"));
}

void TestLibraryPanel::openAsksOnlyWhenTheListHasRows()
{
    const QString path = writeFile(QStringLiteral("remote.ir"), "A|2|0A\r\n");
    m_dialogs->chosenFiles.push_back(path);
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);
    QVERIFY(m_dialogs->messages.empty());
    QCOMPARE(m_dialogs->fileRequests.size(), size_t(1));
    const ScriptedDialogs::FileRequest &request = m_dialogs->fileRequests[0];
    QCOMPARE(request.mode, UserDialogs::FileMode::Open);
    QCOMPARE(request.filter.description, QStringLiteral("红外数据库（*.ir）"));
    QCOMPARE(request.filter.pattern, QStringLiteral("*.ir"));
    QCOMPARE(request.initialPath, QString());
    QCOMPARE(allRows(), Rows({{"A", "2", "0A"}}));

    // Now the list has a row: the question comes first, without an icon.
    m_dialogs->answers.push_back(UserDialogs::Answer::Ok);
    m_dialogs->chosenFiles.push_back(path);
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    QCOMPARE(m_dialogs->messages[0].text, QStringLiteral("是否放弃数据保存"));
    QCOMPARE(m_dialogs->messages[0].title, kOperation);
    QCOMPARE(m_dialogs->messages[0].icon, UserDialogs::Icon::None);
    QCOMPARE(m_dialogs->messages[0].buttons, UserDialogs::Buttons::OkCancel);
    QCOMPARE(m_dialogs->fileRequests.back().initialPath, path);
    QCOMPARE(allRows(), Rows({{"A", "2", "0A"}}));
}

void TestLibraryPanel::openCancelKeepsTheLibrary_data()
{
    QTest::addColumn<UserDialogs::Answer>("answer");
    QTest::addColumn<size_t>("fileDialogsShown");

    QTest::newRow("cancel at the question") << UserDialogs::Answer::Cancel << size_t(0);
    QTest::newRow("OK at the question, cancel in the dialog")
        << UserDialogs::Answer::Ok << size_t(1);
}

void TestLibraryPanel::openCancelKeepsTheLibrary()
{
    QFETCH(UserDialogs::Answer, answer);
    QFETCH(size_t, fileDialogsShown);

    fillRows(3);
    const Rows before = allRows();
    m_dialogs->answers.push_back(answer);
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    QCOMPARE(m_dialogs->fileRequests.size(), fileDialogsShown);
    QCOMPARE(allRows(), before);
}

void TestLibraryPanel::openReplacesRowsInFileOrder()
{
    fillRows(2);
    selectRows({1});
    setReceiveText(QStringLiteral("0A0B"));
    sendBox()->setPlainText(QStringLiteral("0C0D"));
    const QString path = writeFile(QStringLiteral("mixed.ir"),
                                   QByteArray("Power|8|0A1B2C3D\r\n") +
                                       gbk::fromUnicode(QStringLiteral("电视 开|4| 0E0F\r\n")) +
                                       "a|b|c|d\r\n|||x\r\nMute|8|\r\n\r\nLast|2|0F");
    m_dialogs->answers.push_back(UserDialogs::Answer::Ok);
    m_dialogs->chosenFiles.push_back(path);
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);

    QCOMPARE(allRows(), Rows({{"Power", "8", "0A1B2C3D"},
                              {QStringLiteral("电视 开"), "4", " 0E0F"},
                              {"a", "b", "c"},
                              {"Mute", "8", ""},
                              {"Last", "2", "0F"}}));
    QCOMPARE(panel()->selectedRow(), -1);
    QCOMPARE(receiveText(), QStringLiteral("0A0B"));
    QCOMPARE(sendBox()->toPlainText(), QStringLiteral("0C0D"));
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
}

void TestLibraryPanel::openMissingFileGivesEmptyList()
{
    fillRows(2);
    m_dialogs->answers.push_back(UserDialogs::Answer::Ok);
    m_dialogs->chosenFiles.push_back(m_dir->filePath(QStringLiteral("absent.ir")));
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
}

void TestLibraryPanel::saveEmptyListWarns()
{
    m_dialogs->chosenFiles.push_back(m_dir->filePath(QStringLiteral("remote")));
    QTest::mouseClick(button(u"按钮16"), Qt::LeftButton);
    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    QCOMPARE(m_dialogs->messages[0].text, kNoLibrary);
    QCOMPARE(m_dialogs->messages[0].title, kFriendly);
    QCOMPARE(m_dialogs->messages[0].icon, UserDialogs::Icon::Warning);
    QCOMPARE(m_dialogs->messages[0].buttons, UserDialogs::Buttons::Ok);
    QVERIFY(m_dialogs->fileRequests.empty());
    QVERIFY(QDir(m_dir->path()).entryList({QStringLiteral("*.ir")}, QDir::Files).isEmpty());
}

void TestLibraryPanel::saveTargetName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    // The file names in the folder after the save; remote.ir exists with other content before.
    QTest::newRow("cancel writes nothing") << QString() << QString();
    QTest::newRow("typed without suffix")
        << QStringLiteral("remote2") << QStringLiteral("remote2.ir");
    QTest::newRow("existing file is replaced")
        << QStringLiteral("remote.ir") << QStringLiteral("remote.ir");
    QTest::newRow("upper-case suffix kept")
        << QStringLiteral("REMOTE3.IR") << QStringLiteral("REMOTE3.IR");
}

void TestLibraryPanel::saveTargetName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    const QByteArray old("Old|2|0F\r\nOlder|2|0E\r\n");
    writeFile(QStringLiteral("remote.ir"), old);
    fillRows(2);
    if (!chosen.isEmpty())
        m_dialogs->chosenFiles.push_back(m_dir->filePath(chosen));
    QTest::mouseClick(button(u"按钮16"), Qt::LeftButton);

    QCOMPARE(m_dialogs->fileRequests.size(), size_t(1));
    QCOMPARE(m_dialogs->fileRequests[0].mode, UserDialogs::FileMode::Save);
    QCOMPARE(m_dialogs->fileRequests[0].filter.description, QStringLiteral("红外数据库（*.ir)"));
    QVERIFY(m_dialogs->messages.empty());

    QStringList expectedFiles{QStringLiteral("remote.ir")};
    if (!written.isEmpty() && !expectedFiles.contains(written))
        expectedFiles.append(written);
    expectedFiles.sort();
    QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
    files.removeAll(QStringLiteral("Lumetra.ini"));
    files.sort();
    QCOMPARE(files, expectedFiles);

    QFile file(m_dir->filePath(written.isEmpty() ? QStringLiteral("remote.ir") : written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written.isEmpty() ? old : QByteArray("K1|2|01\r\nK2|2|02\r\n"));
}

void TestLibraryPanel::saveRemovesSpacesAndLineBreaksInTheFileOnly()
{
    QVERIFY(panel()->AppendRow("Power On", "8", "0A1B2C3D"));
    QVERIFY(
        panel()->AppendRow(gbk::fromUnicode(QStringLiteral("电视\u3000关")), "10", "0A1B\r\n2C3D"));
    const Rows before = allRows();
    m_dialogs->chosenFiles.push_back(m_dir->filePath(QStringLiteral("remote")));
    QTest::mouseClick(button(u"按钮16"), Qt::LeftButton);

    QFile file(m_dir->filePath(QStringLiteral("remote.ir")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("PowerOn|8|0A1B2C3D\r\n") +
                                 gbk::fromUnicode(QStringLiteral("电视关|10|0A1B2C3D\r\n")));
    QCOMPARE(allRows(), before);
}

void TestLibraryPanel::saveFailureIsReported()
{
    fillRows(1);
    // A folder of that name stands where the file would go.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("taken.ir")));
    const QString target = m_dir->filePath(QStringLiteral("taken.ir"));
    m_dialogs->chosenFiles.push_back(target);
    QTest::mouseClick(button(u"按钮16"), Qt::LeftButton);

    QCOMPARE(m_dialogs->messages.size(), size_t(1));
    const ScriptedDialogs::Message &shown = m_dialogs->messages[0];
    QCOMPARE(shown.title, kOperation);
    QCOMPARE(shown.icon, UserDialogs::Icon::Warning);
    QCOMPARE(shown.buttons, UserDialogs::Buttons::Ok);
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(target)), qPrintable(shown.text));
    QCOMPARE(list()->topLevelItemCount(), 1);
}

void TestLibraryPanel::saveThenOpenRoundTrip()
{
    setReceiveText(QStringLiteral("0A1B2C3D"));
    keyNameBox()->setText(QStringLiteral("开机"));
    QTest::mouseClick(button(u"按钮4"), Qt::LeftButton);
    setReceiveText(QStringLiteral("  "));
    keyNameBox()->setText(QStringLiteral("Mute"));
    QTest::mouseClick(button(u"按钮4"), Qt::LeftButton);
    const Rows saved = allRows();
    QCOMPARE(saved, Rows({{QStringLiteral("开机"), "8", "0A1B2C3D"}, {"Mute", "2", ""}}));

    const QString chosen = m_dir->filePath(QStringLiteral("remote"));
    m_dialogs->chosenFiles.push_back(chosen);
    QTest::mouseClick(button(u"按钮16"), Qt::LeftButton);
    QVERIFY(m_dialogs->messages.empty());

    m_dialogs->answers.push_back(UserDialogs::Answer::Ok);
    m_dialogs->chosenFiles.push_back(chosen + QStringLiteral(".ir"));
    QTest::mouseClick(button(u"按钮15"), Qt::LeftButton);
    QCOMPARE(m_dialogs->fileRequests.size(), size_t(2));
    QCOMPARE(m_dialogs->fileRequests[1].initialPath, chosen);
    QCOMPARE(allRows(), saved);

    clickRow(0);
    QTRY_COMPARE(sendBox()->toPlainText(), QStringLiteral("0A1B2C3D"));
}

QTEST_MAIN(TestLibraryPanel)
#include "tst_library_panel.moc"

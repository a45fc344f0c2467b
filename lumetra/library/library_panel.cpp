#include "library/library_panel.h"

#include "gbk/gbk_text.h"
#include "library/whole_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace lumetra {

namespace {

const QString kFriendlyTitle = QStringLiteral("友情提示");
const QString kOperationTitle = QStringLiteral("操作提示");
const QString kLearnFirst = QStringLiteral("请先学习红外数据");
const QString kBadIrData = QStringLiteral("红外数据错误，请重新录取。");
const QString kNoLibrary = QStringLiteral("请先建立红外数据库或者打开现有数据库");
const QString kNoSelection = QStringLiteral("请先选中需要替换的遥控按钮");

// The two filters differ in their closing parenthesis, and both are shown as they stand.
const UserDialogs::FileFilter kOpenFilter{QStringLiteral("红外数据库（*.ir）"),
                                          QStringLiteral("*.ir")};
const UserDialogs::FileFilter kSaveFilter{QStringLiteral("红外数据库（*.ir)"),
                                          QStringLiteral("*.ir")};

// A row item with its cells set up to the last non-empty text, or none when all are empty.
std::unique_ptr<QTreeWidgetItem> makeRow(const QByteArray &keyName, const QByteArray &irLength,
                                         const QByteArray &irData)
{
    const QByteArray *const texts[] = {&keyName, &irLength, &irData};
    int lastNonEmpty = -1;
    for (int column = 0; column < 3; ++column) {
        if (!texts[column]->isEmpty())
            lastNonEmpty = column;
    }
    if (lastNonEmpty < 0)
        return nullptr;
    auto item = std::make_unique<QTreeWidgetItem>();
    for (int column = 0; column <= lastNonEmpty; ++column)
        item->setText(column, gbk::toUnicode(*texts[column]));
    item->setData(LibraryPanel::IrLengthColumn, Qt::TextAlignmentRole, int(Qt::AlignCenter));
    return item;
}

} // namespace

LibraryPanel::LibraryPanel(const LibraryControls &controls, std::shared_ptr<UserDialogs> dialogs,
                           QObject *parent)
    : QObject(parent)
    , m_controls(controls)
    , m_dialogs(std::move(dialogs))
{
    setUpList();
    connect(m_controls.addButton, &QAbstractButton::clicked, this, &LibraryPanel::AddToLibrary);
    connect(m_controls.replaceButton, &QAbstractButton::clicked, this,
            &LibraryPanel::ReplaceSelected);
    connect(m_controls.renameButton, &QAbstractButton::clicked, this, &LibraryPanel::RenameKey);
    connect(m_controls.deleteButton, &QAbstractButton::clicked, this,
            &LibraryPanel::DeleteSelected);
    connect(m_controls.openButton, &QAbstractButton::clicked, this, &LibraryPanel::OpenDatabase);
    connect(m_controls.saveButton, &QAbstractButton::clicked, this, &LibraryPanel::SaveDatabase);
}

void LibraryPanel::setUpList()
{
    QTreeWidget *list = m_controls.list;
    list->setColumnCount(3);
    list->setHeaderLabels(
        {QStringLiteral("按键名称"), QStringLiteral("红外长度"), QStringLiteral("红外数据")});
    list->headerItem()->setData(IrLengthColumn, Qt::TextAlignmentRole, int(Qt::AlignCenter));
    list->setHeaderHidden(false);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setFrameShape(QFrame::NoFrame);

    QHeaderView *header = list->header();
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->resizeSection(KeyNameColumn, 70);
    header->resizeSection(IrLengthColumn, 70);
    header->resizeSection(IrDataColumn, 500);

    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    list->setPalette(palette);
    keepSelectionVisible();

    m_listViewport = list->viewport();
    list->installEventFilter(this);
    m_listViewport->installEventFilter(this);
}

// The selection stays as visible as with the focus, so the row a button works on is seen. The
// program's look may change the highlight later, hence this runs at every palette change.
void LibraryPanel::keepSelectionVisible()
{
    QTreeWidget *list = m_controls.list;
    QPalette palette = list->palette();
    bool changed = false;
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        const QColor active = palette.color(QPalette::Active, role);
        if (palette.color(QPalette::Inactive, role) != active) {
            palette.setColor(QPalette::Inactive, role, active);
            changed = true;
        }
    }
    if (changed)
        list->setPalette(palette);
}

bool LibraryPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.list && event->type() == QEvent::PaletteChange)
        keepSelectionVisible();
    // A left click anywhere in the list, on a row or on empty space, shows the selected row's
    // data once the view has updated its selection for that click; hence the queued call.
    if (watched == m_listViewport && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        QMetaObject::invokeMethod(this, &LibraryPanel::ShowSelectedData, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

bool LibraryPanel::AppendRow(const QByteArray &keyName, const QByteArray &irLength,
                             const QByteArray &irData)
{
    std::unique_ptr<QTreeWidgetItem> item = makeRow(keyName, irLength, irData);
    if (!item)
        return false;
    m_controls.list->addTopLevelItem(item.release());
    return true;
}

int LibraryPanel::selectedRow() const
{
    int lowest = -1;
    const QModelIndexList selected = m_controls.list->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (lowest < 0 || index.row() < lowest)
            lowest = index.row();
    }
    return lowest;
}

int LibraryPanel::rowCount() const
{
    return m_controls.list->topLevelItemCount();
}

IrCodeEntry LibraryPanel::entryAt(int row) const
{
    const QTreeWidgetItem *item = m_controls.list->topLevelItem(row);
    if (!item)
        return {};
    return IrCodeEntry{gbk::fromUnicode(item->text(KeyNameColumn)),
                       gbk::fromUnicode(item->text(IrLengthColumn)),
                       gbk::fromUnicode(item->text(IrDataColumn))};
}

QByteArray LibraryPanel::receiveBoxText() const
{
    return m_controls.receiveText();
}

bool LibraryPanel::receiveTextHasEvenLength(const QByteArray &text) const
{
    // The length counts the untrimmed text, spaces and line breaks included.
    return text.size() % 2 == 0;
}

void LibraryPanel::warn(const QString &text, const QString &title)
{
    m_dialogs->showMessage(text, title, UserDialogs::Icon::Warning, UserDialogs::Buttons::Ok);
}

int LibraryPanel::selectedRowOrWarn()
{
    if (rowCount() == 0) {
        warn(kNoLibrary, kFriendlyTitle);
        return -1;
    }
    const int row = selectedRow();
    if (row < 0)
        warn(kNoSelection, kFriendlyTitle);
    return row;
}

void LibraryPanel::AddToLibrary()
{
    const QByteArray received = receiveBoxText();
    if (received.isEmpty()) {
        warn(kLearnFirst, kFriendlyTitle);
        return;
    }
    if (!receiveTextHasEvenLength(received)) {
        warn(kBadIrData, kOperationTitle);
        return;
    }
    const QByteArray keyName = gbk::TrimSpaces(gbk::fromUnicode(m_controls.keyNameBox->text()));
    AppendRow(keyName, QByteArray::number(received.size()), gbk::TrimSpaces(received));
}

void LibraryPanel::ReplaceSelected()
{
    const QByteArray received = receiveBoxText();
    if (received.isEmpty()) {
        warn(kLearnFirst, kFriendlyTitle);
        return;
    }
    const int row = selectedRowOrWarn();
    if (row < 0)
        return;
    if (!receiveTextHasEvenLength(received)) {
        warn(kBadIrData, kOperationTitle);
        return;
    }
    const QString question = QStringLiteral("你确定需要替换按键【") +
                             m_controls.list->topLevelItem(row)->text(KeyNameColumn) +
                             QStringLiteral("】的红外数据吗？");
    if (m_dialogs->showMessage(question, kOperationTitle, UserDialogs::Icon::Warning,
                               UserDialogs::Buttons::OkCancel) != UserDialogs::Answer::Ok) {
        return;
    }
    // Data may have arrived while the question was open: the length is measured again.
    QTreeWidgetItem *item = m_controls.list->topLevelItem(row);
    if (!item)
        return;
    const QByteArray current = receiveBoxText();
    item->setText(IrLengthColumn, QString::number(current.size()));
    item->setText(IrDataColumn, gbk::toUnicode(gbk::TrimSpaces(current)));
}

void LibraryPanel::RenameKey()
{
    const int row = selectedRowOrWarn();
    if (row < 0)
        return;
    // Taken as typed, spaces included; only what GBK can hold reaches the library.
    m_controls.list->topLevelItem(row)->setText(
        KeyNameColumn, gbk::toUnicode(gbk::fromUnicode(m_controls.keyNameBox->text())));
}

void LibraryPanel::DeleteSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    std::unique_ptr<QTreeWidgetItem> removed(m_controls.list->takeTopLevelItem(row));
}

void LibraryPanel::ShowSelectedData()
{
    const int row = selectedRow();
    m_controls.sendBox->setPlainText(row < 0 ? QString() : gbk::toEditorText(entryAt(row).irData));
}

void LibraryPanel::OpenDatabase()
{
    if (rowCount() > 0 &&
        m_dialogs->showMessage(QStringLiteral("是否放弃数据保存"), kOperationTitle,
                               UserDialogs::Icon::None,
                               UserDialogs::Buttons::OkCancel) != UserDialogs::Answer::Ok) {
        return;
    }
    // The library is given up only once a file has been chosen: cancelling the dialog keeps it.
    const std::optional<QString> chosen =
        m_dialogs->chooseFile(UserDialogs::FileMode::Open, kOpenFilter, m_lastChosenPath);
    if (!chosen || chosen->isEmpty())
        return;
    m_lastChosenPath = *chosen;

    const QList<IrCodeEntry> entries = readIrDatabase(readWholeFile(*chosen));
    QList<QTreeWidgetItem *> rows;
    rows.reserve(entries.size());
    for (const IrCodeEntry &entry : entries) {
        if (std::unique_ptr<QTreeWidgetItem> item =
                makeRow(entry.keyName, entry.irLength, entry.irData)) {
            rows.append(item.release());
        }
    }
    m_controls.list->clear();
    // One insertion for the whole file: row by row, the view would lay itself out each time.
    m_controls.list->addTopLevelItems(rows);
}

void LibraryPanel::SaveDatabase()
{
    if (rowCount() == 0) {
        warn(kNoLibrary, kFriendlyTitle);
        return;
    }
    const std::optional<QString> chosen =
        m_dialogs->chooseFile(UserDialogs::FileMode::Save, kSaveFilter, m_lastChosenPath);
    if (!chosen || chosen->isEmpty())
        return;
    m_lastChosenPath = *chosen;

    QList<IrCodeEntry> entries;
    entries.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        entries.append(entryAt(row));
    const QString target = irDatabaseTargetPath(*chosen);
    if (!writeWholeFile(target, writeIrDatabase(entries))) {
        warn(QStringLiteral("无法保存文件：") + QDir::toNativeSeparators(target), kOperationTitle);
    }
}

} // namespace lumetra

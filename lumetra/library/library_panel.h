#pragma once

// The IR code library: binds the library list, the key-name box and the library and file
// buttons to the entry operations and to the IR database file. The rows of the list are the
// library; the panel keeps no copy of it.

#include "library/ir_database.h"
#include "library/user_dialogs.h"

#include <QObject>

#include <functional>
#include <memory>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;

namespace lumetra {

// The window's controls the library works with; the panel does not own them.
struct LibraryControls
{
    QTreeWidget *list = nullptr;
    QLineEdit *keyNameBox = nullptr;
    // The receive box's whole text as GBK with CR LF line breaks, everything that has arrived
    // from the host included.
    std::function<QByteArray()> receiveText;
    QPlainTextEdit *sendBox = nullptr;
    QAbstractButton *renameButton = nullptr;
    QAbstractButton *deleteButton = nullptr;
    QAbstractButton *addButton = nullptr;
    QAbstractButton *replaceButton = nullptr;
    QAbstractButton *openButton = nullptr;
    QAbstractButton *saveButton = nullptr;
};

class LibraryPanel : public QObject
{
    Q_OBJECT

public:
    enum Column { KeyNameColumn = 0, IrLengthColumn = 1, IrDataColumn = 2 };

    // Sets the list up (columns, header, selection) and connects the buttons.
    LibraryPanel(const LibraryControls &controls, std::shared_ptr<UserDialogs> dialogs,
                 QObject *parent = nullptr);

    // Adds a row at the end; cells are set up to the last non-empty text. Three empty texts add
    // nothing and give false.
    bool AppendRow(const QByteArray &keyName, const QByteArray &irLength, const QByteArray &irData);

    // The lowest-numbered selected row, or -1.
    int selectedRow() const;
    int rowCount() const;
    IrCodeEntry entryAt(int row) const;

    // The full path last chosen in the file dialog, its initial name at the next use.
    QString lastChosenPath() const { return m_lastChosenPath; }

public slots:
    void AddToLibrary();
    void ReplaceSelected();
    void RenameKey();
    void DeleteSelected();
    void ShowSelectedData();
    void OpenDatabase();
    void SaveDatabase();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpList();
    void keepSelectionVisible();
    QByteArray receiveBoxText() const;
    bool receiveTextHasEvenLength(const QByteArray &text) const;
    void warn(const QString &text, const QString &title);
    // The selected row, or -1 after telling the user why there is none (an empty library is
    // reported before a missing selection).
    int selectedRowOrWarn();

    LibraryControls m_controls;
    QWidget *m_listViewport = nullptr; // compared only: events can come while the list is dying
    std::shared_ptr<UserDialogs> m_dialogs;
    QString m_lastChosenPath;
};

} // namespace lumetra

#include "library/user_dialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QMessageBox>

namespace lumetra {

namespace {

class DesktopDialogs final : public UserDialogs
{
public:
    Answer showMessage(const QString &text, const QString &title, Icon icon,
                       Buttons buttons) override
    {
        // No owner window: the box is modal to the whole program.
        QMessageBox box(
            icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
            buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }

    std::optional<QString> chooseFile(FileMode mode, const FileFilter &filter,
                                      const QString &initialPath) override
    {
        if (!m_dialog) {
            m_dialog = std::make_unique<QFileDialog>();
            m_dialog->setWindowTitle(QString());
            m_dialog->setWindowModality(Qt::ApplicationModal);
            // The filter is shown by its description alone; the pattern is added for Qt's
            // parser, which needs it in ASCII parentheses.
            m_dialog->setOption(QFileDialog::HideNameFilterDetails, true);
            m_dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
            // Any name is accepted in both modes, also one of a file that does not exist.
            m_dialog->setFileMode(QFileDialog::AnyFile);
        }
        m_dialog->setAcceptMode(mode == FileMode::Open ? QFileDialog::AcceptOpen
                                                       : QFileDialog::AcceptSave);
        m_dialog->setNameFilter(filter.description + QLatin1String(" (") + filter.pattern +
                                QLatin1Char(')'));
        m_dialog->selectFile(initialPath);
        const int result = m_dialog->exec();
        // The dialog lives on hidden; a completion list still open when the name was accepted
        // with Return would otherwise stay on screen and swallow the next clicks.
        for (QCompleter *completer : m_dialog->findChildren<QCompleter *>()) {
            if (completer->popup())
                completer->popup()->hide();
        }
        if (result != QDialog::Accepted)
            return std::nullopt;
        const QStringList files = m_dialog->selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        return files.first();
    }

private:
    std::unique_ptr<QFileDialog> m_dialog;
};

} // namespace

std::shared_ptr<UserDialogs> makeDesktopDialogs()
{
    return std::make_shared<DesktopDialogs>();
}

} // namespace lumetra

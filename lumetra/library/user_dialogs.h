#pragma once

// The message boxes and the file dialog of the code library, behind an interface so that a test
// can answer them without a person.

#include <QString>

#include <memory>
#include <optional>

namespace lumetra {

class UserDialogs
{
public:
    enum class Icon { None, Warning };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };
    enum class FileMode { Open, Save };

    // One entry of a file dialog's filter: the text the user sees and the pattern it stands for.
    struct FileFilter
    {
        QString description;
        QString pattern;
    };

    virtual ~UserDialogs() = default;

    // A modal message box; anything but OK (closing it, Esc) is Cancel.
    virtual Answer showMessage(const QString &text, const QString &title, Icon icon,
                               Buttons buttons) = 0;

    // The file dialog, opened with initialPath as its file name; the chosen full path, or
    // nothing when the user cancels.
    virtual std::optional<QString> chooseFile(FileMode mode, const FileFilter &filter,
                                              const QString &initialPath) = 0;
};

// QMessageBox and one QFileDialog for both file actions.
std::shared_ptr<UserDialogs> makeDesktopDialogs();

} // namespace lumetra

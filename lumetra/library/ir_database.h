#pragma once

// The IR database file (".ir"): GBK text, one entry per line, the key name, the IR length and
// the IR data separated by "|" and each line ended by CR LF. Reading and writing are pure byte
// operations so that the format is tested without a window.

#include <QByteArray>
#include <QList>
#include <QString>

namespace lumetra {

// One entry of the IR code library; all three texts are GBK.
struct IrCodeEntry
{
    QByteArray keyName;
    QByteArray irLength;
    QByteArray irData;

    friend bool operator==(const IrCodeEntry &, const IrCodeEntry &) = default;
};

// Cuts text at every delimiter that starts on a GBK character boundary, so a "|" that is the
// second byte of a two-byte character never splits. Empty segments are kept, except an empty
// rest after the last delimiter; an empty text (or an empty delimiter) gives no segments.
QList<QByteArray> SplitText(const QByteArray &text, const QByteArray &delimiter);

// The entries of a database file's bytes, in file order. Only the text before the first zero
// byte counts; lines end at CR LF only; the first three "|" fields are taken as they are and
// missing ones are empty. A line whose three fields are all empty gives no entry.
QList<IrCodeEntry> readIrDatabase(const QByteArray &fileBytes);

// The file bytes for the entries: each line has its CR LF pairs and then every space removed,
// and ends with CR LF.
QByteArray writeIrDatabase(const QList<IrCodeEntry> &entries);

// The name a database is saved under: the chosen path, with ".ir" added unless it already
// ends in ".ir" in any letter case.
QString irDatabaseTargetPath(const QString &chosenPath);

} // namespace lumetra

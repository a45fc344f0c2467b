#include "library/ir_database.h"

#include "gbk/gbk_text.h"

#include <cstring>

namespace lumetra {

namespace {

bool startsAt(const QByteArray &text, qsizetype pos, const QByteArray &delimiter)
{
    return text.size() - pos >= delimiter.size() &&
           std::memcmp(text.constData() + pos, delimiter.constData(),
                       static_cast<size_t>(delimiter.size())) == 0;
}

} // namespace

QList<QByteArray> SplitText(const QByteArray &text, const QByteArray &delimiter)
{
    QList<QByteArray> segments;
    if (text.isEmpty() || delimiter.isEmpty())
        return segments;
    qsizetype segmentStart = 0;
    for (qsizetype pos = 0; pos < text.size();) {
        if (startsAt(text, pos, delimiter)) {
            segments.append(text.mid(segmentStart, pos - segmentStart));
            pos += delimiter.size();
            segmentStart = pos;
        } else {
            pos += gbk::characterSize(text, pos);
        }
    }
    if (segmentStart < text.size())
        segments.append(text.mid(segmentStart));
    return segments;
}

QList<IrCodeEntry> readIrDatabase(const QByteArray &fileBytes)
{
    const qsizetype zero = fileBytes.indexOf('\0');
    const QByteArray text = zero < 0 ? fileBytes : fileBytes.left(zero);

    QList<IrCodeEntry> entries;
    const QList<QByteArray> lines = SplitText(text, "\r\n");
    entries.reserve(lines.size());
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = SplitText(line, "|");
        // A line written for an entry with empty IR data ("Power|8|") has only two fields
        // once the empty rest is dropped; the missing ones load as empty texts.
        IrCodeEntry entry;
        entry.keyName = fields.value(0);
        entry.irLength = fields.value(1);
        entry.irData = fields.value(2);
        if (entry.keyName.isEmpty() && entry.irLength.isEmpty() && entry.irData.isEmpty())
            continue;
        entries.append(std::move(entry));
    }
    return entries;
}

QByteArray writeIrDatabase(const QList<IrCodeEntry> &entries)
{
    QByteArray file;
    for (const IrCodeEntry &entry : entries) {
        QByteArray line = entry.keyName + '|' + entry.irLength + '|' + entry.irData;
        line.replace("\r\n", "");
        file += gbk::RemoveAllSpaces(line);
        file += "\r\n";
    }
    return file;
}

QString irDatabaseTargetPath(const QString &chosenPath)
{
    if (chosenPath.endsWith(QLatin1String(".ir"), Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + QLatin1String(".ir");
}

} // namespace lumetra

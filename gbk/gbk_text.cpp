#include "gbk/gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace gbk {

namespace {

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isAscii(const QByteArray &bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(), isLeadByte);
}

} // namespace

// The one place where the code page is named: a Windows build may replace these two
// functions by the system's code page 936 conversion.
QByteArray fromUnicode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    QStringEncoder encoder("GBK", QStringConverter::Flag::Default);
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder.encode(text);
}

QString toUnicode(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder("GBK", QStringConverter::Flag::Default);
    if (!decoder.isValid())
        return QString::fromLocal8Bit(bytes);
    return decoder.decode(bytes);
}

QByteArray fromEditorText(const QString &text)
{
    QByteArray bytes = fromUnicode(text);
    bytes.replace("\n", "\r\n");
    return bytes;
}

QString toEditorText(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    copy.replace("\r\n", "\n");
    return toUnicode(copy);
}

bool isSpaceAt(const QByteArray &text, qsizetype pos)
{
    if (text[pos] == ' ')
        return true;
    return characterSize(text, pos) == 2 && static_cast<unsigned char>(text[pos]) == 0xA1
           && static_cast<unsigned char>(text[pos + 1]) == 0xA1;
}

QByteArray RemoveAllSpaces(const QByteArray &text)
{
    // Written into a buffer of the input's size and cut to length: this runs over every
    // payload and every saved library line, so no per-character append.
    QByteArray result(text.size(), Qt::Uninitialized);
    char *out = result.data();
    const char *in = text.constData();
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype size = characterSize(text, pos);
        if (!isSpaceAt(text, pos)) {
            *out++ = in[pos];
            if (size == 2)
                *out++ = in[pos + 1];
        }
        pos += size;
    }
    result.truncate(out - result.constData());
    return result;
}

QByteArray TrimSpaces(const QByteArray &text)
{
    // Leading spaces end at the first character that is not one; the trailing run is the
    // last run of spaces that starts on a character boundary and reaches the end.
    qsizetype begin = 0;
    while (begin < text.size() && isSpaceAt(text, begin))
        begin += characterSize(text, begin);
    qsizetype end = begin;
    for (qsizetype pos = begin; pos < text.size();) {
        const qsizetype size = characterSize(text, pos);
        if (!isSpaceAt(text, pos))
            end = pos + size;
        pos += size;
    }
    return text.mid(begin, end - begin);
}

} // namespace gbk

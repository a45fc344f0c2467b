#include "window/profile_file.h"

#include "gbk/gbk_text.h"
#include "library/whole_file.h"

#include <QFile>

#include <optional>
#include <vector>

namespace lumetra {

namespace {

const QByteArray newLine = "\r\n";

// One line of the file: [begin, end) is its text, [end, next) its line break.
struct Line
{
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

std::vector<Line> splitLines(const QByteArray &content)
{
    std::vector<Line> lines;
    qsizetype begin = 0;
    while (begin < content.size()) {
        qsizetype end = content.indexOf('\n', begin);
        qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        else if (end > begin && content[end - 1] == '\r')
            --end;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

QByteArray trimBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.sliced(begin, end - begin).toByteArray();
}

char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Compares by GBK characters so that the second byte of a two-byte character, which may look
// like an ASCII letter, is never folded.
bool sameName(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype pos = 0; pos < a.size();) {
        const qsizetype size = gbk::characterSize(a, pos);
        if (size == 1) {
            if (foldAscii(a[pos]) != foldAscii(b[pos]))
                return false;
        } else if (a.mid(pos, size) != b.mid(pos, size)) {
            return false;
        }
        pos += size;
    }
    return true;
}

// The section name of a "[name]" line.
std::optional<QByteArray> sectionName(QByteArrayView text)
{
    const QByteArray line = trimBlanks(text);
    if (!line.startsWith('['))
        return std::nullopt;
    // ']' can be the second byte of a two-byte character, so the line is scanned by characters.
    qsizetype close = 1;
    while (close < line.size() && line[close] != ']')
        close += gbk::characterSize(line, close);
    if (close >= line.size())
        return std::nullopt;
    return trimBlanks(QByteArrayView(line).sliced(1, close - 1));
}

struct KeyLine
{
    QByteArray key;
    QByteArray value;
};

std::optional<KeyLine> keyLine(QByteArrayView text)
{
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    QByteArray key = trimBlanks(text.first(equals));
    if (key.startsWith(';'))
        return std::nullopt;
    return KeyLine{std::move(key), trimBlanks(text.sliced(equals + 1))};
}

QByteArrayView lineText(const QByteArray &content, const Line &line)
{
    return QByteArrayView(content).sliced(line.begin, line.end - line.begin);
}

// Index of the header line of the section, or -1.
qsizetype findSection(const QByteArray &content, const std::vector<Line> &lines,
                      const QByteArray &section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lineText(content, lines[i]));
        if (name && sameName(*name, section))
            return qsizetype(i);
    }
    return -1;
}

QByteArray cutToLimit(const QByteArray &value)
{
    qsizetype size = 0;
    while (size < value.size()) {
        const qsizetype next = size + gbk::characterSize(value, size);
        if (next > maxProfileValueSize)
            break;
        size = next;
    }
    return value.left(size);
}

} // namespace

QByteArray profileValue(const QByteArray &content, const QByteArray &section, const QByteArray &key)
{
    const std::vector<Line> lines = splitLines(content);
    const qsizetype header = findSection(content, lines, trimBlanks(section));
    if (header < 0)
        return {};
    const QByteArray wanted = trimBlanks(key);
    for (std::size_t i = std::size_t(header) + 1; i < lines.size(); ++i) {
        const QByteArrayView text = lineText(content, lines[i]);
        if (sectionName(text))
            break;
        const auto entry = keyLine(text);
        if (entry && sameName(entry->key, wanted))
            return cutToLimit(entry->value);
    }
    return {};
}

QByteArray withProfileValue(const QByteArray &content, const QByteArray &section,
                            const QByteArray &key, const QByteArray &value)
{
    const std::vector<Line> lines = splitLines(content);
    const QByteArray wantedSection = trimBlanks(section);
    const QByteArray wantedKey = trimBlanks(key);
    const QByteArray entry = wantedKey + '=' + value;

    const qsizetype header = findSection(content, lines, wantedSection);
    if (header < 0) {
        QByteArray result = content;
        if (!result.isEmpty() && !result.endsWith('\n'))
            result += newLine;
        return result + '[' + wantedSection + ']' + newLine + entry + newLine;
    }

    // The new key goes after the section's last line that is not blank.
    qsizetype insertAfter = header;
    for (std::size_t i = std::size_t(header) + 1; i < lines.size(); ++i) {
        const QByteArrayView text = lineText(content, lines[i]);
        if (sectionName(text))
            break;
        const auto existing = keyLine(text);
        if (existing && sameName(existing->key, wantedKey)) {
            QByteArray result = content;
            return result.replace(lines[i].begin, lines[i].end - lines[i].begin, entry);
        }
        if (!trimBlanks(text).isEmpty())
            insertAfter = qsizetype(i);
    }

    const Line &after = lines[std::size_t(insertAfter)];
    QByteArray result = content;
    if (after.next == after.end) // the last line of a file without a final line break
        return result.insert(after.next, newLine + entry);
    return result.insert(after.next, entry + newLine);
}

QByteArray readProfileString(const QString &filePath, const QByteArray &section,
                             const QByteArray &key)
{
    return profileValue(readWholeFile(filePath), section, key);
}

bool writeProfileString(const QString &filePath, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value)
{
    QByteArray content;
    QFile existing(filePath);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        existing.close();
    }
    return writeWholeFile(filePath, withProfileValue(content, section, key, value));
}

} // namespace lumetra

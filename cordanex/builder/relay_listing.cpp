#include "builder/relay_listing.h"

#include "builder/hex_digits.h"
#include "gbk/gbk_text.h"

#include <QString>

namespace cordanex {

namespace {

struct Headings
{
    QByteArray openEach;
    QByteArray closeEach;
    QByteArray openAllInSequence;
    QByteArray closeAllAtOnce;
};

const Headings &headings()
{
    static const Headings texts{
        gbk::fromUnicode(QStringLiteral("开启VANTREL的1-8路继电器命令：")) + "\r\n",
        gbk::fromUnicode(QStringLiteral("关闭VANTREL的1-8路继电器命令：")) + "\r\n",
        gbk::fromUnicode(QStringLiteral("VANTREL的1-8路时序开启继电器命令：")) + "\r\n",
        gbk::fromUnicode(QStringLiteral("VANTREL的1-8路立即关闭继电器命令：")) + "\r\n",
    };
    return texts;
}

void appendCodeAndSpace(QByteArray &text, int code)
{
    appendTwoHexDigits(text, code);
    text.append(' ');
}

// The action byte's text is written as two characters: "0" or "8" and the relay's index
// 0 to 7, which is what opening and closing relay n look like in hexadecimal.
void appendRelayLine(QByteArray &text, const QByteArray &codes, const QByteArray &device,
                     char actionHighDigit, int relayIndex)
{
    text.append("EE B3 ");
    text.append(codes);
    text.append("4C 1C 07 01 ");
    text.append(device);
    text.append(' ');
    text.append(actionHighDigit);
    text.append(static_cast<char>('0' + relayIndex));
    text.append(" 23 FF FC FF FF\r\n");
}

} // namespace

QByteArray BuildRelayListing(int portCode, int baudCode, int formatCode, int deviceCode)
{
    const Headings &heading = headings();

    QByteArray codes;
    appendCodeAndSpace(codes, portCode);
    appendCodeAndSpace(codes, baudCode);
    appendCodeAndSpace(codes, formatCode);
    const QByteArray device = TwoHexDigits(deviceCode);

    constexpr int relayCount = 8;
    constexpr qsizetype commandLineSize = 49; // 16 byte texts, 15 spaces, CR LF
    QByteArray listing;
    listing.reserve(heading.openEach.size() + heading.closeEach.size() +
                    heading.openAllInSequence.size() + heading.closeAllAtOnce.size() +
                    (2 * relayCount + 2) * commandLineSize);

    listing.append(heading.openEach);
    for (int relay = 0; relay < relayCount; ++relay)
        appendRelayLine(listing, codes, device, '0', relay);

    listing.append(heading.closeEach);
    for (int relay = 0; relay < relayCount; ++relay)
        appendRelayLine(listing, codes, device, '8', relay);

    listing.append(heading.openAllInSequence);
    listing.append("EE B3 08 06 00 4C 1C 07 02 ");
    listing.append(device);
    listing.append(" 00 23 FF FC FF FF\r\n");

    listing.append(heading.closeAllAtOnce);
    listing.append("EE B3 08 06 00 4C 1C 07 02 ");
    listing.append(device);
    listing.append(" FF 23 FF FC FF FF\r\n");
    return listing;
}

} // namespace cordanex

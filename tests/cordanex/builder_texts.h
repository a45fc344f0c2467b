#pragma once

// The texts the assistant is expected to write, typed out here on their own so that the
// tests do not borrow them from the code under test.

#include "gbk/gbk_text.h"

#include <QByteArray>
#include <QString>

namespace expected {

inline QByteArray line(const QString &text)
{
    return gbk::fromUnicode(text) + "\r\n";
}

inline QByteArray emptyPayloadMessage()
{
    return line(
        QStringLiteral(" 请先输入需要发送的数据内容，并选择要发送的数据格式，然后按《确定》"));
}

inline QByteArray tooLongMessage()
{
    return line(
        QStringLiteral("抱歉，目前暂支持一条命令长度不超过255字节，特殊需求请联系厂家，谢谢。"));
}

inline QByteArray notHexMessage()
{
    return line(QStringLiteral(" 请输入有效[0-9 A-F]的十六进制数据，然后按《确定》"));
}

inline QByteArray oddDigitCountMessage()
{
    return line(QStringLiteral("请输入偶数位有效的十六进制数据0-9，A-F。"));
}

// The VANTREL listing for one device code, with the port, baud and format codes of the
// per-relay lines given as "08 06 00".
inline QByteArray relayListing(const QByteArray &codes, const QByteArray &device)
{
    const QByteArray perRelay = "EE B3 " + codes + " 4C 1C 07 01 " + device + ' ';
    QByteArray text = line(QStringLiteral("开启VANTREL的1-8路继电器命令："));
    for (const char *action : {"00", "01", "02", "03", "04", "05", "06", "07"})
        text += perRelay + action + " 23 FF FC FF FF\r\n";
    text += line(QStringLiteral("关闭VANTREL的1-8路继电器命令："));
    for (const char *action : {"80", "81", "82", "83", "84", "85", "86", "87"})
        text += perRelay + action + " 23 FF FC FF FF\r\n";
    text += line(QStringLiteral("VANTREL的1-8路时序开启继电器命令："));
    text += "EE B3 08 06 00 4C 1C 07 02 " + device + " 00 23 FF FC FF FF\r\n";
    text += line(QStringLiteral("VANTREL的1-8路立即关闭继电器命令："));
    text += "EE B3 08 06 00 4C 1C 07 02 " + device + " FF 23 FF FC FF FF\r\n";
    return text;
}

} // namespace expected

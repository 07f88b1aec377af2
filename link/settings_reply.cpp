#include "settings_reply.h"

namespace settingsreply {

namespace {

int hexDigit(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    return -1;
}

} // namespace

Reply parse(const QString &recvData)
{
    Reply reply;
    if (recvData.size() != ReplyLength)
        return reply;

    // The block is hexadecimal only, so every "sr" in the reply is the echo.
    QString rest = recvData;
    rest.remove(QStringLiteral("sr"));
    reply.verdict = Verdict::Unreadable;
    // A reply that loses more than its echo here cannot hold a whole block; taking the
    // shorter text would later send a block with characters missing.
    if (rest.size() < BlockLength)
        return reply;

    const QString block = rest.left(BlockLength);
    const int high = hexDigit(block.at(VersionPosition - 1));
    const int low = hexDigit(block.at(VersionPosition));
    if (high < 0 || low < 0)
        return reply;

    reply.verdict = Verdict::Accepted;
    reply.block = block;
    reply.romVer = qint16(high * 16 + low);
    return reply;
}

} // namespace settingsreply

#include "settings_reply.h"

#include "settings/number_text.h"
#include "settings/settings_block.h"

namespace settingsreply {

Reply parse(const QString &recvData)
{
    Reply reply;
    if (recvData.size() != ReplyLength)
        return reply;

    // The block is hexadecimal only, so every "sr" in the reply is the echo.
    QString rest = recvData;
    rest.remove(QStringLiteral("sr"));
    reply.verdict = Verdict::Unreadable;
    // Every character of the block must be a digit: the version decides how later
    // commands are awaited, and the bytes the tool does not own are written back as read.
    if (!block::isReadable(rest))
        return reply;

    const QString block = rest.left(BlockLength);
    reply.verdict = Verdict::Accepted;
    reply.block = block;
    reply.romVer = qint16(numtext::strictHex(QStringView(block).mid(VersionPosition - 1, 2), 2));
    return reply;
}

} // namespace settingsreply

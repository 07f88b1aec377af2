#include "settings/settings_reply.h"

#include "settings/settings_block.h"

#include <QCoreApplication>

namespace settingsreply {

QString unreadableLine()
{
    return QCoreApplication::translate("settingsreply", "The setting data received from the ZX could not be read.");
}

QString unreadableText()
{
    return unreadableLine() + QStringLiteral("\r\n")
        + QCoreApplication::translate("settingsreply", "Please try \"Setting Data Read\" again.");
}

Reply parse(const QString &recvData)
{
    Reply reply;
    if (recvData.size() != block::ReplyLength)
        return reply;

    // The block is hexadecimal only, so every "sr" in the reply is the echo.
    QString rest = recvData;
    rest.remove(QStringLiteral("sr"));
    reply.verdict = Verdict::Unreadable;
    // Every character of the block must be a digit: the version decides how later
    // commands are awaited, and the bytes the tool does not own are written back as read.
    if (!block::isReadable(rest))
        return reply;

    reply.verdict = Verdict::Accepted;
    reply.block = rest.left(block::Length);
    reply.romVer = qint16(block::byteAt(reply.block, block::VersionPosition));
    return reply;
}

} // namespace settingsreply

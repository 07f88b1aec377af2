#pragma once
#include "settings/block_layout.h"

#include <QString>
#include <QtGlobal>

// What the controller sends for "sr": its echo, the 64-character settings block and two
// more characters, one of them the closing carriage return. Only a reply of exactly that
// length is taken; the ROM version it carries decides how some later commands are awaited.
namespace settingsreply {

// What the user is told when a settings reply cannot be read: the message line's words,
// and the box's, which add what to do.
QString unreadableLine();
QString unreadableText();

enum class Verdict {
    Accepted,
    WrongLength, // not a settings reply at all
    Unreadable, // the right length, but not a whole block of hexadecimal digits
};

struct Reply {
    Verdict verdict = Verdict::WrongLength;
    QString block; // the 64 characters, when accepted
    qint16 romVer = -1; // 0..255, when accepted
};

Reply parse(const QString &recvData);

} // namespace settingsreply

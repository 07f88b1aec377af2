#include "files/settings_file.h"

namespace settingsfile {

std::optional<QString> blockText(const QByteArray &content)
{
    if (content.size() != BlockLength)
        return std::nullopt;
    return QString::fromLatin1(content);
}

QByteArray fileContent(const QString &block)
{
    return block.toLatin1();
}

} // namespace settingsfile

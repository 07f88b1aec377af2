#pragma once
#include "settings/block_layout.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The settings file: the 64-character settings block as plain text and nothing else,
// the same text the controller sends, so it is shown through the same decoder.
namespace settingsfile {

constexpr int BlockLength = block::Length;

// Reading one byte past the block is enough to know a file is not a settings file, so
// a large file is never read into memory.
constexpr qint64 ReadLimit = BlockLength;

// The text to hand to the decoder, or nothing when the file is not exactly one block
// long (a line end after the block is enough to make it so). Bytes are single-byte
// characters, so the length counts bytes as the file holds them.
std::optional<QString> blockText(const QByteArray &content);

// What a save writes: the block as it is, with no line end.
QByteArray fileContent(const QString &block);

} // namespace settingsfile

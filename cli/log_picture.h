#pragma once
#include <QImage>

class LogStore;

// The log window's graph of a log, drawn by the window's own drawing code into a picture,
// with no window and no display: the picture the window shows at its first size, at twice
// the pixels, with the window's "Scale Line" options.
namespace logpicture {

QImage draw(const LogStore &store, bool voltLines, bool curLines);

} // namespace logpicture

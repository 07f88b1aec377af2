#include "log_picture.h"

#include "logview/graph_painter.h"
#include "logview/picture_surface.h"

namespace logpicture {
namespace {

// The graph area of the log window at its first size, in twips, and the pixels a twip
// takes at the logical 96 DPI; the picture is drawn at twice that.
constexpr int GraphWidthTwips = 5740;
constexpr int GraphHeightTwips = 3040;
constexpr int TwipsPerPixel = 15;
constexpr int Scale = 2;

} // namespace

QImage draw(const LogStore &store, bool voltLines, bool curLines)
{
    const QSize twips(GraphWidthTwips, GraphHeightTwips);
    PictureSurface surface(twips, twips * Scale / TwipsPerPixel, Scale);
    graphpainter::Look look;
    look.voltLines = voltLines;
    look.curLines = curLines;
    graphpainter::drawScales(surface, look);
    graphpainter::drawTraces(surface, store, look);
    return surface.image();
}

} // namespace logpicture

#pragma once
#include <QColor>

// Colours travel through the program as 0xBBGGRR values (blue in the high byte), as the
// window layout tables give them; convert only where Qt needs a QColor.
inline QColor colourFromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

inline int bgrFromColour(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

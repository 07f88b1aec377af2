#pragma once
#include <QRect>
#include <QWidget>
#include <cmath>

// Layout tables give geometry in twips (1440 per inch). At Qt's logical 96 DPI a logical
// pixel is 15 twips; Qt's high-DPI scaling keeps the proportions on any screen.
namespace twips {
constexpr int PerPixel = 15;

constexpr int toPixels(int t)
{
    return (t + (t >= 0 ? PerPixel / 2 : -PerPixel / 2)) / PerPixel;
}
constexpr int fromPixels(int px)
{
    return px * PerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Places `w` at a twip rectangle inside its parent.
inline void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(rect(left, top, width, height));
}
} // namespace twips

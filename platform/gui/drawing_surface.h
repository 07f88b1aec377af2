#pragma once

// A surface the log graph draws on, in twip coordinates (origin top left, y down).
// Colours are 0xBBGGRR; pen widths are in screen pixels whatever the scale.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    // Inner drawable size in twips, rounded to whole units.
    virtual int innerWidth() const = 0;
    virtual int innerHeight() const = 0;
    // Fills the rectangle with corners (x1, y1) and (x2, y2).
    virtual void fillRect(double x1, double y1, double x2, double y2, int bgr) = 0;
    // A straight line between two points; parts outside the surface are cut off.
    virtual void line(double x1, double y1, double x2, double y2, int bgr, int widthPx) = 0;
};

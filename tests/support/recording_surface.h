#pragma once
#include "platform/gui/drawing_surface.h"

#include <QList>
#include <QTest>

// A drawing surface of a given inner size (twips) that keeps every fill and line, in order.
class RecordingSurface : public DrawingSurface {
public:
    struct Fill {
        double x1, y1, x2, y2;
        int bgr;
        qsizetype linesBefore; // how many lines had been drawn when it came
    };
    struct Line {
        double x1, y1, x2, y2;
        int bgr;
        int widthPx;
        bool operator==(const Line &) const = default;
    };

    explicit RecordingSurface(int width = 5800, int height = 3100) : m_width(width), m_height(height) {}

    void clear() { *this = RecordingSurface(m_width, m_height); }
    // The lines of one colour, in drawing order.
    QList<Line> linesOf(int bgr) const
    {
        QList<Line> out;
        for (const Line &l : lines)
            if (l.bgr == bgr)
                out.append(l);
        return out;
    }

    int innerWidth() const override { return m_width; }
    int innerHeight() const override { return m_height; }
    void fillRect(double x1, double y1, double x2, double y2, int bgr) override
    {
        fills.append({x1, y1, x2, y2, bgr, lines.size()});
    }
    void line(double x1, double y1, double x2, double y2, int bgr, int widthPx) override
    {
        lines.append({x1, y1, x2, y2, bgr, widthPx});
    }

    QList<Fill> fills;
    QList<Line> lines;

private:
    int m_width;
    int m_height;
};

namespace QTest {
template <> inline char *toString(const RecordingSurface::Line &l)
{
    return qstrdup(qPrintable(
        QString::asprintf("(%g,%g)-(%g,%g) #%06x %dpx", l.x1, l.y1, l.x2, l.y2, unsigned(l.bgr), l.widthPx)));
}
} // namespace QTest

#pragma once

// The stretch of time the graph shows: 0 to 540 s unless the user has zoomed in. Maps
// between seconds and positions on the drawing surface (twips across its inner width PW).
class TimeView {
public:
    static constexpr double FullSpan = 540; // seconds across the surface at the default view
    static constexpr double MinSpan = 10; // the closest zoom: ten seconds across
    static constexpr int LastSecond = 511;

    double start() const { return m_start; }
    double span() const { return m_span; }
    double end() const { return m_start + m_span; }
    bool isDefault() const { return m_start == 0 && m_span == FullSpan; }

    void reset();
    // Shows [a, b] (in either order), kept inside 0..540 s and at least MinSpan wide.
    void zoomTo(double a, double b);
    // Scales the span by `factor` (< 1 zooms in) so that `anchor` stays where it is.
    void zoomAround(double anchor, double factor);
    // Moves the view, keeping its span, just far enough to show `second`.
    void reveal(double second);

    // x (twips) of a second; at the default view exactly t x PW / 540.
    double xOf(double second, int PW) const { return (second - m_start) * PW / m_span; }
    double secondAt(double x, int PW) const;
    // The whole second nearest to x, within the view and the log's 0..511 s.
    int nearestSecond(double x, int PW) const;

    // Seconds between grid lines: the first of 1, 2, 5, 10, 30, 60 that puts at most 18
    // lines in view (30 at the default view, the 30-second grid of 0-540 s).
    int gridStep() const;
    // How many grid lines fall in view for `step`: multiples of it from start to before end.
    int gridLines(int step) const;

private:
    void clampStart();

    double m_start = 0;
    double m_span = FullSpan;
};

#pragma once
#include <QWidget>

// The twip layouts of the shell's windows leave room for an 8-point system font; the
// desktop's usual 9 or 10 points would cut button captions off. Smaller fonts are kept.
inline void useLayoutFont(QWidget *window)
{
    constexpr double LayoutPointSize = 8.0;
    QFont f = window->font();
    if (f.pointSizeF() > LayoutPointSize) {
        f.setPointSizeF(LayoutPointSize);
        window->setFont(f);
    }
}

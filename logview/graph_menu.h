#pragma once
#include <QMenu>

// The graph's context menu. Its items are also what the keys of the focused graph do.
class GraphMenu : public QMenu {
    Q_OBJECT
public:
    explicit GraphMenu(QWidget *parent);

    // Greys out what has nothing to act on.
    void refresh(bool zoomed, bool comparing);

    QAction *ZoomIn;
    QAction *ZoomOut;
    QAction *ResetZoom;
    QAction *Compare;
    QAction *ClearComparison;
    QAction *SavePng;
    QAction *CopyGraph;
};

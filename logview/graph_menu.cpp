#include "graph_menu.h"

GraphMenu::GraphMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("GraphMenu"));
    auto add = [this](const char *name, const QString &text, const QString &key = QString()) {
        QAction *a = addAction(key.isEmpty() ? text : text + u'\t' + key);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    ZoomIn = add("mnuZoomIn", tr("Zoom &In"), QStringLiteral("+"));
    ZoomOut = add("mnuZoomOut", tr("Zoom &Out"), QStringLiteral("-"));
    ResetZoom = add("mnuResetZoom", tr("Reset Zoom"), QStringLiteral("Home"));
    addSeparator();
    Compare = add("mnuCompare", tr("Compare with Log File\u2026"));
    ClearComparison = add("mnuClearComparison", QStringLiteral("Clear Comparison"));
    addSeparator();
    SavePng = add("mnuSavePng", tr("Save Graph as PNG\u2026"));
    CopyGraph = add("mnuCopyGraph", QStringLiteral("Copy Graph"));
}

void GraphMenu::refresh(bool zoomed, bool comparing)
{
    ZoomOut->setEnabled(zoomed);
    ResetZoom->setEnabled(zoomed);
    ClearComparison->setEnabled(comparing);
}

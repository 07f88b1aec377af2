#pragma once
#include <QDir>
#include <QWidget>

// Leaves a picture for a person to look at in $ZX_TEST_OUTPUT (build/test-output by default).
inline bool saveScreenshot(QWidget *w, const QString &fileName)
{
    QString dir = qEnvironmentVariable("ZX_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/test-output");
    QDir().mkpath(dir);
    return w->grab().save(dir + QLatin1Char('/') + fileName);
}

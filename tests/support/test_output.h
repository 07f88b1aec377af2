#pragma once
#include <QDir>
#include <QString>
#include <QWidget>

// Where tests leave pictures for a person to look at (build/test-output by default).
inline QString testOutputDir()
{
    QString dir = qEnvironmentVariable("ZX_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::currentPath() + QStringLiteral("/test-output");
    QDir().mkpath(dir);
    return dir;
}

inline bool saveScreenshot(QWidget *w, const QString &fileName)
{
    return w->grab().save(testOutputDir() + QLatin1Char('/') + fileName);
}

#pragma once
#include "platform/file_dialogs.h"

#include <QPointer>
#include <QWidget>

// The platform's file dialogs. Open returns a typed name that does not exist, so the
// program can offer to create it. Save adds the extension of the chosen filter to a name
// typed without one ("*.set" makes "mine" into "mine.set"; "ALL files" adds nothing), and
// leaves the overwrite question to the program.
class QtFileDialogs : public FileDialogs {
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    QString openFile(const QString &filter) override;
    QString saveFile(const QString &filter) override;
    QString saveFileAs(const QString &filter, const QString &suggestedPath) override;

    // "desc|pattern|desc|pattern" -> Qt's "desc (pattern);;desc (pattern)".
    static QString toQtFilter(const QString &filter);
    // `path` with the extension that `pattern` ("*.set") names, unless its file name has
    // a dot already or the pattern names no single extension ("*.*").
    static QString withExtension(const QString &path, const QString &pattern);

private:
    QPointer<QWidget> m_parent;
};

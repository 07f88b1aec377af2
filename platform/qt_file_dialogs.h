#pragma once
#include "file_dialogs.h"

#include <QPointer>
#include <QWidget>

// The platform's file dialogs. Open returns a typed name that does not exist, so the
// program can offer to create it. Overwrite questions are the program's own, so the save
// dialog does not ask, and no extension is added to a typed name.
class QtFileDialogs : public FileDialogs {
public:
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    QString openFile(const QString &filter) override;
    QString saveFile(const QString &filter) override;

    // "desc|pattern|desc|pattern" -> Qt's "desc (pattern);;desc (pattern)".
    static QString toQtFilter(const QString &filter);

private:
    QPointer<QWidget> m_parent;
};

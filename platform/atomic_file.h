#pragma once
#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` in one step: the file holds either its old
// content or all of the new one, and no half-written or temporary file is left behind.
// Returns an empty string on success, else why the file could not be written.
QString replaceFileAtomically(const QString &path, const QByteArray &bytes);

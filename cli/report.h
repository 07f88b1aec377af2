#pragma once
#include <QJsonObject>
#include <QList>
#include <QString>

class LogStore;
class SettingsState;

// What the commands print: plain lines for a person, JSON for a program. Captions and
// units are the window's.
namespace report {

// One line per visible field (caption, value as the field shows it, unit), then the
// current limiter switch, the mode flags, device type and ROM version.
QString settingsText(const SettingsState &s);
// {"block", "rom_version", "current_limiter_off", "fields": {caption: number or null}}.
QJsonObject settingsJson(const QString &block, const SettingsState &s);

struct Change {
    QString caption;
    QString now;
    QString then;
};
// The visible fields (and the limiter switch) whose shown value differs.
QList<Change> changes(const SettingsState &now, const SettingsState &then);
QString changesText(const QList<Change> &changes);
QJsonObject changesJson(const QList<Change> &changes);

// How many seconds hold data, and the figures the log window's strip shows.
QString logText(const LogStore &store);
QJsonObject logJson(const LogStore &store);

} // namespace report

#pragma once
#include "exit_status.h"

#include <QImage>
#include <QString>
#include <optional>

class Console;
class LogStore;
class SettingsState;

// The files the command line reads and writes, in the window's formats and with its words.
namespace savedfiles {

inline const QString TroubleText = QStringLiteral("Trouble is found in data.");

// The text of a settings file: exactly one block of 64 characters, else refused.
std::optional<QString> readSettingsText(const QString &path, Console &console, cli::Outcome &outcome);

// Saves the settings as the window's File > Setting Data > Save does.
bool saveSettings(const QString &path, const SettingsState &state, const QString &readData, Console &console,
                  cli::Outcome &outcome);
// Saves the log as File > Log Data > Save does; an empty log is refused as there.
bool saveLog(const QString &path, const LogStore &store, Console &console, cli::Outcome &outcome);
bool savePicture(const QString &path, const QImage &picture, Console &console, cli::Outcome &outcome);

} // namespace savedfiles

#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

class DrawingSurface;
class FrmLog;
class IniFile;
class LogFileAccess;
class LogStore;
class QWidget;

// Shows the log store in the log window. The window is created on first use, destroyed
// when the user closes it and created afresh on the next use, its options starting again
// from the values read at start-up.
class LogViewer : public QObject {
    Q_OBJECT
public:
    // `drawTarget`, when given, receives the drawing of every window this viewer opens.
    // `startupScaleLine` is read each time a window opens, and must outlive the viewer.
    LogViewer(LogStore &store, IniFile &ini, const std::array<int, 2> &startupScaleLine, QWidget *mainWindow,
              DrawingSurface *drawTarget = nullptr);
    LogViewer(LogStore &, IniFile &, const std::array<int, 2> &&, QWidget *, DrawingSurface * = nullptr) = delete;
    ~LogViewer() override;

    // Decodes a run-data reply into the store, shows the window and redraws it.
    void SetGraph(const QString &reply);
    // Shows the window and redraws it from the store as it stands (after a log file load).
    void SetGraphFile();

    // The open log window, or null when it is closed.
    FrmLog *window() const;

    // Where the window's comparison and picture commands turn for files (null: nowhere).
    void setFileAccess(LogFileAccess *files);

private:
    FrmLog &showWindow();

    LogStore &m_store;
    IniFile &m_ini;
    const std::array<int, 2> &m_startupScaleLine;
    QPointer<QWidget> m_mainWindow;
    DrawingSurface *m_drawTarget;
    QPointer<FrmLog> m_window;
    LogFileAccess *m_files = nullptr;
};

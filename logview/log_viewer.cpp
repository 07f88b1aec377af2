#include "log_viewer.h"
#include "frm_log.h"
#include "logdata/run_data_decoder.h"

LogViewer::LogViewer(LogStore &store, IniFile &ini, const std::array<int, 2> &startupScaleLine, QWidget *mainWindow,
                     DrawingSurface *drawTarget)
    : m_store(store), m_ini(ini), m_startupScaleLine(startupScaleLine), m_mainWindow(mainWindow),
      m_drawTarget(drawTarget)
{}

LogViewer::~LogViewer()
{
    delete m_window.data();
}

FrmLog &LogViewer::showWindow()
{
    if (!m_window) {
        m_window = new FrmLog(m_store, m_ini, m_startupScaleLine, m_mainWindow.data(), m_drawTarget);
        m_window->setFileAccess(m_files);
    }
    // A minimized window is brought back: the user asked to see this log.
    if (m_window->isMinimized())
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return *m_window;
}

void LogViewer::SetGraph(const QString &reply)
{
    FrmLog &w = showWindow();
    decodeRunData(reply, m_store);
    w.storeChanged();
    w.Form_Resize();
}

void LogViewer::SetGraphFile()
{
    FrmLog &w = showWindow();
    w.storeChanged();
    w.Form_Resize();
}

FrmLog *LogViewer::window() const
{
    return m_window.data();
}

void LogViewer::setFileAccess(LogFileAccess *files)
{
    m_files = files;
    if (m_window)
        m_window->setFileAccess(files);
}

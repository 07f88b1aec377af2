#include "progress_bar.h"
#include "console.h"

#include <QCoreApplication>
#include <algorithm>

ProgressBar::ProgressBar(Console &console, int total) : m_console(console), m_total(std::max(1, total)) {}

ProgressBar::~ProgressBar()
{
    finish();
}

QString ProgressBar::text(int received, int total, int width)
{
    const int shown = std::clamp(received, 0, total);
    const int filled = total > 0 ? shown * width / total : width;
    return u'[' + QString(filled, u'#') + QString(width - filled, u' ') + QStringLiteral("] ")
        + QCoreApplication::translate("cli", "%1/%2 characters")
              .arg(QString::number(shown).rightJustified(QString::number(total).size()))
              .arg(total);
}

void ProgressBar::update(int received)
{
    if (received == m_shown)
        return;
    m_shown = received;
    m_drawn = true;
    m_console.raw(u'\r' + text(received, m_total));
}

void ProgressBar::finish()
{
    if (!m_drawn)
        return;
    m_drawn = false;
    // Blank the bar's line so the next message starts on a clean one.
    m_console.raw(u'\r' + QString(text(m_total, m_total).size(), u' ') + u'\r');
}

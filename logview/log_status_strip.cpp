#include "log_status_strip.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

namespace {
constexpr int Margin = 3;
}

LogStatusStrip::LogStatusStrip(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("LogStatusStrip"));
    setFrameShape(QFrame::NoFrame);
    m_statistics = new QLabel(this);
    m_statistics->setObjectName(QStringLiteral("LblStatistics"));
    m_statistics->setTextFormat(Qt::PlainText);
    m_statistics->setWordWrap(true);
    m_statistics->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_statistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_statistics->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_cursor = new QLabel(this);
    m_cursor->setObjectName(QStringLiteral("LblCursor"));
    m_cursor->setTextFormat(Qt::PlainText);
    m_cursor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for the widest readout, so that pointing never moves the statistics.
    const QFontMetrics fm(font());
    m_cursor->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00.00\u00A0V  000.0\u00A0A")) + 2 * Margin);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(2 * Margin);
    layout->addWidget(m_statistics, 1);
    layout->addWidget(m_cursor);
}

int LogStatusStrip::heightFor(const QFont &font)
{
    return 3 * QFontMetrics(font).lineSpacing() + 2 * Margin;
}

void LogStatusStrip::setStatistics(const QString &text)
{
    m_statistics->setText(text);
    m_statistics->setToolTip(text);
}

void LogStatusStrip::setCursorText(const QString &text)
{
    m_cursor->setText(text);
}

QString LogStatusStrip::statisticsText() const
{
    return m_statistics->text();
}

QString LogStatusStrip::cursorText() const
{
    return m_cursor->text();
}

#include "editor/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *arrowButton(QWidget *parent, Qt::ArrowType arrow, const char *name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setArrowType(arrow);
    b->setAutoRepeat(true); // holding the button keeps stepping, as such controls do
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    b->setIconSize(QSize(7, 5));
    return b;
}

} // namespace

SpinButton::SpinButton(QWidget *parent)
    : QWidget(parent), m_up(arrowButton(this, Qt::UpArrow, "up")), m_down(arrowButton(this, Qt::DownArrow, "down"))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, &SpinButton::stepUp);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::stepDown);
}

void SpinButton::setMinimum(int minimum)
{
    m_minimum = minimum;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    clampSilently();
}

void SpinButton::setMaximum(int maximum)
{
    m_maximum = maximum;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    clampSilently();
}

void SpinButton::setSingleStep(int step)
{
    m_step = step > 0 ? step : 1;
}

void SpinButton::setValue(int value)
{
    value = qBound(m_minimum, value, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(m_value);
}

void SpinButton::stepUp()
{
    stepBy(1);
}

void SpinButton::stepDown()
{
    stepBy(-1);
}

void SpinButton::stepBy(int steps)
{
    if (!isEnabled())
        return;
    const long long next = static_cast<long long>(m_value) + static_cast<long long>(steps) * m_step;
    if (next < m_minimum || next > m_maximum)
        return;
    setValue(static_cast<int>(next));
}

void SpinButton::clampSilently()
{
    m_value = qBound(m_minimum, m_value, m_maximum);
}

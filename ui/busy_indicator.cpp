#include "busy_indicator.h"
#include "shape_led.h"

#include <QCoreApplication>

BusyIndicator::BusyIndicator(ShapeLed *shape, QObject *parent) : QObject(parent), m_shape(shape)
{
    m_tmrLed.setInterval(BlinkMs);
    connect(&m_tmrLed, &QTimer::timeout, this, [this] { setColour(m_colour == LedDark ? LedBright : LedDark); });
    if (m_shape) {
        m_shape->setFillColour(m_colour);
        m_shape->setAccessibleName(QCoreApplication::translate("BusyIndicator", "Busy"));
        describe(false);
    }
}

// The blinking in words: a screen reader cannot see the colour change.
void BusyIndicator::describe(bool busy)
{
    if (m_shape)
        m_shape->setAccessibleDescription(busy ? QCoreApplication::translate("BusyIndicator", "communicating")
                                               : QCoreApplication::translate("BusyIndicator", "idle"));
}

void BusyIndicator::setBusy(bool busy)
{
    describe(busy);
    if (busy) {
        m_tmrLed.start();
        setColour(LedBright);
    } else {
        m_tmrLed.stop();
        setColour(LedDark);
    }
}

void BusyIndicator::setColour(int bgr)
{
    if (bgr == m_colour)
        return;
    m_colour = bgr;
    if (m_shape)
        m_shape->setFillColour(bgr);
    Q_EMIT colourChanged(bgr);
}

#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>

class ShapeLed;

// The busy indicator ShpLED and its blink timer TmrLed: dark teal until the first
// command, blinking between bright and dark green while commands are sent, dark green
// once an operation has ended.
class BusyIndicator : public QObject {
    Q_OBJECT
public:
    // Colours, 0xBBGGRR.
    static constexpr int LedIdle = 0x404000; // dark teal, until the first command
    static constexpr int LedBright = 0x00FF00; // bright green
    static constexpr int LedDark = 0x004000; // dark green, the resting colour after an operation
    static constexpr int BlinkMs = 100;

    explicit BusyIndicator(ShapeLed *shape, QObject *parent = nullptr);

    // True: a command was sent (bright green, blinking); false: the operation ended.
    void setBusy(bool busy);
    int colour() const { return m_colour; }
    QTimer &TmrLed() { return m_tmrLed; }

Q_SIGNALS:
    void colourChanged(int bgr);

private:
    void setColour(int bgr);
    void describe(bool busy);

    QPointer<ShapeLed> m_shape;
    QTimer m_tmrLed;
    int m_colour = LedIdle;
};

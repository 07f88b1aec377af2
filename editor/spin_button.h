#pragma once
#include <QWidget>

class QToolButton;

// A small up/down arrow pair that sits beside a text field, with no text of its own:
// the field shows the value. The value is a whole number within [minimum, maximum];
// a click moves it by one step, and a click that would take it past a bound does
// nothing. valueChanged fires only when the value really changes.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int singleStep() const { return m_step; }

    // Bounds and step never fire valueChanged: setting up the limits must not write
    // into the field beside it. A value outside new bounds is pulled inside silently.
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setSingleStep(int step);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

public Q_SLOTS:
    void setValue(int value);
    void stepUp();
    void stepDown();

Q_SIGNALS:
    void valueChanged(int value);

private:
    void stepBy(int steps);
    void clampSilently();

    QToolButton *m_up;
    QToolButton *m_down;
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_step = 1;
};

#pragma once
#include <QWidget>

// A filled rectangle with a thin dark border: the busy indicator ShpLED.
class ShapeLed : public QWidget {
    Q_OBJECT
public:
    explicit ShapeLed(QWidget *parent = nullptr);

    // Fill colour as 0xBBGGRR.
    void setFillColour(int bgr);
    int fillColour() const { return m_bgr; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_bgr = 0;
};

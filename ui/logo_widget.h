#pragma once
#include <QImage>
#include <QWidget>

// The logo ImgLogo: drawn, not loaded, so it stays sharp at whatever size the window
// gives it. The design is 150 by 45 pixels and scales to the widget keeping its shape.
class LogoWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 150;
    static constexpr int DesignHeight = 45;

    explicit LogoWidget(QWidget *parent = nullptr);

    // The logo as a picture of the given size (the design size by default).
    static QImage render(QSize size = QSize(DesignWidth, DesignHeight));

    // The program's icon: the badge's square left end (ring and spark, no name), `pixels`
    // wide and high. The scalable icon zx316b-link.svg draws the same shapes.
    static QImage renderIcon(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static void paintDesign(QPainter &p);
    // The rounded badge `width` design units wide with the ring and spark at its left end.
    static void paintBadge(QPainter &p, double width);
};

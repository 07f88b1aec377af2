#include "logo_widget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

LogoWidget::LogoWidget(QWidget *parent) : QWidget(parent) {}

QImage LogoWidget::render(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size.width()) / DesignWidth, double(size.height()) / DesignHeight);
    paintDesign(p);
    return image;
}

QImage LogoWidget::renderIcon(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(pixels) / DesignHeight, double(pixels) / DesignHeight);
    paintBadge(p, DesignHeight);
    return image;
}

void LogoWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(double(width()) / DesignWidth, double(height()) / DesignHeight);
    paintDesign(p);
}

// A dark badge with a spark on the left and the product name on the right, in design
// coordinates (150 x 45).
void LogoWidget::paintDesign(QPainter &p)
{
    paintBadge(p, DesignWidth);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(19);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRectF(44, 3, 104, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZX316B"));

    QFont tag(QStringLiteral("DejaVu Sans"));
    tag.setPixelSize(10);
    tag.setBold(true);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 3.2);
    p.setFont(tag);
    p.setPen(QColor(0x8f, 0xd3, 0xff));
    p.drawText(QRectF(45, 26, 104, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("LINK"));
    p.setPen(QPen(QColor(0xff, 0xc8, 0x2e), 1.4));
    p.drawLine(QPointF(92, 33.5), QPointF(140, 33.5));
}

void LogoWidget::paintBadge(QPainter &p, double width)
{
    QLinearGradient back(0, 0, 0, DesignHeight);
    back.setColorAt(0.0, QColor(0x1d, 0x3b, 0x6e));
    back.setColorAt(1.0, QColor(0x0b, 0x1a, 0x33));
    p.setPen(QPen(QColor(0x6f, 0xb8, 0xe8), 1.2));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(0.6, 0.6, width - 1.2, DesignHeight - 1.2), 7, 7);

    // Ring and spark: a motor with power running through it.
    p.setPen(QPen(QColor(0x6f, 0xb8, 0xe8), 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(22.5, 22.5), 14, 14);
    QPainterPath spark;
    spark.moveTo(25.5, 9.5);
    spark.lineTo(15.5, 24.5);
    spark.lineTo(22.0, 24.5);
    spark.lineTo(19.0, 35.5);
    spark.lineTo(30.0, 19.5);
    spark.lineTo(23.5, 19.5);
    spark.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 0.8));
    p.setBrush(QColor(0xff, 0xc8, 0x2e));
    p.drawPath(spark);
}

#include "Gallery.h"

#include "widgets/Canvas.h"
#include "widgets/ImageList.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace gallery {

QWidget *newPage(vomra::TColor background)
{
    auto *page = new QWidget;
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, vomra::Canvas::qcolor(background));
    page->setPalette(pal);
    page->setAutoFillBackground(true);
    return page;
}

void note(QWidget *page, int x, int y, const QString &text)
{
    auto *label = new QLabel(text, page);
    QFont f = label->font();
    f.setPixelSize(11);
    label->setFont(f);
    label->move(x, y);
    label->adjustSize();
}

void pretendHot(QWidget *widget)
{
    const QPointF inside(2, 2);
    QEnterEvent enter(inside, widget->mapToGlobal(inside), widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &enter);
}

void pretendPressed(QWidget *widget)
{
    const QPointF inside(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, inside, widget->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

vomra::TGWImageList *demoImages(QObject *owner)
{
    auto *list = new vomra::TGWImageList(20, 20, owner);
    const QColor fills[] = {QColor(70, 130, 220), QColor(30, 70, 150), QColor(240, 150, 40), QColor(170, 170, 170)};
    for (const QColor &fill : fills) {
        QImage img(20, 20, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(fill);
        p.setPen(fill.darker(140));
        p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(6, 10), QPointF(14, 10));
        p.drawLine(QPointF(10, 6), QPointF(10, 14));
        p.end();
        list->Add(img);
    }
    return list;
}

} // namespace gallery

#include "widgets/Controls.h"

#include <QPaintEvent>
#include <QPainter>

namespace vomra {

TGWCustomControl::TGWCustomControl(QWidget *parent) : QWidget(parent)
{
    // We paint every pixel ourselves; no system background first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TGWCustomControl::setAutoDrawBackground(bool value)
{
    if (m_autoDrawBackground == value)
        return;
    m_autoDrawBackground = value;
    update();
}

void TGWCustomControl::setColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    update();
}

void TGWCustomControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Canvas canvas(painter);
    canvas.setFont(font());
    canvas.setBrushColor(m_color);
    Paint(canvas);
}

void TGWCustomControl::Paint(Canvas &canvas)
{
    if (!m_autoDrawBackground)
        DrawBackground(canvas);
}

void TGWCustomControl::DrawBackground(Canvas &canvas)
{
    if (OnDrawBackground)
        OnDrawBackground(this, canvas, TRect{0, 0, width(), height()});
}

} // namespace vomra

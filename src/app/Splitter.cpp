#include "app/Splitter.h"

#include <QMouseEvent>

namespace vomra {

TSplitter::TSplitter(QWidget *resized, QWidget *parent) : QWidget(parent), m_resized(resized)
{
    setCursor(Qt::SplitHCursor);
}

bool TSplitter::proposeWidth(int width)
{
    int size = width;
    bool accept = true;
    if (OnCanResize)
        OnCanResize(size, accept);
    if (!accept || size == m_resized->width())
        return accept;
    m_resized->resize(size, m_resized->height());
    if (OnMoved)
        OnMoved();
    return true;
}

void TSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_pressX = event->globalPosition().toPoint().x();
    m_startWidth = m_resized->width();
}

void TSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        proposeWidth(m_startWidth + event->globalPosition().toPoint().x() - m_pressX);
}

void TSplitter::mouseReleaseEvent(QMouseEvent *) { m_dragging = false; }

} // namespace vomra

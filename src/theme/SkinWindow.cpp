#include "theme/SkinWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace vomra {

TSkinWindow::TSkinWindow(QWidget &window, TTheme &theme) : QObject(&window), m_window(window), m_theme(theme)
{
    window.installEventFilter(this);
    m_window.setMouseTracking(true);
    m_windowActive = window.isActiveWindow();
}

void TSkinWindow::reload()
{
    m_images = SkinImages(m_theme);
}

void TSkinWindow::setActive(bool on)
{
    m_theme.setThemeActivate(on);
    const bool frameless = m_window.windowFlags().testFlag(Qt::FramelessWindowHint);
    if (frameless != on) {
        // Changing the flags re-creates the native window: keep place and state.
        const bool visible = m_window.isVisible();
        const Qt::WindowStates state = m_window.windowState();
        const QRect geometry = m_window.geometry();
        m_window.setWindowFlag(Qt::FramelessWindowHint, on);
        m_window.setGeometry(geometry);
        m_window.setWindowState(state);
        if (visible)
            m_window.show();
    }
    applyRegion();
}

void TSkinWindow::applyRegion()
{
    if (m_theme.ThemeActivate()) {
        QPalette pal = m_window.palette();
        const TColor c = m_theme.FormColor();
        pal.setColor(QPalette::Window, QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                              static_cast<int>((c >> 16) & 0xFF)));
        m_window.setPalette(pal);
        m_window.setMask(SkinRegion(m_window.width(), m_window.height(), m_theme.RoundRgnX(), m_theme.RoundRgnY()));
    } else {
        m_window.clearMask();
    }
    m_window.update();
}

void TSkinWindow::paint(QPainter &p)
{
    if (!m_theme.ThemeActivate() || (suppressPaint && suppressPaint()))
        return;
    const TSkinWindowState state{m_window.width(), m_window.height(), m_windowActive, m_window.isMaximized()};
    PaintSkinFrame(p, m_theme, m_images, state, m_window.windowIcon().pixmap(24, 24), m_window.windowTitle(),
                   m_window.font());
}

void TSkinWindow::repaintButtons()
{
    for (const TSkinButton b : {TSkinButton::Min, TSkinButton::Max, TSkinButton::Close}) {
        const TSkinRect r = m_theme.ButtonRect(b, m_window.width());
        m_window.update(r.left, r.top, r.width, r.height);
    }
}

Qt::Edges TSkinWindow::sizingEdges(QPoint at) const
{
    Qt::Edges edges;
    if (m_window.isMaximized() || m_window.isFullScreen())
        return edges;
    if (at.x() < kSizingBorder)
        edges |= Qt::LeftEdge;
    if (at.x() >= m_window.width() - kSizingBorder)
        edges |= Qt::RightEdge;
    if (at.y() < kSizingBorder)
        edges |= Qt::TopEdge;
    if (at.y() >= m_window.height() - kSizingBorder)
        edges |= Qt::BottomEdge;
    return edges;
}

void TSkinWindow::updateCursor(QPoint at)
{
    const Qt::Edges e = m_theme.HitTest(at.x(), at.y(), m_window.width()) ? Qt::Edges() : sizingEdges(at);
    Qt::CursorShape shape = Qt::ArrowCursor;
    if ((e & Qt::LeftEdge && e & Qt::TopEdge) || (e & Qt::RightEdge && e & Qt::BottomEdge))
        shape = Qt::SizeFDiagCursor;
    else if ((e & Qt::RightEdge && e & Qt::TopEdge) || (e & Qt::LeftEdge && e & Qt::BottomEdge))
        shape = Qt::SizeBDiagCursor;
    else if (e & (Qt::LeftEdge | Qt::RightEdge))
        shape = Qt::SizeHorCursor;
    else if (e & (Qt::TopEdge | Qt::BottomEdge))
        shape = Qt::SizeVerCursor;
    if (shape == Qt::ArrowCursor)
        m_window.unsetCursor();
    else
        m_window.setCursor(shape);
}

void TSkinWindow::act(TSkinAction action)
{
    switch (action) {
    case TSkinAction::Minimise:
        m_window.showMinimized();
        break;
    case TSkinAction::MaximiseOrRestore:
        if (m_window.isMaximized())
            m_window.showNormal();
        else
            m_window.showMaximized();
        break;
    case TSkinAction::Close:
        m_window.close();
        break;
    case TSkinAction::None:
        break;
    }
}

bool TSkinWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        if (m_theme.ThemeActivate())
            applyRegion();
        if (afterResize)
            afterResize();
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        m_windowActive = event->type() == QEvent::WindowActivate;
        if (m_theme.ThemeActivate())
            m_window.update();
        return false;
    case QEvent::WindowStateChange:
        if (m_theme.ThemeActivate())
            m_window.update();
        return false;
    case QEvent::Paint: {
        if (!m_theme.ThemeActivate())
            return false;
        QPainter p(&m_window);
        paint(p);
        return true;
    }
    default:
        break;
    }
    if (!m_theme.ThemeActivate())
        return false;

    const int w = m_window.width();
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        const QPoint at = me->position().toPoint();
        if (m_manualMove) {
            m_window.move(me->globalPosition().toPoint() - m_moveOffset);
            return true;
        }
        if (m_theme.Tracking()) {
            m_theme.TrackMove(at.x(), at.y(), w);
            repaintButtons();
            return true;
        }
        const bool wasHot = m_theme.Hot(TSkinButton::Min) || m_theme.Hot(TSkinButton::Max) ||
                            m_theme.Hot(TSkinButton::Close);
        const auto hit = m_theme.HitTest(at.x(), at.y(), w);
        updateCursor(at);
        if (wasHot || hit == HTSKINBUTTON)
            repaintButtons();
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        const QPoint at = me->position().toPoint();
        const auto hit = m_theme.HitTest(at.x(), at.y(), w);
        if (hit == HTSKINBUTTON) {
            m_theme.TrackPress();
            repaintButtons();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick && hit == HTCAPTION) {
            act(TSkinAction::MaximiseOrRestore);
            return true;
        }
        QWindow *handle = m_window.windowHandle();
        if (hit == HTCAPTION) {
            // A window manager that cannot take the move leaves it to us.
            if (!handle || !handle->startSystemMove()) {
                m_manualMove = true;
                m_moveOffset = me->globalPosition().toPoint() - m_window.pos();
            }
            return true;
        }
        const Qt::Edges edges = sizingEdges(at);
        if (edges && handle) {
            handle->startSystemResize(edges);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        if (m_manualMove) {
            m_manualMove = false;
            return true;
        }
        if (!m_theme.Tracking())
            return false;
        const QPoint at = me->position().toPoint();
        m_theme.TrackMove(at.x(), at.y(), w);
        const TSkinAction action = m_theme.TrackRelease();
        repaintButtons();
        act(action);
        return true;
    }
    case QEvent::Leave:
        if (!m_theme.Tracking()) {
            m_theme.ClearHot();
            repaintButtons();
        }
        return false;
    default:
        return false;
    }
}

} // namespace vomra

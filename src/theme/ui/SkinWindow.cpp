#include "theme/ui/SkinWindow.h"

#include "platform/FrameExtents.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vomra {

TSkinWindow::TSkinWindow(QWidget &window, TTheme &theme) : QObject(&window), m_window(window), m_theme(theme)
{
    window.installEventFilter(this);
    m_window.setMouseTracking(true);
    m_windowActive = window.isActiveWindow();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] { followActivation(); });
}

void TSkinWindow::followActivation()
{
    QWindow *handle = m_window.windowHandle();
    const bool focused = handle && QGuiApplication::focusWindow() == handle;
    // Re-creating the native window (the frame came or went) can leave the
    // widgets' idea of the active window behind the window system's focus.
    if (focused && QApplication::activeWindow() != &m_window)
        QApplication::setActiveWindow(&m_window);
    const bool active = focused || m_window.isActiveWindow();
    if (active == m_windowActive)
        return;
    m_windowActive = active;
    if (m_theme.ThemeActivate())
        m_window.update();
}

void TSkinWindow::reload()
{
    m_images = SkinImages(m_theme);
}

void TSkinWindow::setActive(bool on)
{
    m_theme.setThemeActivate(on);
    m_captionPress = m_manualMove = false;
    const bool frameless = m_window.windowFlags().testFlag(Qt::FramelessWindowHint);
    if (frameless != on) {
        // Changing the flags re-creates the native window: keep place and state.
        const bool visible = m_window.isVisible();
        const Qt::WindowStates state = m_window.windowState();
        const QRect geometry = m_window.normalGeometry();
        // Before the flags change: the new native window needs an alpha channel.
        if (cornersDrawn())
            m_window.setAttribute(Qt::WA_TranslucentBackground, on);
        m_window.setWindowFlag(Qt::FramelessWindowHint, on);
        m_window.setGeometry(geometry);
        if (frameChanged)
            frameChanged(geometry);
        m_window.setWindowState(state);
        if (visible)
            m_window.show();
        followActivation();
    }
    if (!on)
        m_window.unsetCursor();
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

std::optional<bool> &TSkinWindow::cornersDrawnOverride()
{
    static std::optional<bool> forced;
    return forced;
}

bool TSkinWindow::cornersDrawn()
{
    if (cornersDrawnOverride())
        return *cornersDrawnOverride();
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void TSkinWindow::paint(QPainter &p)
{
    if (!m_theme.ThemeActivate())
        return;
    if (m_window.testAttribute(Qt::WA_TranslucentBackground)) {
        // Nothing fills a transparent window: the inside of the region gets
        // the form colour, the corners stay clear.
        const QRegion region =
            SkinRegion(m_window.width(), m_window.height(), m_theme.RoundRgnX(), m_theme.RoundRgnY());
        p.setClipRegion(region);
        p.fillRect(m_window.rect(), m_window.palette().window());
    }
    if (suppressPaint && suppressPaint())
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

void TSkinWindow::startMove(QPoint global)
{
    m_captionPress = false;
    // The window manager moves from the press point, so the window follows the
    // whole drag, not only what is left of it after the threshold.
    QWindow *handle = m_window.windowHandle();
    if (handle && startManagerMove(handle, m_pressGlobal)) {
        // The release now goes to the manager: end the press for the widgets
        // here, or they would keep routing the pointer to this window as if the
        // button were still down (no hover, no hot items) until the next click.
        QMouseEvent release(QEvent::MouseButtonRelease, m_window.mapFromGlobal(global), global, Qt::LeftButton,
                            Qt::NoButton, QGuiApplication::keyboardModifiers());
        QCoreApplication::sendEvent(handle, &release);
        return;
    }
    // Without a window manager that takes the move, we move it ourselves.
    m_manualMove = true;
    m_moveOffset = m_pressGlobal - m_pressWindowPos;
    m_window.move(global - m_moveOffset);
}

void TSkinWindow::checkPosition()
{
    // A frameless window the manager has put into its own (empty) frame can be
    // told a place inside that frame instead of on the screen; every placement
    // reckoned from it (menus, hints, the outer box kept when the frame changes)
    // would then be off by the window's distance from the screen's corner.
    constexpr int kMaxChecks = 4;
    if (!m_theme.ThemeActivate() || !m_window.isVisible() || m_window.isMinimized() || m_positionChecks >= kMaxChecks)
        return;
    const std::optional<QPoint> real = screenPosition(m_window.windowHandle());
    if (!real)
        return;
    m_positionUnsure = false;
    if (*real == m_window.pos())
        return;
    ++m_positionChecks;
    // Asking for the place it already has makes the manager confirm it.
    m_window.move(*real);
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
    case QEvent::Show:
        followActivation();
        m_positionChecks = 0;
        m_positionUnsure = true;
        return false;
    case QEvent::Move:
        m_positionUnsure = true;
        if (m_theme.ThemeActivate())
            QTimer::singleShot(0, this, [this] { checkPosition(); });
        return false;
    case QEvent::WindowStateChange:
        if (m_theme.ThemeActivate())
            m_window.update();
        return false;
    case QEvent::Paint: {
        if (!m_theme.ThemeActivate())
            return false;
        // Painted means shown: the place the server gives now is the real one.
        if (m_positionUnsure)
            QTimer::singleShot(0, this, [this] { checkPosition(); });
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
        const QPoint global = me->globalPosition().toPoint();
        if (m_manualMove) {
            m_window.move(global - m_moveOffset);
            return true;
        }
        if (m_captionPress) {
            if (!(me->buttons() & Qt::LeftButton)) {
                m_captionPress = false; // the release went elsewhere
            } else {
                if ((global - m_pressGlobal).manhattanLength() >= QGuiApplication::styleHints()->startDragDistance())
                    startMove(global);
                return true;
            }
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
        m_captionPress = false;
        if (hit == HTSKINBUTTON) {
            m_theme.TrackPress();
            repaintButtons();
            return true;
        }
        if (hit == HTCAPTION) {
            if (event->type() == QEvent::MouseButtonDblClick) {
                act(TSkinAction::MaximiseOrRestore);
            } else {
                // A click or the first half of a double click stays ours; the
                // window manager gets the move once the pointer has really moved.
                m_captionPress = true;
                m_pressGlobal = me->globalPosition().toPoint();
                m_pressWindowPos = m_window.pos();
            }
            return true;
        }
        const Qt::Edges edges = sizingEdges(at);
        QWindow *handle = m_window.windowHandle();
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
        if (m_manualMove || m_captionPress) {
            m_manualMove = m_captionPress = false;
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

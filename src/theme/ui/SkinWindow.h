#pragma once
// The skinned frame on a frameless top-level window: paints the frame from the
// theme's plans, answers the mouse as the frame would (caption drags, edges
// resize, the three caption buttons act on release over the same button) and
// keeps the window mask with the rounded top corners.

#include "theme/ui/SkinPaint.h"
#include "theme/core/Theme.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;
class QPainter;

namespace vomra {

class TSkinWindow : public QObject {
    Q_OBJECT
public:
    // Sizing borders of the emulated frame, as the window system would report them.
    static constexpr int kSizingBorder = 4;

    TSkinWindow(QWidget &window, TTheme &theme);

    // Puts the skin in force (frameless window, mask) or gives the window back
    // to the window manager's frame. The window keeps its place and state.
    void setActive(bool on);
    bool active() const { return m_theme.ThemeActivate(); }
    // The pictures changed (a theme was loaded).
    void reload();

    // While this returns true the frame is not repainted (the left menu's animation).
    std::function<bool()> suppressPaint;
    // Runs when the frame came or went, before the window is shown again, with
    // the inside's geometry as it was under the old frame: the owner places the
    // window so that its outer size stays.
    std::function<void(const QRect &oldInside)> frameChanged;
    // Runs after the mask has been renewed on a resize.
    std::function<void()> afterResize;

    void paint(QPainter &p);
    // Whether the skin's round corners are drawn on a transparent window
    // rather than cut by a mask: where the window system takes a mask for input
    // only (Wayland). Test hook: set to force either way.
    static std::optional<bool> &cornersDrawnOverride();
    static bool cornersDrawn();

    // The emulated window system's own answer at a window point: 0 client,
    // HTCAPTION, or a sizing edge.
    Qt::Edges sizingEdges(QPoint at) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyRegion();
    void repaintButtons();
    void act(TSkinAction action);
    void updateCursor(QPoint at);
    // The frame shows active exactly while the window system's focus is ours.
    void followActivation();
    // Qt's idea of the window's place made the X server's.
    void checkPosition();
    // The caption was dragged past the threshold: the move begins.
    void startMove(QPoint global);

    QWidget &m_window;
    TTheme &m_theme;
    TSkinImages m_images;
    bool m_windowActive = true;
    bool m_manualMove = false;
    QPoint m_moveOffset;
    // A caption press not yet a drag: a click or half a double click.
    bool m_captionPress = false;
    int m_positionChecks = 0;
    bool m_positionUnsure = false;
    QPoint m_pressGlobal;
    QPoint m_pressWindowPos;
};

} // namespace vomra

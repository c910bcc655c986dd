// The collapsible section: its body (TGWAutoPanel) and its title, whose button
// rolls the body up or down step by step.
#include "widgets/Panel.h"

#include "widgets/Functions.h"
#include "widgets/core/PanelGeometry.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QShortcutEvent>

#include <algorithm>

namespace vomra {

namespace {

QWidget *firstFocusableChild(QWidget *parent)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (w && !w->isWindow() && w->isEnabled() && w->isVisible() && w->focusPolicy() != Qt::NoFocus)
            return w;
    }
    return nullptr;
}

} // namespace

// --- TGWAutoPanel ---

TGWAutoPanel::TGWAutoPanel(QWidget *parent) : TGWCustomPanel(parent)
{
    resize(185, 200);
}

void TGWAutoPanel::setOutlineColor(TColor value)
{
    m_outlineColor = value;
    if (isEnabled())
        repaint();
}

void TGWAutoPanel::setDisableOutlineColor(TColor value)
{
    m_disableOutlineColor = value;
    if (!isEnabled())
        repaint();
}

void TGWAutoPanel::Paint(Canvas &canvas)
{
    const int w = width();
    const int h = height();
    if (AutoDrawBackground()) {
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColor(Color());
        canvas.fillRect({0, 0, w, h}); // the one pixel no edge covers, top right
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setPenColor(Color());
        canvas.rectangle({1, 0, w - 1, h - 1});
    } else {
        TGWCustomPanel::Paint(canvas);
    }
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenColor(isEnabled() ? m_outlineColor : m_disableOutlineColor);
    canvas.moveTo(0, 0);
    canvas.lineTo(0, h - 1);
    canvas.lineTo(w - 1, h - 1);
    canvas.lineTo(w - 1, 0);
}

void TGWAutoPanel::focusInEvent(QFocusEvent *event)
{
    TGWCustomPanel::focusInEvent(event);
    if (QWidget *child = firstFocusableChild(this))
        child->setFocus(event->reason());
}

// --- TGWAutoPanelTitle ---

TGWAutoPanelTitle::TGWAutoPanelTitle(QWidget *parent) : TGWCustomControl(parent)
{
    setFixedHeight(kTitleHeight);
    resize(185, kTitleHeight);
}

void TGWAutoPanelTitle::setAutoPanel(TGWAutoPanel *value)
{
    m_autoPanel = value;
    if (!m_autoPanel)
        return;
    m_autoPanel->setGeometry(x(), y() + kTitleHeight, width(), m_autoPanel->height());
    m_autoPanel->setColor(m_rightColor);
    m_autoPanel->setOutlineColor(m_leftColor);
    m_autoPanel->setDisableOutlineColor(m_disableLeftColor);
    PlaceNextTitle();
}

void TGWAutoPanelTitle::setNextTitle(TGWAutoPanelTitle *value)
{
    if (value && !acceptsNextTitle(value == this, y(), value->y()))
        return;
    m_nextTitle = value;
}

void TGWAutoPanelTitle::setNextTitleSpace(int value)
{
    m_nextTitleSpace = value;
    PlaceNextTitle();
}

void TGWAutoPanelTitle::PlaceNextTitle()
{
    if (!m_nextTitle)
        return;
    const int top = nextTitleTop(y(), m_nextTitleSpace, m_autoPanel ? m_autoPanel->height() : -1);
    // A visible title's move event drags its own body and chain at once; a hidden
    // one gets the event only when shown, and the chain must follow now.
    const bool deferred = !m_nextTitle->isVisible();
    m_nextTitle->move(m_nextTitle->x(), top);
    if (deferred)
        m_nextTitle->followTitle();
}

void TGWAutoPanelTitle::followTitle()
{
    if (m_autoPanel)
        m_autoPanel->setGeometry(x(), y() + kTitleHeight, width(), m_autoPanel->height());
    PlaceNextTitle();
}

// The body keeps both outline colours and picks one by its own state, so both
// are passed on whatever the title's state; only the picture depends on it.
void TGWAutoPanelTitle::setLeftColor(TColor value)
{
    m_leftColor = value;
    if (m_autoPanel)
        m_autoPanel->setOutlineColor(value);
    if (isEnabled())
        repaint();
}

void TGWAutoPanelTitle::setRightColor(TColor value)
{
    m_rightColor = value;
    if (isEnabled()) {
        repaint();
        if (m_autoPanel)
            m_autoPanel->setColor(value);
    }
}

void TGWAutoPanelTitle::setDisableLeftColor(TColor value)
{
    m_disableLeftColor = value;
    if (m_autoPanel)
        m_autoPanel->setDisableOutlineColor(value);
    if (!isEnabled())
        repaint();
}

void TGWAutoPanelTitle::setDisableRightColor(TColor value)
{
    m_disableRightColor = value;
    if (!isEnabled()) {
        repaint();
        if (m_autoPanel)
            m_autoPanel->setColor(value);
    }
}

void TGWAutoPanelTitle::setEnterColor(TColor value)
{
    m_enterColor = value;
    if (m_hot)
        repaint();
}

void TGWAutoPanelTitle::setExpanded(bool value)
{
    m_expanded = value;
    repaint();
    if (m_autoPanel)
        runAnimation();
}

void TGWAutoPanelTitle::setExpandedStep(int value)
{
    if (value > 0)
        m_expandedStep = value;
}

void TGWAutoPanelTitle::setCaptionShadow(bool value)
{
    if (m_captionShadow == value)
        return;
    m_captionShadow = value;
    repaint();
}

void TGWAutoPanelTitle::setCaptionShadowColor(TColor value)
{
    m_captionShadowColor = value;
    repaint();
}

void TGWAutoPanelTitle::setCaptionShadowSpace(int value)
{
    m_captionShadowSpace = value;
    repaint();
}

void TGWAutoPanelTitle::setCaption(const QString &value)
{
    m_caption = value;
    m_shortcutId = regrabMnemonic(this, m_shortcutId, m_caption);
    repaint();
}

void TGWAutoPanelTitle::Toggle()
{
    if (m_expandeding)
        return;
    const QPointer<TGWAutoPanelTitle> self(this);
    m_expanded = !m_expanded;
    repaint();
    if (m_autoPanel)
        runAnimation();
    if (self && OnExpanded)
        OnExpanded(this);
}

void TGWAutoPanelTitle::runAnimation()
{
    // A running animation reads Expanded at every step, so a change made while it
    // runs (from a handler called during it) just turns it round.
    if (m_expandeding)
        return;
    const QPointer<TGWAutoPanelTitle> self(this);
    m_expandeding = true;
    while (AnimateStep()) {
    }
    if (self)
        m_expandeding = false;
}

bool TGWAutoPanelTitle::AnimateStep()
{
    const QPointer<TGWAutoPanelTitle> self(this);
    QPointer<TGWAutoPanel> body = m_autoPanel;
    if (!body)
        return false;
    const int selfHeight = body->SelfHeight();
    const int h = body->height();
    const int next = nextSectionHeight(h, selfHeight, sectionStep(selfHeight, m_expandedStep), m_expanded);
    if (next == h)
        return false;
    const int delta = next - h;
    body->resize(body->width(), next);
    PlaceNextTitle();

    QList<QPointer<QWidget>> children;
    for (QObject *child : body->children())
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
            children.append(w);
    for (const QPointer<QWidget> &child : children) {
        if (child)
            child->move(child->x(), child->y() + delta);
        // Paint and input go on while the section rolls.
        QCoreApplication::processEvents();
        if (!self || !body)
            return false;
    }
    return true;
}

bool TGWAutoPanelTitle::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShowToParent:
        if (m_autoPanel)
            m_autoPanel->show();
        break;
    case QEvent::HideToParent:
        if (m_autoPanel)
            m_autoPanel->hide();
        break;
    case QEvent::Shortcut:
        if (static_cast<QShortcutEvent *>(event)->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            if (isEnabled() && isVisible()) {
                if (hasFocus())
                    passFocusOn();
                else
                    setFocus(Qt::ShortcutFocusReason);
            }
            return true;
        }
        break;
    default:
        break;
    }
    return TGWCustomControl::event(event);
}

void TGWAutoPanelTitle::moveEvent(QMoveEvent *event)
{
    TGWCustomControl::moveEvent(event);
    followTitle();
}

void TGWAutoPanelTitle::resizeEvent(QResizeEvent *event)
{
    TGWCustomControl::resizeEvent(event);
    if (m_autoPanel)
        m_autoPanel->setGeometry(x(), m_autoPanel->y(), width(), m_autoPanel->height());
}

void TGWAutoPanelTitle::changeEvent(QEvent *event)
{
    TGWCustomControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        repaint();
        if (m_autoPanel) {
            m_autoPanel->setColor(isEnabled() ? m_rightColor : m_disableRightColor);
            m_autoPanel->setEnabled(isEnabled());
        }
    } else if (event->type() == QEvent::FontChange) {
        update();
    }
}

void TGWAutoPanelTitle::setHot(bool value)
{
    if (m_hot == value)
        return;
    m_hot = value;
    repaint();
}

void TGWAutoPanelTitle::enterEvent(QEnterEvent *event)
{
    TGWCustomControl::enterEvent(event);
    setHot(true);
}

void TGWAutoPanelTitle::leaveEvent(QEvent *event)
{
    TGWCustomControl::leaveEvent(event);
    setHot(false);
}

void TGWAutoPanelTitle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
    }
    TGWCustomControl::mousePressEvent(event);
}

void TGWAutoPanelTitle::mouseMoveEvent(QMouseEvent *event)
{
    // Qt sends no leave while the button is held; follow the pointer here.
    if (m_pressed)
        setHot(rect().contains(event->position().toPoint()));
    TGWCustomControl::mouseMoveEvent(event);
}

void TGWAutoPanelTitle::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressed) {
        m_pressed = false;
        if (rect().contains(event->position().toPoint())) {
            // OnExpanded may delete the title.
            const QPointer<TGWAutoPanelTitle> self(this);
            Toggle();
            if (!self)
                return;
        }
    }
    TGWCustomControl::mouseReleaseEvent(event);
}

void TGWAutoPanelTitle::focusInEvent(QFocusEvent *event)
{
    TGWCustomControl::focusInEvent(event);
    passFocusOn();
}

void TGWAutoPanelTitle::passFocusOn()
{
    if (m_autoPanel && m_autoPanel->isEnabled() && m_autoPanel->isVisible())
        m_autoPanel->setFocus(Qt::OtherFocusReason);
}

void TGWAutoPanelTitle::Paint(Canvas &canvas)
{
    const int w = width();
    const int h = height();
    if (AutoDrawBackground()) {
        // The cut corners show the control's own colour.
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColor(Color());
        canvas.fillRect({0, 0, w, h});
    } else {
        DrawBackground(canvas);
    }
    const bool enabled = isEnabled();
    const TColor l = enabled ? m_leftColor : m_disableLeftColor;
    const TColor r = enabled ? m_rightColor : m_disableRightColor;
    FillGradient(canvas, {3, 0, w - 3, h}, l, r, true);

    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenColor(l);
    canvas.line(2, 1, 2, h);
    canvas.line(1, 2, 1, h);
    canvas.line(0, 3, 0, h);
    canvas.setPenColor(r);
    canvas.line(w - 3, 1, w - 3, h);
    canvas.line(w - 2, 2, w - 2, h);
    canvas.line(w - 1, 3, w - 1, h);

    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setFont(font());
    const int y = (kTitleHeight - canvas.textHeight(m_caption)) / 2;
    if (!enabled) {
        canvas.setFontColor(kDisabledCaptionColor);
        DrawAccelText(canvas, 4, y, m_caption);
    } else {
        if (m_captionShadow) {
            canvas.setFontColor(m_captionShadowColor);
            DrawAccelText(canvas, 4 + m_captionShadowSpace, y + m_captionShadowSpace, m_caption);
        }
        canvas.setFontColor(m_hot ? m_enterColor : FontColor());
        DrawAccelText(canvas, 4, y, m_caption);
    }
    paintButton(canvas);
}

void TGWAutoPanelTitle::paintButton(Canvas &canvas)
{
    const int w = width();
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenStyle(PenStyle::Solid);
    int a = -1;
    TColor arrow = FontColor();
    if (isEnabled()) {
        const int under = m_hot ? 20 : 10;
        const int rim = m_hot ? 40 : 20;
        canvas.setPenColor(darker(m_rightColor, under));
        canvas.setBrushColor(darker(m_rightColor, under));
        canvas.ellipse({w - 23, 5, w - 6, 22});
        canvas.setPenColor(darker(m_rightColor, rim));
        canvas.setBrushColor(m_leftColor);
        canvas.ellipse({w - 24, 4, w - 7, 21});
        if (m_hot)
            arrow = m_enterColor;
    } else {
        canvas.setPenColor(darker(m_disableRightColor, 20));
        canvas.setBrushColor(m_disableLeftColor);
        canvas.ellipse({w - 23, 5, w - 6, 22});
        arrow = kDisabledCaptionColor;
        a = 0;
    }
    const int b = w - 15 + a;
    canvas.setPenColor(arrow);
    auto chevron = [&](int tipY, int armY) {
        canvas.line(b, tipY, b - 3, armY);
        canvas.line(b, tipY, b + 3, armY);
    };
    if (m_expanded) {
        chevron(a + 10, a + 13);
        chevron(a + 14, a + 17);
    } else {
        chevron(a + 12, a + 9);
        chevron(a + 16, a + 13);
    }
}

} // namespace vomra

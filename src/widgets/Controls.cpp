#include "widgets/Controls.h"

#include "widgets/ImageList.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace vomra {

namespace {
// Both bases paint alike: a canvas with the control's font, font colour and
// colour, handed to the control's Paint.
template <typename PaintFn> void paintControl(QWidget *widget, TColor color, TColor fontColor, PaintFn paint)
{
    QPainter painter(widget);
    Canvas canvas(painter);
    canvas.setFont(widget->font());
    canvas.setFontColor(fontColor);
    canvas.setBrushColor(color);
    paint(canvas);
}
} // namespace

int regrabMnemonic(QWidget *widget, int shortcutId, const QString &caption)
{
    if (shortcutId != 0)
        widget->releaseShortcut(shortcutId);
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? 0 : widget->grabShortcut(key);
}

void StateImages::setImages(TGWImageList *value)
{
    if (m_images)
        QObject::disconnect(m_images, nullptr, m_control, nullptr);
    m_images = value;
    if (m_images)
        QObject::connect(m_images, &TGWImageList::changed, m_control, [this] { imagesChanged(); });
    imagesChanged();
}

void StateImages::setImgUpIdx(int value)
{
    m_imgUpIdx = value;
    imagesChanged();
}

void StateImages::setImgDownIdx(int value)
{
    m_imgDownIdx = value;
    imagesChanged();
}

void StateImages::setImgEnterIdx(int value)
{
    m_imgEnterIdx = value;
    imagesChanged();
}

void StateImages::setImgDisableIdx(int value)
{
    m_imgDisableIdx = value;
    imagesChanged();
}

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

void TGWCustomControl::setFontColor(TColor value)
{
    if (m_fontColor == value)
        return;
    m_fontColor = value;
    update();
}

void TGWCustomControl::paintEvent(QPaintEvent *)
{
    paintControl(this, m_color, m_fontColor, [this](Canvas &canvas) { Paint(canvas); });
}

void TGWCustomControl::Paint(Canvas &canvas)
{
    if (m_autoDrawBackground)
        return;
    // The owner paints over the control's colour, to which the control is erased first.
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(m_color);
    canvas.fillRect({0, 0, width(), height()});
    DrawBackground(canvas);
}

void TGWCustomControl::DrawBackground(Canvas &canvas)
{
    if (OnDrawBackground)
        OnDrawBackground(this, canvas, Rect{0, 0, width(), height()});
}

// --- TGWGraphicButtonBase ---

TGWGraphicButtonBase::TGWGraphicButtonBase(QWidget *parent) : QWidget(parent), StateImages(this)
{
    m_mouseEnterFont = {font(), m_fontColor};
    m_disableFont = {font(), kDisabledCaptionColor};
    setAttribute(Qt::WA_OpaquePaintEvent, true); // until Transparent is set
}

void TGWGraphicButtonBase::redraw(bool throughParent)
{
    if (throughParent && parentWidget())
        parentWidget()->repaint(geometry());
    else
        repaint();
}

void TGWGraphicButtonBase::setCaptionShadow(bool value)
{
    m_captionShadow = value;
    Refresh();
}

void TGWGraphicButtonBase::setCaptionShadowColor(TColor value)
{
    m_captionShadowColor = value;
    Refresh();
}

void TGWGraphicButtonBase::setCaptionShadowSpace(int value)
{
    m_captionShadowSpace = value;
    Refresh();
}

void TGWGraphicButtonBase::setSpacing(int value)
{
    m_spacing = value;
    Refresh();
}

void TGWGraphicButtonBase::setTransparent(bool value)
{
    m_transparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    Refresh();
}

void TGWGraphicButtonBase::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    m_shortcutId = regrabMnemonic(this, m_shortcutId, m_caption);
    update();
    Refresh();
}

void TGWGraphicButtonBase::setColor(TColor value)
{
    m_color = value;
    Refresh();
}

void TGWGraphicButtonBase::setFontColor(TColor value)
{
    m_fontColor = value;
    Refresh();
}

int TGWGraphicButtonBase::currentImageIndex() const
{
    ButtonState s;
    s.enabled = isEnabled();
    s.mousePressed = m_pressed;
    s.mouseHot = m_hot;
    return imageIndexFor(s);
}

void TGWGraphicButtonBase::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGWGraphicButtonBase::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TGWGraphicButtonBase::Paint(Canvas &) {}

void TGWGraphicButtonBase::paintEvent(QPaintEvent *)
{
    paintControl(this, m_color, m_fontColor, [this](Canvas &canvas) { Paint(canvas); });
}

void TGWGraphicButtonBase::setHot(bool value)
{
    if (m_hot == value)
        return;
    m_hot = value;
    Refresh();
    if (m_hot)
        DoMouseEnter();
    else
        DoMouseLeave();
}

void TGWGraphicButtonBase::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHot(true);
}

void TGWGraphicButtonBase::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setHot(false);
}

void TGWGraphicButtonBase::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        Refresh();
    }
    QWidget::mousePressEvent(event);
}

void TGWGraphicButtonBase::mouseMoveEvent(QMouseEvent *event)
{
    // While the button is held Qt keeps the mouse on us and sends no leave, so
    // the hot state follows the pointer here.
    if (m_pressed)
        setHot(rect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TGWGraphicButtonBase::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    if (m_pressed) {
        m_pressed = false;
        Refresh();
    }
    QWidget::mouseReleaseEvent(event);
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        // The handler may delete the control.
        const QPointer<TGWGraphicButtonBase> self(this);
        if (OnClick)
            OnClick(this);
        if (self)
            emit clicked();
    }
}

bool TGWGraphicButtonBase::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(event);
        if (se->shortcutId() == m_shortcutId && m_focusControl && isEnabled() && isVisible()) {
            QWidget *target = m_focusControl;
            if (target->isEnabled() && target->isVisible() && target->focusPolicy() != Qt::NoFocus)
                target->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::EnabledChange)
        Refresh();
    return QWidget::event(event);
}

} // namespace vomra

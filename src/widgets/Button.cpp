#include "widgets/Button.h"

#include "widgets/Functions.h"
#include "widgets/ImageList.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace vomra {

QImage checkPicture(bool radio, int number)
{
    // Read once per picture; they never change while the program runs.
    static QHash<int, QImage> cache;
    const int key = (radio ? 100 : 0) + number;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QString name = (radio ? QStringLiteral("GWRBtn") : QStringLiteral("GWChkBox")) + QString::number(number);
    QImage image(QStringLiteral(":/widgets/") + name.toUpper());
    if (radio && !image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb transparent = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == transparent)
                    line[x] = 0;
        }
    }
    cache.insert(key, image);
    return image;
}

// ---------------------------------------------------------------- TGWButtonBase

TGWButtonBase::TGWButtonBase(QWidget *parent) : TGWCustomControl(parent), StateImages(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    setMouseTracking(true);
    resize(100, 20);
    m_mouseEnterColor = FontColor(); // the font colour until set
}

void TGWButtonBase::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    m_shortcutId = regrabMnemonic(this, m_shortcutId, m_caption);
    update();
}

void TGWButtonBase::setMouseEnterColor(TColor value)
{
    m_mouseEnterColor = value;
    if (!isEnabled())
        update();
}

void TGWButtonBase::setDisableColor(TColor value)
{
    m_disableColor = value;
    if (!isEnabled())
        update();
}

void TGWButtonBase::setLayout(TButtonLayout value)
{
    m_layout = value;
    update();
}

void TGWButtonBase::setSpacing(int value)
{
    m_spacing = value;
    update();
}

void TGWButtonBase::setChecked(bool value)
{
    if (value && m_kind == Kind::Radio) {
        SelectInGroup();
        return;
    }
    m_checked = value;
    update();
}

void TGWButtonBase::setShadow(bool value)
{
    m_shadow = value;
    update();
}

void TGWButtonBase::setShadowColor(TColor value)
{
    m_shadowColor = value;
    update();
}

void TGWButtonBase::setShadowOffset(int value)
{
    m_shadowOffset = value;
    update();
}

ButtonState TGWButtonBase::state() const
{
    return {isEnabled(), m_checked, m_keyPressed, m_mousePressed, m_mouseHot};
}

void TGWButtonBase::SelectInGroup()
{
    if (QWidget *p = parentWidget()) {
        for (QObject *child : p->children()) {
            auto *other = qobject_cast<TGWButtonBase *>(child);
            if (other && other->m_kind == Kind::Radio && other->m_checked) {
                other->m_checked = false;
                other->update();
            }
        }
    }
    m_checked = true;
    update();
}

void TGWButtonBase::DoToggle()
{
    switch (m_kind) {
    case Kind::CheckBox:
        setChecked(!m_checked);
        break;
    case Kind::Radio:
        SelectInGroup();
        break;
    case Kind::Push:
        return;
    }
    if (OnChecked)
        OnChecked(this);
}

void TGWButtonBase::click()
{
    if (OnClick)
        OnClick(this);
}

bool TGWButtonBase::toggleThenClick()
{
    const QPointer<TGWButtonBase> self(this);
    DoToggle();
    if (self)
        click();
    return self;
}

void TGWButtonBase::Paint(Canvas &canvas)
{
    TGWCustomControl::Paint(canvas);
    // Every face starts from the control's colour; the XP face leaves its
    // corners as they are.
    if (AutoDrawBackground()) {
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColor(Color());
        canvas.fillRect({0, 0, width(), height()});
    }
    canvas.setFont(font());
    const QSize extent = AccelTextExtent(canvas, m_caption);
    m_captionWidth = extent.width();
    m_captionHeight = extent.height();
}

void TGWButtonBase::DrawCaption(Canvas &canvas, int x, int y)
{
    canvas.setFont(font());
    canvas.setBrushStyle(BrushStyle::Clear);
    if (isEnabled()) {
        if (m_shadow) {
            canvas.setFontColor(m_shadowColor);
            DrawAccelText(canvas, x + m_shadowOffset, y + m_shadowOffset, m_caption);
        }
        canvas.setFontColor(m_mouseHot ? m_mouseEnterColor : FontColor());
    } else {
        canvas.setFontColor(m_disableColor);
    }
    DrawAccelText(canvas, x, y, m_caption);
    canvas.setBrushStyle(BrushStyle::Solid);
}

void TGWButtonBase::DrawImage(Canvas &canvas, int x, int y)
{
    if (TGWImageList *images = Images())
        images->Draw(canvas, x, y, imageIndexFor(state()), true);
}

void TGWButtonBase::DrawContent(Canvas &canvas, int dx, int dy)
{
    ContentMetrics m;
    m.width = width();
    m.height = height();
    TGWImageList *images = Images();
    m.hasImages = images != nullptr;
    if (images) {
        m.imageWidth = images->Width();
        m.imageHeight = images->Height();
    }
    m.hasCaption = !m_caption.isEmpty();
    m.captionWidth = m_captionWidth;
    m.captionHeight = m_captionHeight;
    m.spacing = m_spacing;
    const ContentPlacement p = placeContent(m, m_layout, dx, dy);
    if (p.hasImage)
        DrawImage(canvas, p.image.x, p.image.y);
    if (p.hasCaption)
        DrawCaption(canvas, p.caption.x, p.caption.y);
}

void TGWButtonBase::paintPictureFace(Canvas &canvas)
{
    const int H = height();
    // A hot face is the normal face with the hot picture drawn over it; the last
    // picture is the one that shows.
    const QImage pic = checkPicture(m_kind == Kind::Radio, checkPictureNumber(state()));
    canvas.draw(0, (H - 13) / 2, pic);
    canvas.setFont(font());
    DrawCaption(canvas, 18, (H - canvas.textHeight(QStringLiteral(" "))) / 2);
    if (hasFocus()) {
        const int top = (H - m_captionHeight) / 2 - 2;
        canvas.setPenStyle(PenStyle::Dot);
        canvas.setPenColor(isEnabled() ? FontColor() : m_disableColor);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.rectangle({15, top, 15 + m_captionWidth + 6, top + m_captionHeight + 4});
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setBrushStyle(BrushStyle::Solid);
    }
}

bool TGWButtonBase::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == m_shortcutId) {
            if (isEnabled() && isVisible()) {
                if (hasFocus()) {
                    toggleThenClick();
                } else {
                    setFocus(Qt::ShortcutFocusReason);
                }
            }
            return true;
        }
    }
    return TGWCustomControl::event(e);
}

void TGWButtonBase::enterEvent(QEnterEvent *)
{
    m_mouseHot = true;
    update();
}

void TGWButtonBase::leaveEvent(QEvent *)
{
    m_mouseHot = false;
    update();
}

void TGWButtonBase::mousePressEvent(QMouseEvent *e)
{
    // Keep hot tracking right while the button is held (no leave events then).
    m_mouseHot = rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) {
        m_mousePressed = true;
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        update();
    } else if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TGWButtonBase::mouseMoveEvent(QMouseEvent *e)
{
    // While the button is held the pointer is grabbed and no leave event comes:
    // the face must still return to normal as soon as the pointer leaves.
    if (m_mousePressed) {
        const bool inside = rect().contains(e->position().toPoint());
        if (inside != m_mouseHot) {
            m_mouseHot = inside;
            update();
        }
    }
    TGWCustomControl::mouseMoveEvent(e);
}

void TGWButtonBase::mouseReleaseEvent(QMouseEvent *e)
{
    const bool inside = rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton && m_mousePressed) {
        // The click comes before the control's own release handling. The
        // handlers may delete the button.
        const QPointer<TGWButtonBase> self(this);
        if (inside) {
            click();
            if (!self)
                return;
        }
        m_mousePressed = false;
        if (inside) {
            DoToggle();
            if (!self)
                return;
        }
        update();
        return;
    }
    m_mousePressed = false;
    update();
}

void TGWButtonBase::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (toggleThenClick())
            update();
        e->accept();
        return;
    case Qt::Key_Space:
        if (!m_keyPressed) {
            m_keyPressed = true;
            update();
        }
        e->accept();
        return;
    default:
        TGWCustomControl::keyPressEvent(e);
    }
}

void TGWButtonBase::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        if (m_keyPressed) {
            m_keyPressed = false;
            if (toggleThenClick())
                update();
        }
        e->accept();
        return;
    }
    TGWCustomControl::keyReleaseEvent(e);
}

void TGWButtonBase::focusInEvent(QFocusEvent *e)
{
    update();
    TGWCustomControl::focusInEvent(e);
}

void TGWButtonBase::focusOutEvent(QFocusEvent *e)
{
    m_keyPressed = false;
    update();
    TGWCustomControl::focusOutEvent(e);
}

void TGWButtonBase::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange)
        update();
    TGWCustomControl::changeEvent(e);
}

// ---------------------------------------------------------------- TGWButton

TGWButton::TGWButton(QWidget *parent) : TGWButtonBase(parent) {}

void TGWButton::setButtonStyle(TGWButtonStyle value)
{
    m_buttonStyle = value;
    update();
}

void TGWButton::repaintUnlessXP()
{
    if (m_buttonStyle != gwbsWindowsXP)
        update();
}

void TGWButton::setTopLineColor(TColor value)
{
    m_topLineColor = value;
    repaintUnlessXP();
}

void TGWButton::setLeftLineColor(TColor value)
{
    m_leftLineColor = value;
    repaintUnlessXP();
}

void TGWButton::setRightLineColor(TColor value)
{
    m_rightLineColor = value;
    repaintUnlessXP();
}

void TGWButton::setBottomLineColor(TColor value)
{
    m_bottomLineColor = value;
    repaintUnlessXP();
}

void TGWButton::setShowSideLine(bool value)
{
    m_showSideLine = value;
    repaintUnlessXP();
}

void TGWButton::drawSideLines(Canvas &canvas, bool swapped)
{
    if (!m_showSideLine)
        return;
    const int W = width();
    const int H = height();
    const TColor c[4] = {swapped ? m_bottomLineColor : m_topLineColor, swapped ? m_rightLineColor : m_leftLineColor,
                         swapped ? m_topLineColor : m_bottomLineColor, swapped ? m_leftLineColor : m_rightLineColor};
    canvas.setPenStyle(PenStyle::Solid);
    canvas.moveTo(W - 1, 0);
    canvas.setPenColor(c[0]);
    canvas.lineTo(0, 0);
    canvas.setPenColor(c[1]);
    canvas.lineTo(0, H - 1);
    canvas.setPenColor(c[2]);
    canvas.lineTo(W - 1, H - 1);
    canvas.setPenColor(c[3]);
    canvas.lineTo(W - 1, 0);
}

void TGWButton::drawXPFace(Canvas &canvas)
{
    const int W = width();
    const int H = height();
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Solid);
    if (!isEnabled()) {
        canvas.setBrushColor(RGB(245, 244, 234));
        canvas.setPenColor(RGB(201, 199, 186));
        canvas.roundRect({0, 0, W, H}, 6, 6);
        return;
    }
    canvas.setFont(font());
    canvas.setBrushColor(Color());
    canvas.setPenColor(RGB(0, 60, 116));
    canvas.roundRect({0, 0, W, H}, 6, 6);
    struct Line {
        TColor color;
        int x1, y1, x2, y2;
    };
    const Line lines[] = {
        {RGB(244, 244, 239), 1, 3, 1, H - 3},         {RGB(245, 245, 241), 2, 2, 2, H - 2},
        {RGB(243, 243, 239), 3, 2, 3, H - 2},         {RGB(242, 242, 237), 4, 5, 4, H - 5},
        {RGB(232, 229, 222), W - 2, 3, W - 2, H - 3}, {RGB(236, 236, 229), W - 3, 2, W - 3, H - 2},
        {RGB(242, 242, 237), W - 4, 2, W - 4, H - 2}, {RGB(243, 243, 238), W - 5, 5, W - 5, H - 5},
        {RGB(255, 255, 255), 2, 1, W - 2, 1},         {RGB(254, 254, 254), 2, 2, W - 2, 2},
        {RGB(252, 252, 251), 2, 3, W - 2, 3},         {RGB(250, 250, 249), 2, 4, W - 1, 4},
        {RGB(248, 248, 246), 4, 5, W - 5, 5},         {RGB(214, 208, 197), 2, H - 2, W - 2, H - 2},
        {RGB(226, 223, 214), 2, H - 3, W - 2, H - 3}, {RGB(236, 235, 230), 2, H - 4, W - 2, H - 4},
        {RGB(240, 240, 234), 2, H - 5, W - 1, H - 5}, {RGB(236, 236, 230), 4, H - 6, W - 5, H - 6},
    };
    for (const Line &l : lines) {
        canvas.setPenColor(l.color);
        canvas.line(l.x1, l.y1, l.x2, l.y2);
    }
    canvas.setBrushColor(RGB(243, 243, 239));
    canvas.fillRect({5, 6, W - 5, H - 6});
}

void TGWButton::drawXPPressedFace(Canvas &canvas)
{
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(RGB(226, 223, 214));
    canvas.setPenColor(RGB(0, 60, 116));
    canvas.roundRect({0, 0, width(), height()}, 6, 6);
}

void TGWButton::drawXPEdge(Canvas &canvas, bool hot)
{
    const int W = width();
    const int H = height();
    const TColor start = hot ? RGB(253, 216, 137) : RGB(206, 231, 255);
    const TColor end = hot ? RGB(238, 151, 0) : RGB(137, 173, 228);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenColor(start);
    canvas.line(2, 1, W - 2, 1);
    canvas.line(1, 2, W - 1, 2);
    const std::vector<TColor> ramp = edgeRamp(start, end, H);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const int y = 3 + static_cast<int>(i);
        canvas.setPenColor(ramp[i]);
        canvas.line(1, y, 4, y);
        canvas.line(W - 4, y, W - 1, y);
    }
    if (hot) {
        canvas.setPenColor(RGB(229, 151, 0));
        canvas.line(2, H - 2, W - 2, H - 2);
        canvas.line(1, H - 3, W - 1, H - 3);
    } else {
        canvas.setPenColor(RGB(137, 173, 228));
        canvas.line(1, H - 3, W - 1, H - 3);
        canvas.setPenColor(RGB(105, 130, 238));
        canvas.line(2, H - 2, W - 2, H - 2);
    }
}

void TGWButton::drawUp(Canvas &canvas)
{
    switch (m_buttonStyle) {
    case gwbsStandard:
        drawSideLines(canvas, false);
        break;
    case gwbsFlat:
        break;
    case gwbsWindowsXP:
        drawXPFace(canvas);
        break;
    }
    DrawContent(canvas, 0, 0);
}

void TGWButton::drawDown(Canvas &canvas)
{
    if (m_buttonStyle == gwbsWindowsXP)
        drawXPPressedFace(canvas);
    else
        drawSideLines(canvas, true);
    DrawContent(canvas, 1, 1);
}

void TGWButton::drawHot(Canvas &canvas)
{
    switch (m_buttonStyle) {
    case gwbsStandard:
        return;
    case gwbsFlat:
        drawSideLines(canvas, false);
        break;
    case gwbsWindowsXP:
        if (isEnabled())
            drawXPEdge(canvas, true);
        break;
    }
    DrawContent(canvas, 0, 0);
}

void TGWButton::drawFocus(Canvas &canvas)
{
    if (m_buttonStyle == gwbsWindowsXP) {
        if (!MouseHot())
            drawXPEdge(canvas, false);
        return;
    }
    canvas.setPenStyle(PenStyle::Dot);
    canvas.setPenColor(FontColor());
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.rectangle({3, 3, width() - 3, height() - 3});
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Solid);
}

void TGWButton::Paint(Canvas &canvas)
{
    TGWButtonBase::Paint(canvas);
    switch (buttonFace(state())) {
    case ButtonFace::Down:
        drawDown(canvas);
        break;
    case ButtonFace::Hot:
        drawUp(canvas);
        drawHot(canvas);
        break;
    case ButtonFace::Up:
        drawUp(canvas);
        break;
    }
    if (hasFocus())
        drawFocus(canvas);
}

// ---------------------------------------------------------------- check box, radio

TGWCheckBox::TGWCheckBox(QWidget *parent) : TGWButtonBase(parent) { setKind(Kind::CheckBox); }

void TGWCheckBox::Paint(Canvas &canvas)
{
    TGWButtonBase::Paint(canvas);
    paintPictureFace(canvas);
}

TGWRadioButton::TGWRadioButton(QWidget *parent) : TGWButtonBase(parent) { setKind(Kind::Radio); }

void TGWRadioButton::Paint(Canvas &canvas)
{
    TGWButtonBase::Paint(canvas);
    paintPictureFace(canvas);
}

} // namespace vomra

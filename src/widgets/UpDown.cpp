#include "widgets/UpDown.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <climits>
#include <cstdint>

namespace vomra {

namespace {
int toSmallInt(int v) { return std::clamp(v, int{INT16_MIN}, int{INT16_MAX}); }
} // namespace

TGWCustomUpDown::TGWCustomUpDown(QWidget *parent) : TGWCustomControl(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setColor(RGB(240, 240, 240));
    // As wide as a scroll bar's arrow, one and a half arrows high.
    const int arrow = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    resize(arrow, arrow + arrow / 2);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &TGWCustomUpDown::repeatStep);
}

void TGWCustomUpDown::setColour(TColor &field, TColor value)
{
    field = value;
    update();
}

void TGWCustomUpDown::setAlignButton(TUDAlignButton value)
{
    if (m_alignButton == value)
        return;
    m_alignButton = value;
    placeBesideAssociate();
}

void TGWCustomUpDown::setOrientation(TUDOrientation value)
{
    m_orientation = value;
    update();
}

void TGWCustomUpDown::setAssociate(QWidget *value)
{
    if (value && parentWidget()) {
        for (QObject *child : parentWidget()->children()) {
            auto *other = qobject_cast<TGWCustomUpDown *>(child);
            if (other && other != this && other->m_associate == value) {
                const QString message = QStringLiteral("%1 is already associated with %2")
                                            .arg(value->objectName(), other->objectName());
                throw EInvalidOperation(message.toStdString());
            }
        }
    }
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = nullptr;
    const bool acceptable = value && value->parentWidget() == parentWidget() &&
                            !qobject_cast<TGWCustomUpDown *>(value) && !qobject_cast<QTreeView *>(value) &&
                            !qobject_cast<QListView *>(value);
    if (!acceptable)
        return;
    m_associate = value;
    m_associate->installEventFilter(this);
    placeBesideAssociate();
    showPosition();
}

void TGWCustomUpDown::placeBesideAssociate()
{
    // Sit in the edit's place at its chosen side, the edit giving up our width.
    if (!m_associate)
        return;
    const QRect g = m_associate->geometry();
    const int w = width();
    if (m_alignButton == udRight) {
        m_associate->setGeometry(g.x(), g.y(), g.width() - w, g.height());
        setGeometry(g.x() + g.width() - w, g.y(), w, g.height());
    } else {
        m_associate->setGeometry(g.x() + w, g.y(), g.width() - w, g.height());
        setGeometry(g.x(), g.y(), w, g.height());
    }
}

void TGWCustomUpDown::setMin(int value)
{
    m_min = toSmallInt(value);
    setPosition(m_position);
}

void TGWCustomUpDown::setMax(int value)
{
    m_max = toSmallInt(value);
    setPosition(m_position);
}

void TGWCustomUpDown::setPosition(int value)
{
    m_position = clampPosition(toSmallInt(value), m_min, m_max);
    showPosition();
}

void TGWCustomUpDown::setThousands(bool value)
{
    m_thousands = value;
    showPosition();
}

void TGWCustomUpDown::showPosition()
{
    if (!m_associate)
        return;
    const QString text = QString::fromStdString(formatPosition(m_position, m_thousands));
    if (auto *edit = qobject_cast<QLineEdit *>(m_associate.data()))
        edit->setText(text);
    else
        m_associate->setProperty("text", text);
}

void TGWCustomUpDown::step(bool up)
{
    // The user may have typed into the edit since the last step.
    if (auto *edit = qobject_cast<QLineEdit *>(m_associate.data())) {
        if (const auto typed = parsePosition(edit->text().toStdString()))
            m_position = clampPosition(toSmallInt(*typed), m_min, m_max);
    }
    // Wide sums: an Increment near the int limits must not overflow.
    const long long wideDelta = up ? static_cast<long long>(m_increment) : -static_cast<long long>(m_increment);
    const int delta = static_cast<int>(std::clamp<long long>(wideDelta, INT_MIN, INT_MAX));
    const int newValue = static_cast<int>(std::clamp<long long>(m_position + wideDelta, INT_MIN, INT_MAX));
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    if (!allow)
        return;
    if (OnChangingEx)
        OnChangingEx(this, allow, newValue, stepDirection(delta, newValue, m_min, m_max));
    if (!allow)
        return;
    const int old = m_position;
    m_position = steppedPosition(m_position, delta, m_min, m_max, m_wrap);
    showPosition();
    if (OnClick && m_position != old)
        OnClick(this, m_position > old ? btNext : btPrev);
}

void TGWCustomUpDown::repeatStep()
{
    m_repeat.setInterval(kRepeatInterval);
    // Repeats only while the pointer stays over the held button.
    if (m_firstPressed && m_firstHot)
        step(m_orientation == udVertical);
    else if (m_secondPressed && m_secondHot)
        step(m_orientation != udVertical);
}

void TGWCustomUpDown::updateHot(const QPoint &p)
{
    const int W = width();
    const int H = height();
    const bool vertical = m_orientation == udVertical;
    const QRect first = vertical ? QRect(0, 0, W, H / 2) : QRect(0, 0, W / 2, H);
    const QRect second = vertical ? QRect(0, H / 2, W, H / 2) : QRect(W / 2, 0, W / 2, H);
    if (first.contains(p)) {
        if (!m_firstHot) {
            m_firstHot = true;
            m_secondHot = false;
            update();
        }
    } else if (second.contains(p)) {
        if (!m_secondHot) {
            m_secondHot = true;
            m_firstHot = false;
            update();
        }
    } else if (m_firstHot || m_secondHot) {
        m_firstHot = m_secondHot = false;
        update();
    }
}

void TGWCustomUpDown::mouseMoveEvent(QMouseEvent *e)
{
    updateHot(e->position().toPoint());
    TGWCustomControl::mouseMoveEvent(e);
}

void TGWCustomUpDown::leaveEvent(QEvent *)
{
    m_firstHot = m_secondHot = false;
    update();
}

void TGWCustomUpDown::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    updateHot(p);
    const bool inFirst = m_orientation == udVertical ? p.y() < height() / 2 : p.x() < width() / 2;
    m_firstPressed = inFirst;
    m_secondPressed = !inFirst;
    update();
    // The first half raises a vertical control and lowers a horizontal one.
    // The step's handlers may delete the control.
    const QPointer<TGWCustomUpDown> self(this);
    step(inFirst == (m_orientation == udVertical));
    if (self)
        m_repeat.start(kRepeatDelay);
}

void TGWCustomUpDown::mouseDoubleClickEvent(QMouseEvent *e)
{
    // No double clicks: a second press is just another press.
    mousePressEvent(e);
}

void TGWCustomUpDown::mouseReleaseEvent(QMouseEvent *)
{
    m_repeat.stop();
    m_firstPressed = m_secondPressed = false;
    update();
}

bool TGWCustomUpDown::handleArrowKey(int key)
{
    if (!m_arrowKeys || !isEnabled())
        return false;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        step(true);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Left:
        step(false);
        return true;
    default:
        return false;
    }
}

void TGWCustomUpDown::keyPressEvent(QKeyEvent *e)
{
    if (!handleArrowKey(e->key()))
        TGWCustomControl::keyPressEvent(e);
}

bool TGWCustomUpDown::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_associate && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        // Left and right keep moving the caret in the edit.
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && handleArrowKey(key))
            return true;
    }
    return TGWCustomControl::eventFilter(watched, e);
}

void TGWCustomUpDown::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        m_repeat.stop();
        update();
    }
    TGWCustomControl::changeEvent(e);
}

void TGWCustomUpDown::paintHalf(Canvas &canvas, const QRect &r, bool hot, bool pressed, bool second)
{
    TColor fill = Color(), frame = m_frameColor, arrow = m_arrowColor;
    if (!isEnabled()) {
        fill = m_disableColor;
        frame = m_frameDisableColor;
        arrow = m_arrowDisableColor;
    } else if (hot && pressed) {
        fill = m_downColor;
        frame = m_frameDownColor;
        arrow = m_arrowDownColor;
    } else if (hot) {
        fill = m_enterColor;
        frame = m_frameEnterColor;
        arrow = m_arrowEnterColor;
    }
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(fill);
    canvas.setPenColor(frame);
    canvas.rectangle(rectOf(r));
    const bool vertical = m_orientation == udVertical;
    const bool pushed = isEnabled() && hot && pressed;
    for (const ArrowRun &run : upDownArrow(m_orientation, width(), height(), second, pushed)) {
        for (int i = run.from; i <= run.to; ++i) {
            if (vertical)
                canvas.setPixel(i, run.line, arrow);
            else
                canvas.setPixel(run.line, i, arrow);
        }
    }
}

void TGWCustomUpDown::Paint(Canvas &canvas)
{
    TGWCustomControl::Paint(canvas);
    const int W = width();
    const int H = height();
    QRect first, second;
    if (m_orientation == udVertical) {
        first = QRect(0, 0, W, H / 2 + 1);
        second = QRect(0, H / 2 + 1, W, H - (H / 2 + 1));
    } else {
        first = QRect(0, 0, W / 2 + 1, H);
        second = QRect(W / 2 + 1, 0, W - (W / 2 + 1), H);
    }
    paintHalf(canvas, first, m_firstHot, m_firstPressed, false);
    paintHalf(canvas, second, m_secondHot, m_secondPressed, true);
}

} // namespace vomra

#include "widgets/Hint.h"

#include <QApplication>
#include <QBitmap>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace vomra {

namespace {
TGWHint *s_activeHint = nullptr;

QSize desktopSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

Rect moved(const Rect &r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
Rect toTRect(const Rect &r) { return {r.left, r.top, r.right, r.bottom}; }
} // namespace

// ---------------------------------------------------------------- THintFont

THintFont::THintFont(QObject *parent) : QObject(parent), Font(QToolTip::font()) {}

void THintFont::assign(const THintFont &other)
{
    Shadow = other.Shadow;
    ShadowSpace = other.ShadowSpace;
    ShadowColor = other.ShadowColor;
    Font = other.Font;
    FontColor = other.FontColor;
}

// ---------------------------------------------------------------- TGWHint

TGWHint::TGWHint(QObject *parent) : QObject(parent) { setActive(true); }

TGWHint::~TGWHint()
{
    if (s_activeHint == this)
        setActive(false);
}

TGWHint *TGWHint::activeHint() { return s_activeHint; }

void TGWHint::setActive(bool value)
{
    m_active = value;
    if (value) {
        s_activeHint = this;
        HintController::instance()->install();
    } else if (s_activeHint == this) {
        s_activeHint = nullptr;
        HintController::instance()->uninstall();
    }
}

void TGWHint::DoDrawHintBkgd(Canvas &canvas, const Rect &hintRect, const Rect &textRect, bool mouseOnTop,
                             bool mouseOnLeft, const QString &text)
{
    if (OnDrawHintBkgd)
        OnDrawHintBkgd(canvas, hintRect, textRect, mouseOnTop, mouseOnLeft, text);
}

// ---------------------------------------------------------------- THint

THint::THint(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    // Only the drawn shapes show; what lies beneath stays visible elsewhere.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("THint"));
}

QRect THint::CalcHintRect(int maxWidth, const QString &text)
{
    QFont font = QToolTip::font();
    if (const TGWHint *hint = TGWHint::activeHint()) {
        font = hint->HintFont()->Font;
        maxWidth = hint->HintWidth();
    }
    const QFontMetrics fm(font);
    const QRect measured =
        fm.boundingRect(QRect(0, 0, maxWidth, 0), Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop, text.trimmed());
    const HintSize size = hintSizeForText(measured.width(), measured.height());
    m_textRect = toTRect(size.textRect);
    return QRect(0, 0, size.width, size.height);
}

void THint::ActivateHint(const QRect &rect, const QString &text)
{
    hide();
    m_text = text.trimmed();
    const QSize desktop = desktopSize();
    CalcHintRect(desktop.width(), m_text);
    Rect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    if (const TGWHint *hint = TGWHint::activeHint()) {
        HintMargins margins;
        margins.left = hint->LeftSpacing();
        margins.right = hint->RightSpacing();
        margins.top = hint->TopSpacing();
        margins.bottom = hint->BottomSpacing();
        margins.iconWidth = margins.iconHeight = kIconSize;
        r = enlargeHintRect(r, hint->Style(), margins);
    }
    const HintPlacement place = placeHint(r, desktop.width(), desktop.height());
    m_mouseOnTop = place.mouseOnTop;
    m_mouseOnLeft = place.mouseOnLeft;
    setGeometry(place.bounds.left, place.bounds.top, place.bounds.width(), place.bounds.height());
    // Without a compositor an X11 window shows black where it is clear: cut the
    // window to its drawn shapes as well.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QImage shape(size(), QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        clearMask();
        render(&shape, QPoint(), QRegion(), QWidget::DrawChildren);
        setMask(QBitmap::fromImage(shape.createAlphaMask()));
    }
    show();
    update();
}

void THint::paintText(QPainter &painter, const TGWHint &hint, const Rect &rect)
{
    const THintFont &hf = *hint.HintFont();
    int align = Qt::AlignHCenter;
    if (hint.Alignment() == gwaLeftJustify)
        align = Qt::AlignLeft;
    else if (hint.Alignment() == gwaRightJustify)
        align = Qt::AlignRight;
    const int flags = Qt::TextWordWrap | Qt::AlignTop | align;
    QFont font = hf.Font;
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    if (hf.Shadow) {
        painter.setPen(Canvas::qcolor(hf.ShadowColor));
        painter.drawText(toQRect(moved(rect, hf.ShadowSpace, hf.ShadowSpace)), flags, m_text);
    }
    painter.setPen(Canvas::qcolor(hf.FontColor));
    painter.drawText(toQRect(rect), flags, m_text);
}

void THint::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    TGWHint *hint = TGWHint::activeHint();
    if (!hint)
        return;
    Canvas canvas(painter);
    const int W = width();
    const int H = height();
    Rect textRect = m_textRect;
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Solid);
    switch (hint->Style()) {
    case gwhsCircularity: {
        const BalloonShapes b = balloonShapes(W, H, m_mouseOnTop, m_mouseOnLeft);
        if (hint->Shadow()) {
            canvas.setPenColor(hint->ShadowColor());
            canvas.setBrushColor(hint->ShadowColor());
            canvas.ellipse(toTRect(b.shadowBubble));
            canvas.ellipse(toTRect(b.shadowBalloon));
        }
        canvas.setPenColor(hint->FrameColor());
        canvas.setBrushColor(hint->Color());
        canvas.ellipse(toTRect(b.bubble));
        canvas.ellipse(toTRect(b.balloon));
        textRect = moved(textRect, b.textDx, b.textDy);
        break;
    }
    case gwhsApplicationIcon: {
        if (hint->Shadow()) {
            canvas.setPenColor(hint->ShadowColor());
            canvas.setBrushColor(hint->ShadowColor());
            canvas.roundRect({2, 2, W, H}, 8, 8);
        }
        canvas.setPenColor(hint->FrameColor());
        canvas.setBrushColor(hint->Color());
        canvas.roundRect({0, 0, W - 2, H - 2}, 8, 8);
        const QIcon icon = QApplication::windowIcon();
        if (!icon.isNull())
            painter.drawPixmap(4, 4, icon.pixmap(kIconSize, kIconSize));
        textRect = moved(textRect, kIconSize + 8, 0);
        if (textRect.height() < kIconSize)
            textRect = moved(textRect, 0, (H - textRect.height()) / 2 - 2);
        break;
    }
    case gwhsUserCustom: {
        textRect = moved(textRect, hint->LeftSpacing(), hint->TopSpacing());
        hint->DoDrawHintBkgd(canvas, {0, 0, W, H}, textRect, m_mouseOnTop, m_mouseOnLeft, m_text);
        if (!hint->ShowHintText())
            return;
        break;
    }
    }
    paintText(painter, *hint, textRect);
}

// ---------------------------------------------------------------- HintController

HintController::HintController()
{
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &HintController::hideHint);
}

HintController *HintController::instance()
{
    static auto *controller = new HintController;
    return controller;
}

THint *HintController::window()
{
    if (!m_window)
        m_window = new THint;
    return m_window;
}

void HintController::install()
{
    if (m_installed || !qApp)
        return;
    qApp->installEventFilter(this);
    m_installed = true;
}

void HintController::uninstall()
{
    // A hint component may outlive the application object at exit.
    if (!m_installed || !qApp)
        return;
    qApp->removeEventFilter(this);
    m_installed = false;
    hideHint();
}

void HintController::hideHint()
{
    m_hideTimer.stop();
    m_owner = nullptr;
    if (m_window)
        m_window->hide();
}

void HintController::showFor(QWidget *widget, const QPoint &globalPos)
{
    showText(widget, widget->toolTip(), globalPos);
}

void HintController::showText(QWidget *widget, const QString &text, const QPoint &globalPos)
{
    THint *win = window();
    QRect r = win->CalcHintRect(desktopSize().width(), text);
    r.moveTo(globalPos + QPoint(0, kCursorMargin));
    win->ActivateHint(r, text);
    m_owner = widget;
    m_hideTimer.start(kHidePause);
}

bool HintController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !TGWHint::activeHint())
            break;
        if (widget->toolTip().isEmpty())
            break; // the platform passes the request on to the parent
        showFor(widget, static_cast<QHelpEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::Leave:
        if (watched == m_owner)
            hideHint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        if (m_window && m_window->isVisible())
            hideHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vomra

#pragma once
// Drawn hint windows in place of the platform's tooltips: a TGWHint holds the
// look; while it is active every tooltip of the application is shown in a THint
// window that reads its settings.

#include "widgets/Canvas.h"
#include "widgets/Const.h"
#include "widgets/core/HintLogic.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vomra {

class THintFont : public QObject {
    Q_OBJECT
public:
    explicit THintFont(QObject *parent = nullptr);
    void assign(const THintFont &other);

    bool Shadow = true;
    int ShadowSpace = 1;
    TColor ShadowColor = RGB(180, 180, 180);
    QFont Font;
    TColor FontColor = clBlack;
};

// The handler gets copies of the rectangles; changing them changes nothing.
using TGWHintDrawBkgdEvent = std::function<void(Canvas &ACanvas, Rect AHintRect, Rect ATextRect, bool AMouseOnTop,
                                                bool AMouseOnLeft, const QString &AHintText)>;

class TGWHint : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Shadow READ Shadow WRITE setShadow)
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(uint FrameColor READ FrameColor WRITE setFrameColor)
    Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(int HintWidth READ HintWidth WRITE setHintWidth)
    Q_PROPERTY(int LeftSpacing READ LeftSpacing WRITE setLeftSpacing)
    Q_PROPERTY(int RightSpacing READ RightSpacing WRITE setRightSpacing)
    Q_PROPERTY(int TopSpacing READ TopSpacing WRITE setTopSpacing)
    Q_PROPERTY(int BottomSpacing READ BottomSpacing WRITE setBottomSpacing)
    Q_PROPERTY(bool ShowHintText READ ShowHintText WRITE setShowHintText)
public:
    explicit TGWHint(QObject *parent = nullptr);
    ~TGWHint() override;

    // The hint that THint windows take their look from, if any.
    static TGWHint *activeHint();

    bool Shadow() const { return m_shadow; }
    void setShadow(bool value) { m_shadow = value; }
    bool Active() const { return m_active; }
    void setActive(bool value);
    THintFont *HintFont() { return &m_hintFont; }
    const THintFont *HintFont() const { return &m_hintFont; }
    void setHintFont(const THintFont &value) { m_hintFont.assign(value); }
    TColor Color() const { return m_color; }
    void setColor(TColor value) { m_color = value; }
    TColor FrameColor() const { return m_frameColor; }
    void setFrameColor(TColor value) { m_frameColor = value; }
    TColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(TColor value) { m_shadowColor = value; }
    int HintWidth() const { return m_hintWidth; }
    void setHintWidth(int value) { m_hintWidth = value; }
    TGWAlignment Alignment() const { return m_alignment; }
    void setAlignment(TGWAlignment value) { m_alignment = value; }
    TGWHintStyle Style() const { return m_style; }
    void setStyle(TGWHintStyle value) { m_style = value; }
    // Margins of the user-custom style; 0 and below are ignored.
    int LeftSpacing() const { return m_leftSpacing; }
    void setLeftSpacing(int value) { setSpacing(m_leftSpacing, value); }
    int RightSpacing() const { return m_rightSpacing; }
    void setRightSpacing(int value) { setSpacing(m_rightSpacing, value); }
    int TopSpacing() const { return m_topSpacing; }
    void setTopSpacing(int value) { setSpacing(m_topSpacing, value); }
    int BottomSpacing() const { return m_bottomSpacing; }
    void setBottomSpacing(int value) { setSpacing(m_bottomSpacing, value); }
    bool ShowHintText() const { return m_showHintText; }
    void setShowHintText(bool value) { m_showHintText = value; }

    TGWHintDrawBkgdEvent OnDrawHintBkgd;

    virtual void DoDrawHintBkgd(Canvas &canvas, const Rect &hintRect, const Rect &textRect, bool mouseOnTop,
                                bool mouseOnLeft, const QString &text);

private:
    static void setSpacing(int &field, int value)
    {
        if (value > 0)
            field = value;
    }

    bool m_shadow = true;
    bool m_active = false;
    THintFont m_hintFont;
    TColor m_color = RGB(210, 230, 230);
    TColor m_frameColor = RGB(104, 123, 186);
    TColor m_shadowColor = RGB(180, 180, 180);
    int m_hintWidth = 200;
    TGWAlignment m_alignment = gwaCenter;
    TGWHintStyle m_style = gwhsCircularity;
    int m_leftSpacing = 24;
    int m_rightSpacing = 24;
    int m_topSpacing = 24;
    int m_bottomSpacing = 24;
    bool m_showHintText = true;
};

// The hint window: top-most, never activated, showing only its drawn shapes.
class THint : public QWidget {
    Q_OBJECT
public:
    explicit THint(QWidget *parent = nullptr);

    // The window's size for a text, in a rectangle at (0, 0); also sets TextRect.
    QRect CalcHintRect(int maxWidth, const QString &text);
    // Shows the text in `rect` (global coordinates), grown by the style's margins
    // and flipped above / left of the anchor at the desktop's edges.
    void ActivateHint(const QRect &rect, const QString &text);

    QString text() const { return m_text; }
    Rect TextRect() const { return m_textRect; }
    bool MouseOnTop() const { return m_mouseOnTop; }
    bool MouseOnLeft() const { return m_mouseOnLeft; }

    // The application icon's size as the hint draws it.
    static constexpr int kIconSize = 32;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintText(QPainter &painter, const TGWHint &hint, const Rect &rect);

    QString m_text;
    Rect m_textRect;
    bool m_mouseOnTop = true;
    bool m_mouseOnLeft = true;
};

// Shows tooltips in a THint while a TGWHint is active: the application-wide
// event filter on tool-tip events and the hiding rules.
class HintController : public QObject {
    Q_OBJECT
public:
    static HintController *instance();
    THint *window();

    // How long a hint stays up, in ms.
    static constexpr int kHidePause = 2500;
    // Distance from the mouse's hot spot down to the hint.
    static constexpr int kCursorMargin = 20;

    void install();
    void uninstall();
    void hideHint();
    // Shows `text` below `globalPos` as a tooltip of `owner` would be shown; without
    // an owner, leaving a widget does not hide it (the pause, a click or a key does).
    void showText(QWidget *owner, const QPoint &globalPos, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HintController();
    void showFor(QWidget *widget, const QPoint &globalPos);

    QPointer<THint> m_window;
    QPointer<QWidget> m_owner;
    QTimer m_hideTimer;
    bool m_installed = false;
};

} // namespace vomra

#pragma once
// Base classes of the owner-painted controls.

#include "widgets/core/ButtonLogic.h"
#include "widgets/Canvas.h"
#include "widgets/Const.h"
#include "widgets/ImageList.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace vomra {

// A font together with its colour, as the controls' fonts carry one.
struct TGWFont {
    QFont font;
    TColor color = clWindowText;
};

// The default colour of a disabled control's caption.
inline constexpr TColor kDisabledCaptionColor = RGB(161, 161, 146);

// A notification with its sender (the control), as row handlers dispatch on Tag.
using TGWNotifyEvent = std::function<void(QObject *Sender)>;

// Releases `shortcutId` (when not 0) and grabs the Alt+letter accelerator of
// `caption` for `widget`; returns the new id, 0 when the caption has none.
int regrabMnemonic(QWidget *widget, int shortcutId, const QString &caption);

// The image list and the four state images of the buttons and the clickable
// labels: one block of published properties for both. Every setter stores the
// value and has the control repaint (imagesChanged), and so does a change inside
// the list; setting a list again reconnects it and repaints.
class StateImages {
public:
    TGWImageList *Images() const { return m_images; }
    void setImages(TGWImageList *value);
    int ImgUpIdx() const { return m_imgUpIdx; }
    void setImgUpIdx(int value);
    int ImgDownIdx() const { return m_imgDownIdx; }
    void setImgDownIdx(int value);
    int ImgEnterIdx() const { return m_imgEnterIdx; }
    void setImgEnterIdx(int value);
    int ImgDisableIdx() const { return m_imgDisableIdx; }
    void setImgDisableIdx(int value);

protected:
    explicit StateImages(QWidget *control) : m_control(control) {}
    ~StateImages() = default;
    StateImages(const StateImages &) = delete;
    StateImages &operator=(const StateImages &) = delete;

    // The image for the state (disabled, pressed, hot); -1 for none.
    int imageIndexFor(const ButtonState &state) const
    {
        return stateImageIndex(state, {m_imgUpIdx, m_imgDownIdx, m_imgEnterIdx, m_imgDisableIdx});
    }
    // Repaints the control the way its other setters do.
    virtual void imagesChanged() = 0;

private:
    QWidget *m_control;
    QPointer<TGWImageList> m_images;
    int m_imgUpIdx = -1;
    int m_imgDownIdx = -1;
    int m_imgEnterIdx = -1;
    int m_imgDisableIdx = -1;
};

// A windowed control whose background its owner may paint: with AutoDrawBackground
// off, painting starts with DrawBackground, which asks OnDrawBackground to paint
// the rectangle (0, 0, width, height).
class TGWCustomControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoDrawBackground READ AutoDrawBackground WRITE setAutoDrawBackground)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)

public:
    explicit TGWCustomControl(QWidget *parent = nullptr);

    bool AutoDrawBackground() const { return m_autoDrawBackground; }
    void setAutoDrawBackground(bool value);

    // The control's own colour (0x00BBGGRR or a system colour); repaints.
    TColor Color() const { return m_color; }
    void setColor(TColor value);

    // The colour of the control's font; repaints.
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value);

    int Tag() const { return m_tag; }
    void setTag(int value) { m_tag = value; }

    TGWDrawBackgroundEvent OnDrawBackground;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The whole painting of the control; the base runs DrawBackground when the
    // owner paints the background. Subclasses call it first, then paint on top.
    virtual void Paint(Canvas &canvas);
    virtual void DrawBackground(Canvas &canvas);

private:
    bool m_autoDrawBackground = true;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    int m_tag = 0;
};

// A clickable label's common part: tracks the pointer (hot) and the left button
// (pressed), carries the hot and disabled fonts, the caption shadow and the state
// images. Qt has no window-less controls, so this is a child widget; with
// Transparent on it paints no background and what lies behind it shows through.
class TGWGraphicButtonBase : public QWidget, public StateImages {
    Q_OBJECT
    Q_PROPERTY(bool CaptionShadow READ CaptionShadow WRITE setCaptionShadow)
    Q_PROPERTY(int CaptionShadowSpace READ CaptionShadowSpace WRITE setCaptionShadowSpace)
    Q_PROPERTY(int ImgUpIdx READ ImgUpIdx WRITE setImgUpIdx)
    Q_PROPERTY(int ImgDownIdx READ ImgDownIdx WRITE setImgDownIdx)
    Q_PROPERTY(int ImgEnterIdx READ ImgEnterIdx WRITE setImgEnterIdx)
    Q_PROPERTY(int ImgDisableIdx READ ImgDisableIdx WRITE setImgDisableIdx)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)

public:
    explicit TGWGraphicButtonBase(QWidget *parent = nullptr);

    QWidget *FocusControl() const { return m_focusControl; }
    void setFocusControl(QWidget *value) { m_focusControl = value; } // QPointer forgets a deleted control

    bool isHot() const { return m_hot; }
    bool isPressed() const { return m_pressed; }

    const TGWFont &MouseEnterFont() const { return m_mouseEnterFont; }
    void setMouseEnterFont(const TGWFont &value) { m_mouseEnterFont = value; }
    const TGWFont &DisableFont() const { return m_disableFont; }
    void setDisableFont(const TGWFont &value) { m_disableFont = value; }

    bool CaptionShadow() const { return m_captionShadow; }
    void setCaptionShadow(bool value);
    TColor CaptionShadowColor() const { return m_captionShadowColor; }
    void setCaptionShadowColor(TColor value);
    int CaptionShadowSpace() const { return m_captionShadowSpace; }
    void setCaptionShadowSpace(int value);

    int Spacing() const { return m_spacing; }
    void setSpacing(int value);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);

    // The control's own colour and its font's colour.
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value);

    int Tag() const { return m_tag; }
    void setTag(int value) { m_tag = value; }

    // The image index for the current state (disabled, pressed, hot).
    int currentImageIndex() const;

    TGWNotifyEvent OnMouseEnter;
    TGWNotifyEvent OnMouseLeave;
    TGWNotifyEvent OnClick;

signals:
    void clicked();

protected:
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void Paint(Canvas &canvas);
    // Redraws after a state change: through the parent when transparent, so that
    // what lies behind is painted first; directly otherwise.
    void Refresh() { redraw(m_transparent); }
    void imagesChanged() override { Refresh(); }
    // Redraws at once, through the parent (when there is one) or directly.
    void redraw(bool throughParent);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHot(bool value);

    QPointer<QWidget> m_focusControl;
    bool m_hot = false;
    bool m_pressed = false;
    TGWFont m_mouseEnterFont;
    TGWFont m_disableFont;
    bool m_captionShadow = false;
    TColor m_captionShadowColor = RGB(128, 128, 128);
    int m_captionShadowSpace = 1;
    int m_spacing = 2;
    bool m_transparent = false;
    QString m_caption;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    int m_tag = 0;
    int m_shortcutId = 0;
};

} // namespace vomra

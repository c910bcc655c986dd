#pragma once
// Focusable, self-drawn buttons: a push button with three looks, and check boxes
// and radio buttons drawn from small pictures, all with hot and pressed states.

#include "widgets/core/ButtonLogic.h"
#include "widgets/Controls.h"

#include <QPointer>
#include <QString>
#include <functional>

namespace vomra {

class TGWImageList;

class TGWButtonBase : public TGWCustomControl, public StateImages {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(bool Shadow READ Shadow WRITE setShadow)
    Q_PROPERTY(int ShadowOffset READ ShadowOffset WRITE setShadowOffset)
    Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(uint MouseEnterColor READ MouseEnterColor WRITE setMouseEnterColor)
    Q_PROPERTY(uint DisableColor READ DisableColor WRITE setDisableColor)
    Q_PROPERTY(int ImgUpIdx READ ImgUpIdx WRITE setImgUpIdx)
    Q_PROPERTY(int ImgDownIdx READ ImgDownIdx WRITE setImgDownIdx)
    Q_PROPERTY(int ImgEnterIdx READ ImgEnterIdx WRITE setImgEnterIdx)
    Q_PROPERTY(int ImgDisableIdx READ ImgDisableIdx WRITE setImgDisableIdx)

public:
    explicit TGWButtonBase(QWidget *parent = nullptr);

    enum class Kind { Push, CheckBox, Radio };
    Kind kind() const { return m_kind; }

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);

    // The caption colour is the control's FontColor.
    TColor MouseEnterColor() const { return m_mouseEnterColor; }
    void setMouseEnterColor(TColor value);
    TColor DisableColor() const { return m_disableColor; }
    void setDisableColor(TColor value);

    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout value);
    int Spacing() const { return m_spacing; }
    void setSpacing(int value);

    // Setting it in code fires nothing; a radio button set on clears its siblings.
    bool Checked() const { return m_checked; }
    void setChecked(bool value);

    bool Shadow() const { return m_shadow; }
    void setShadow(bool value);
    TColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(TColor value);
    int ShadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(int value);

    bool MouseHot() const { return m_mouseHot; }
    bool MousePressed() const { return m_mousePressed; }
    bool KeyPressed() const { return m_keyPressed; }
    int CaptionWidth() const { return m_captionWidth; }
    int CaptionHeight() const { return m_captionHeight; }

    // Fired on a click: a left release inside after a press here (before the
    // toggle), and after Enter, a space release or the accelerator (after it).
    std::function<void(QObject *Sender)> OnClick;
    // Fired after a user toggle only.
    std::function<void(QObject *Sender)> OnChecked;

protected:
    void setKind(Kind kind) { m_kind = kind; }
    ButtonState state() const;
    void imagesChanged() override { update(); }

    virtual void DoToggle();
    virtual void DrawCaption(Canvas &canvas, int x, int y);
    virtual void DrawImage(Canvas &canvas, int x, int y);
    virtual void DrawContent(Canvas &canvas, int dx, int dy);
    void SelectInGroup();
    // The background (the control's colour, or the owner's painting) and the
    // caption's measure; every face starts here.
    void Paint(Canvas &canvas) override;
    // The check box and radio face: picture, caption and focus mark.
    void paintPictureFace(Canvas &canvas);

    bool event(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void click();
    // DoToggle, then the click; false when a handler has deleted the button.
    bool toggleThenClick();

    Kind m_kind = Kind::Push;
    QString m_caption;
    TColor m_mouseEnterColor = clWindowText;
    TColor m_disableColor = kDisabledCaptionColor;
    TButtonLayout m_layout = blGlyphTop;
    int m_spacing = 2;
    bool m_checked = false;
    bool m_shadow = false;
    TColor m_shadowColor = clGray;
    int m_shadowOffset = 1;
    bool m_mouseHot = false;
    bool m_mousePressed = false;
    bool m_keyPressed = false;
    int m_captionWidth = 0;
    int m_captionHeight = 0;
    int m_shortcutId = 0;
};

enum TGWButtonStyle { gwbsStandard, gwbsWindowsXP, gwbsFlat };

class TGWButton : public TGWButtonBase {
    Q_OBJECT
    Q_PROPERTY(uint TopLineColor READ TopLineColor WRITE setTopLineColor)
    Q_PROPERTY(uint LeftLineColor READ LeftLineColor WRITE setLeftLineColor)
    Q_PROPERTY(uint RightLineColor READ RightLineColor WRITE setRightLineColor)
    Q_PROPERTY(uint BottomLineColor READ BottomLineColor WRITE setBottomLineColor)
    Q_PROPERTY(bool ShowSideLine READ ShowSideLine WRITE setShowSideLine)
public:
    explicit TGWButton(QWidget *parent = nullptr);

    TGWButtonStyle ButtonStyle() const { return m_buttonStyle; }
    void setButtonStyle(TGWButtonStyle value);
    // The side-line colours and ShowSideLine repaint only outside the XP look,
    // which does not use them.
    TColor TopLineColor() const { return m_topLineColor; }
    void setTopLineColor(TColor value);
    TColor LeftLineColor() const { return m_leftLineColor; }
    void setLeftLineColor(TColor value);
    TColor RightLineColor() const { return m_rightLineColor; }
    void setRightLineColor(TColor value);
    TColor BottomLineColor() const { return m_bottomLineColor; }
    void setBottomLineColor(TColor value);
    bool ShowSideLine() const { return m_showSideLine; }
    void setShowSideLine(bool value);

protected:
    void Paint(Canvas &canvas) override;

private:
    void repaintUnlessXP();
    void drawSideLines(Canvas &canvas, bool swapped);
    void drawXPFace(Canvas &canvas);
    void drawXPPressedFace(Canvas &canvas);
    void drawXPEdge(Canvas &canvas, bool hot);
    void drawUp(Canvas &canvas);
    void drawDown(Canvas &canvas);
    void drawHot(Canvas &canvas);
    void drawFocus(Canvas &canvas);

    TGWButtonStyle m_buttonStyle = gwbsWindowsXP;
    TColor m_topLineColor = RGB(240, 240, 240);
    TColor m_leftLineColor = RGB(240, 240, 240);
    TColor m_rightLineColor = RGB(100, 100, 100);
    TColor m_bottomLineColor = RGB(100, 100, 100);
    bool m_showSideLine = true;
};

class TGWCheckBox : public TGWButtonBase {
    Q_OBJECT
public:
    explicit TGWCheckBox(QWidget *parent = nullptr);

protected:
    void Paint(Canvas &canvas) override;
};

class TGWRadioButton : public TGWButtonBase {
    Q_OBJECT
public:
    explicit TGWRadioButton(QWidget *parent = nullptr);

protected:
    void Paint(Canvas &canvas) override;
};

// The picture resource "GWChkBox<n>" or "GWRBtn<n>"; radio pictures come back
// with their transparent colour (the bottom-left pixel's) cleared.
QImage checkPicture(bool radio, int number);

} // namespace vomra

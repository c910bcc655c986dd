#pragma once
// Container controls: a flat panel whose background its owner may paint, and the
// collapsible section made of a title (TGWAutoPanelTitle) and a body (TGWAutoPanel).

#include "widgets/Controls.h"

#include <QPointer>

namespace vomra {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TGWCustomPanel : public TGWCustomControl {
    Q_OBJECT
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(bool FullRepaint READ FullRepaint WRITE setFullRepaint)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TGWCustomPanel(QWidget *parent = nullptr);

    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut value);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int value); // 1 or more
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int value); // 0 or more
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle value);
    bool FullRepaint() const { return m_fullRepaint; }
    void setFullRepaint(bool value);
    bool Locked() const { return m_locked; }
    void setLocked(bool value) { m_locked = value; }
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);

protected:
    void Paint(Canvas &canvas) override;
    void resizeEvent(QResizeEvent *event) override;
    // Pixels taken by the single border, the bevels and the border width, per side.
    int frameThickness() const;

private:
    void relayout();

    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    bool m_fullRepaint = true;
    bool m_locked = false;
    TAlignment m_alignment = taCenter;
    QString m_caption;
};

class TGWPanel : public TGWCustomPanel {
    Q_OBJECT
public:
    using TGWCustomPanel::TGWCustomPanel;
};

// The body of a collapsible section: open on top (its title closes the box),
// outlined on the other three sides.
class TGWAutoPanel : public TGWCustomPanel {
    Q_OBJECT
    Q_PROPERTY(int SelfHeight READ SelfHeight WRITE setSelfHeight)

public:
    explicit TGWAutoPanel(QWidget *parent = nullptr);

    TColor OutlineColor() const { return m_outlineColor; }
    void setOutlineColor(TColor value);
    TColor DisableOutlineColor() const { return m_disableOutlineColor; }
    void setDisableOutlineColor(TColor value);
    // The full height: the target of the expand animation and the base of its step.
    int SelfHeight() const { return m_selfHeight; }
    void setSelfHeight(int value) { m_selfHeight = value; }

protected:
    void Paint(Canvas &canvas) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    TColor m_outlineColor = clWhite;
    TColor m_disableOutlineColor = RGB(161, 161, 146);
    int m_selfHeight = 200;
};

// The title of a collapsible section: a gradient bar with rounded top corners
// and a round button with chevrons; a click rolls the body up or down, and every
// title chained below follows. A hidden title learns of a move of its own only
// when it is shown (Qt defers the event); moves made by the chain apply at once.
class TGWAutoPanelTitle : public TGWCustomControl {
    Q_OBJECT
    Q_PROPERTY(int NextTitleSpace READ NextTitleSpace WRITE setNextTitleSpace)
    Q_PROPERTY(bool Expanded READ Expanded WRITE setExpanded)
    Q_PROPERTY(int ExpandedStep READ ExpandedStep WRITE setExpandedStep)
    Q_PROPERTY(bool Expandeding READ Expandeding)
    Q_PROPERTY(bool CaptionShadow READ CaptionShadow WRITE setCaptionShadow)
    Q_PROPERTY(int CaptionShadowSpace READ CaptionShadowSpace WRITE setCaptionShadowSpace)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TGWAutoPanelTitle(QWidget *parent = nullptr);

    TGWAutoPanel *AutoPanel() const { return m_autoPanel; }
    void setAutoPanel(TGWAutoPanel *value);
    TGWAutoPanelTitle *NextTitle() const { return m_nextTitle; }
    void setNextTitle(TGWAutoPanelTitle *value);
    int NextTitleSpace() const { return m_nextTitleSpace; }
    void setNextTitleSpace(int value);

    TColor LeftColor() const { return m_leftColor; }
    void setLeftColor(TColor value);
    TColor RightColor() const { return m_rightColor; }
    void setRightColor(TColor value);
    TColor DisableLeftColor() const { return m_disableLeftColor; }
    void setDisableLeftColor(TColor value);
    TColor DisableRightColor() const { return m_disableRightColor; }
    void setDisableRightColor(TColor value);
    TColor EnterColor() const { return m_enterColor; }
    void setEnterColor(TColor value);

    bool Expanded() const { return m_expanded; }
    // Animates towards the new state (when a body is linked); no OnExpanded.
    void setExpanded(bool value);
    int ExpandedStep() const { return m_expandedStep; }
    void setExpandedStep(int value); // 0 or less is refused
    bool Expandeding() const { return m_expandeding; }

    bool CaptionShadow() const { return m_captionShadow; }
    void setCaptionShadow(bool value);
    TColor CaptionShadowColor() const { return m_captionShadowColor; }
    void setCaptionShadowColor(TColor value);
    int CaptionShadowSpace() const { return m_captionShadowSpace; }
    void setCaptionShadowSpace(int value);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);

    bool isHot() const { return m_hot; }

    // Flips Expanded, animates to the end, then fires OnExpanded. Ignored while
    // this section's animation runs (clicks arrive during it).
    virtual void Toggle();
    // Moves the next title to its place under this section.
    void PlaceNextTitle();

    // Fired after a click has toggled the section and the animation has ended.
    TGWNotifyEvent OnExpanded;

protected:
    void Paint(Canvas &canvas) override;
    bool event(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // One step of the animation; false when the body is at its end (or gone).
    bool AnimateStep();
    void runAnimation();
    // Body and next title follow this title's place and width.
    void followTitle();
    void setHot(bool value);
    void passFocusOn();
    void paintButton(Canvas &canvas);

    QPointer<TGWAutoPanel> m_autoPanel;
    QPointer<TGWAutoPanelTitle> m_nextTitle;
    int m_nextTitleSpace = 12;
    TColor m_leftColor = clWhite;
    TColor m_rightColor = RGB(214, 223, 247);
    TColor m_disableLeftColor = RGB(235, 235, 235);
    TColor m_disableRightColor = RGB(220, 220, 220);
    TColor m_enterColor = clBlue;
    bool m_expanded = true;
    int m_expandedStep = 10;
    bool m_expandeding = false;
    bool m_captionShadow = false;
    TColor m_captionShadowColor = RGB(128, 128, 128);
    int m_captionShadowSpace = 1;
    QString m_caption;
    bool m_hot = false;
    bool m_pressed = false;
    int m_shortcutId = 0;
};

} // namespace vomra

#pragma once
// A pair of spin buttons in their own colours that step a position and show it
// in an associated edit.

#include "widgets/Controls.h"
#include "widgets/core/UpDownLogic.h"

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace vomra {

// Raised when an edit is given to a second spin button of the same parent.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TGWCustomUpDown : public TGWCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int Increment READ Increment WRITE setIncrement)
    Q_PROPERTY(bool Wrap READ Wrap WRITE setWrap)
    Q_PROPERTY(bool Thousands READ Thousands WRITE setThousands)
    Q_PROPERTY(bool ArrowKeys READ ArrowKeys WRITE setArrowKeys)
    Q_PROPERTY(uint EnterColor READ EnterColor WRITE setEnterColor)
    Q_PROPERTY(uint DownColor READ DownColor WRITE setDownColor)
    Q_PROPERTY(uint DisableColor READ DisableColor WRITE setDisableColor)
    Q_PROPERTY(uint FrameColor READ FrameColor WRITE setFrameColor)
    Q_PROPERTY(uint FrameEnterColor READ FrameEnterColor WRITE setFrameEnterColor)
    Q_PROPERTY(uint FrameDownColor READ FrameDownColor WRITE setFrameDownColor)
    Q_PROPERTY(uint FrameDisableColor READ FrameDisableColor WRITE setFrameDisableColor)
    Q_PROPERTY(uint ArrowColor READ ArrowColor WRITE setArrowColor)
    Q_PROPERTY(uint ArrowEnterColor READ ArrowEnterColor WRITE setArrowEnterColor)
    Q_PROPERTY(uint ArrowDownColor READ ArrowDownColor WRITE setArrowDownColor)
    Q_PROPERTY(uint ArrowDisableColor READ ArrowDisableColor WRITE setArrowDisableColor)

public:
    explicit TGWCustomUpDown(QWidget *parent = nullptr);

    // Colours; every setter repaints at once.
    TColor EnterColor() const { return m_enterColor; }
    void setEnterColor(TColor v) { setColour(m_enterColor, v); }
    TColor DownColor() const { return m_downColor; }
    void setDownColor(TColor v) { setColour(m_downColor, v); }
    TColor DisableColor() const { return m_disableColor; }
    void setDisableColor(TColor v) { setColour(m_disableColor, v); }
    TColor FrameColor() const { return m_frameColor; }
    void setFrameColor(TColor v) { setColour(m_frameColor, v); }
    TColor FrameEnterColor() const { return m_frameEnterColor; }
    void setFrameEnterColor(TColor v) { setColour(m_frameEnterColor, v); }
    TColor FrameDownColor() const { return m_frameDownColor; }
    void setFrameDownColor(TColor v) { setColour(m_frameDownColor, v); }
    TColor FrameDisableColor() const { return m_frameDisableColor; }
    void setFrameDisableColor(TColor v) { setColour(m_frameDisableColor, v); }
    TColor ArrowColor() const { return m_arrowColor; }
    void setArrowColor(TColor v) { setColour(m_arrowColor, v); }
    TColor ArrowEnterColor() const { return m_arrowEnterColor; }
    void setArrowEnterColor(TColor v) { setColour(m_arrowEnterColor, v); }
    TColor ArrowDownColor() const { return m_arrowDownColor; }
    void setArrowDownColor(TColor v) { setColour(m_arrowDownColor, v); }
    TColor ArrowDisableColor() const { return m_arrowDisableColor; }
    void setArrowDisableColor(TColor v) { setColour(m_arrowDisableColor, v); }

    TUDAlignButton AlignButton() const { return m_alignButton; }
    void setAlignButton(TUDAlignButton value);
    TUDOrientation Orientation() const { return m_orientation; }
    void setOrientation(TUDOrientation value);

    // Only a control of the same parent that is not a spin button, tree view or
    // list view is taken; one already held by another spin button of the parent
    // raises EInvalidOperation.
    QWidget *Associate() const { return m_associate; }
    void setAssociate(QWidget *value);

    // Off at construction: the spin buttons are reached with the mouse and the
    // edit's arrow keys, not with Tab.
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }

    bool ArrowKeys() const { return m_arrowKeys; }
    void setArrowKeys(bool value) { m_arrowKeys = value; }
    int Min() const { return m_min; }
    void setMin(int value);
    int Max() const { return m_max; }
    void setMax(int value);
    int Increment() const { return m_increment; }
    void setIncrement(int value) { m_increment = value; }
    // Set in code: kept within the range, shown in the edit, no events.
    int Position() const { return m_position; }
    void setPosition(int value);
    bool Thousands() const { return m_thousands; }
    void setThousands(bool value);
    bool Wrap() const { return m_wrap; }
    void setWrap(bool value) { m_wrap = value; }

    bool FirstHot() const { return m_firstHot; }
    bool SecondHot() const { return m_secondHot; }
    bool FirstPressed() const { return m_firstPressed; }
    bool SecondPressed() const { return m_secondPressed; }

    // One step as a press of the raising (up) or lowering button makes it.
    void step(bool up);

    std::function<void(QObject *Sender, bool &AllowChange)> OnChanging;
    std::function<void(QObject *Sender, bool &AllowChange, int NewValue, TUpDownDirection Direction)> OnChangingEx;
    std::function<void(QObject *Sender, TUDBtnType Button)> OnClick;

    // The delay before a held button repeats, and the repeat interval, in ms.
    static constexpr int kRepeatDelay = 400;
    static constexpr int kRepeatInterval = 100;

protected:
    void Paint(Canvas &canvas) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColour(TColor &field, TColor value);
    void updateHot(const QPoint &p);
    void showPosition();
    void placeBesideAssociate();
    void repeatStep();
    bool handleArrowKey(int key);
    void paintHalf(Canvas &canvas, const QRect &r, bool hot, bool pressed, bool second);

    TColor m_enterColor = RGB(220, 220, 220);
    TColor m_downColor = RGB(200, 200, 200);
    TColor m_disableColor = RGB(230, 230, 230);
    TColor m_frameColor = RGB(116, 130, 163);
    TColor m_frameEnterColor = RGB(96, 110, 143);
    TColor m_frameDownColor = RGB(76, 90, 123);
    TColor m_frameDisableColor = clGray;
    TColor m_arrowColor = RGB(116, 130, 163);
    TColor m_arrowEnterColor = RGB(96, 110, 143);
    TColor m_arrowDownColor = RGB(76, 90, 123);
    TColor m_arrowDisableColor = clBtnFace;
    TUDAlignButton m_alignButton = udRight;
    TUDOrientation m_orientation = udVertical;
    QPointer<QWidget> m_associate;
    bool m_arrowKeys = true;
    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_position = 0;
    bool m_thousands = true;
    bool m_wrap = false;
    bool m_firstHot = false;
    bool m_secondHot = false;
    bool m_firstPressed = false;
    bool m_secondPressed = false;
    QTimer m_repeat;
};

class TGWUpDown : public TGWCustomUpDown {
    Q_OBJECT
public:
    explicit TGWUpDown(QWidget *parent = nullptr) : TGWCustomUpDown(parent) {}
};

} // namespace vomra

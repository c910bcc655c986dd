#pragma once
// Base classes of the owner-painted controls.

#include "widgets/Canvas.h"
#include "widgets/Const.h"

#include <QWidget>

namespace vomra {

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
    int m_tag = 0;
};

} // namespace vomra

#pragma once
// A clickable label: the image for its state next to an aligned, possibly
// multi-line caption, on a plain, gradient or transparent background.

#include "widgets/Controls.h"

namespace vomra {

class TGWImageLabel : public TGWGraphicButtonBase {
    Q_OBJECT
    Q_PROPERTY(int ParagraphSpace READ ParagraphSpace WRITE setParagraphSpace)
    Q_PROPERTY(bool GradualColor READ GradualColor WRITE setGradualColor)
    Q_PROPERTY(bool GradualHorizontal READ GradualHorizontal WRITE setGradualHorizontal)

public:
    explicit TGWImageLabel(QWidget *parent = nullptr);

    TGWAlignment Alignment() const { return m_alignment; }
    void setAlignment(TGWAlignment value);
    int ParagraphSpace() const { return m_paragraphSpace; }
    void setParagraphSpace(int value);
    bool GradualColor() const { return m_gradualColor; }
    void setGradualColor(bool value);
    bool GradualHorizontal() const { return m_gradualHorizontal; }
    void setGradualHorizontal(bool value);
    TColor ColorLeftTop() const { return m_colorLeftTop; }
    void setColorLeftTop(TColor value);
    TColor ColorRightBottom() const { return m_colorRightBottom; }
    void setColorRightBottom(TColor value);

protected:
    void Paint(Canvas &canvas) override;
    virtual void PaintContent(Canvas &canvas);

private:
    void drawCaption(Canvas &canvas, int left, int top);

    TGWAlignment m_alignment = gwaLeftJustify;
    int m_paragraphSpace = 0;
    bool m_gradualColor = false;
    bool m_gradualHorizontal = true;
    TColor m_colorLeftTop = RGB(109, 207, 246);
    TColor m_colorRightBottom = clWhite;
};

} // namespace vomra

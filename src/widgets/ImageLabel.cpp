#include "widgets/ImageLabel.h"

#include "widgets/Functions.h"
#include "widgets/ImageList.h"

namespace vomra {

TGWImageLabel::TGWImageLabel(QWidget *parent) : TGWGraphicButtonBase(parent)
{
    resize(128, 32);
}

void TGWImageLabel::setAlignment(TGWAlignment value)
{
    m_alignment = value;
    redraw(true);
}

void TGWImageLabel::setParagraphSpace(int value)
{
    m_paragraphSpace = value;
    redraw(true);
}

void TGWImageLabel::setGradualColor(bool value)
{
    m_gradualColor = value;
    redraw(true);
}

void TGWImageLabel::setGradualHorizontal(bool value)
{
    m_gradualHorizontal = value;
    redraw(true);
}

void TGWImageLabel::setColorLeftTop(TColor value)
{
    m_colorLeftTop = value;
    redraw(true);
}

void TGWImageLabel::setColorRightBottom(TColor value)
{
    m_colorRightBottom = value;
    redraw(true);
}

void TGWImageLabel::Paint(Canvas &canvas)
{
    if (!Transparent()) {
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColor(Color());
        if (m_gradualColor)
            FillGradient(canvas, {0, 0, width(), height()}, m_colorLeftTop, m_colorRightBottom, m_gradualHorizontal);
        else
            canvas.fillRect({0, 0, width(), height()});
    }
    PaintContent(canvas);
}

void TGWImageLabel::drawCaption(Canvas &canvas, int left, int top)
{
    DrawTextBlock(canvas, {left, top, width(), height()}, Caption(), m_paragraphSpace, m_alignment, 1);
}

void TGWImageLabel::PaintContent(Canvas &canvas)
{
    canvas.setBrushStyle(BrushStyle::Clear);
    int x = 4;
    if (TGWImageList *images = Images()) {
        images->Draw(canvas, 4, (height() - images->Height()) / 2 - 1, currentImageIndex());
        x = 4 + images->Width() + Spacing();
    }
    if (!isEnabled()) {
        canvas.setFont(DisableFont().font);
        canvas.setFontColor(DisableFont().color);
        drawCaption(canvas, x, 0);
        return;
    }
    const TGWFont current = isHot() ? MouseEnterFont() : TGWFont{font(), FontColor()};
    canvas.setFont(current.font);
    if (CaptionShadow()) {
        canvas.setFontColor(CaptionShadowColor());
        drawCaption(canvas, x + CaptionShadowSpace(), CaptionShadowSpace());
    }
    canvas.setFontColor(current.color);
    drawCaption(canvas, x, 0);
}

} // namespace vomra

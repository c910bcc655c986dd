#pragma once
// A light progress bar drawn entirely by us: thin outline, filled and empty parts
// each a gradient across the bar's thickness, and the percentage in the middle.

#include "widgets/Canvas.h"
#include "widgets/Const.h"
#include "widgets/core/ProgressGeometry.h"

#include <QWidget>

#include <cstdint>

namespace vomra {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TGWProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint Max READ Max WRITE setMax)
    Q_PROPERTY(uint Min READ Min WRITE setMin)
    Q_PROPERTY(uint Position READ Position WRITE setPosition)
    Q_PROPERTY(bool ShowPercent READ ShowPercent WRITE setShowPercent)

public:
    explicit TGWProgressBar(QWidget *parent = nullptr);

    TScrollBarKind Kind() const { return m_kind; }
    void setKind(TScrollBarKind value);
    TColor StartColor() const { return m_startColor; }
    void setStartColor(TColor value);
    // clNone makes the empty part a two-colour gradient.
    TColor MiddleColor() const { return m_middleColor; }
    void setMiddleColor(TColor value);
    TColor EndColor() const { return m_endColor; }
    void setEndColor(TColor value);
    TColor ProgressStartColor() const { return m_progressStartColor; }
    void setProgressStartColor(TColor value);
    TColor ProgressMiddleColor() const { return m_progressMiddleColor; }
    void setProgressMiddleColor(TColor value);
    // Stored only; shows at the next repaint.
    TColor ProgressEndColor() const { return m_progressEndColor; }
    void setProgressEndColor(TColor value) { m_progressEndColor = value; }
    // Stored only; shows at the next repaint.
    TGWOutlineBorder OutlineBorder() const { return m_outlineBorder; }
    void setOutlineBorder(TGWOutlineBorder value);
    TColor OutlineColor() const { return m_outlineColor; }
    void setOutlineColor(TColor value);

    std::uint32_t Max() const { return m_range.max; }
    void setMax(std::uint32_t value);
    std::uint32_t Min() const { return m_range.min; }
    void setMin(std::uint32_t value);
    std::uint32_t Position() const { return m_range.position; }
    // A value outside [Min, Max] is ignored. The bar repaints at once, without
    // waiting for the event loop, so a busy loop still shows its progress.
    void setPosition(std::uint32_t value);
    bool ShowPercent() const { return m_showPercent; }
    void setShowPercent(bool value);

    TColor Color() const { return m_color; }
    void setColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value);

    // The filled length and the percentage for the current size and range.
    ProgressFill fill() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void Paint(Canvas &canvas);

private:
    TScrollBarKind m_kind = sbHorizontal;
    TColor m_startColor = RGB(135, 167, 239);
    TColor m_middleColor = clWhite;
    TColor m_endColor = RGB(135, 167, 239);
    TColor m_progressStartColor = RGB(105, 137, 209);
    TColor m_progressMiddleColor = RGB(220, 220, 220);
    TColor m_progressEndColor = RGB(105, 137, 209);
    TGWOutlineBorder m_outlineBorder = gwobFlat;
    TColor m_outlineColor = clGray;
    ProgressRange m_range;
    bool m_showPercent = true;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
};

} // namespace vomra

#pragma once
// The grinder's preview: the opened picture, stretched when it was fitted, with
// one colour optionally see-through; and the plain frame drawn behind it.

#include "widgets/core/Color.h"

#include <QImage>
#include <QWidget>

namespace vomra {

class TPreviewImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
public:
    explicit TPreviewImage(QWidget *parent = nullptr);

    const QImage &Picture() const { return m_picture; }
    // seeThrough: the colour that transparent drawing leaves out.
    void setPicture(const QImage &picture, QRgb seeThrough);

    bool Transparent() const { return m_transparent; }
    // Redraws.
    void setTransparent(bool value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    QImage m_shown; // the picture as drawn, with the see-through colour cleared
    QRgb m_seeThrough = 0;
    bool m_transparent = false;
};

// A rectangle: one pixel of pen colour round a face of brush colour.
class TPreviewFrame : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewFrame(QWidget *parent = nullptr);

    TColor BrushColor() const { return m_brushColor; }
    void setBrushColor(TColor value);
    TColor PenColor() const { return m_penColor; }
    void setPenColor(TColor value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TColor m_brushColor = clWhite;
    TColor m_penColor = clBlack;
};

// The see-through colour of a picture: its bottom-left pixel, but white for a
// two-colour bitmap (given its file bytes, or empty when not known).
QRgb seeThroughColour(const QImage &picture, const QByteArray &bitmapHead);

} // namespace vomra

#include "art/ui/PicturePreview.h"

#include "widgets/Canvas.h"

#include <QPainter>

namespace vomra {

TPreviewImage::TPreviewImage(QWidget *parent) : QWidget(parent) {}

void TPreviewImage::setPicture(const QImage &picture, QRgb seeThrough)
{
    m_picture = picture;
    m_seeThrough = seeThrough & 0xFFFFFFu;
    m_shown = QImage();
    update();
}

void TPreviewImage::setTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    m_shown = QImage();
    update();
}

void TPreviewImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    if (m_shown.isNull()) {
        if (m_transparent) {
            m_shown = m_picture.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < m_shown.height(); ++y) {
                auto *row = reinterpret_cast<QRgb *>(m_shown.scanLine(y));
                for (int x = 0; x < m_shown.width(); ++x)
                    if ((row[x] & 0xFFFFFFu) == m_seeThrough)
                        row[x] = 0;
            }
        } else {
            m_shown = m_picture;
        }
    }
    QPainter painter(this);
    painter.drawImage(rect(), m_shown);
}

TPreviewFrame::TPreviewFrame(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TPreviewFrame::setBrushColor(TColor value)
{
    if (m_brushColor == value)
        return;
    m_brushColor = value;
    update();
}

void TPreviewFrame::setPenColor(TColor value)
{
    if (m_penColor == value)
        return;
    m_penColor = value;
    update();
}

void TPreviewFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Canvas canvas(painter);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenColor(m_penColor);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(m_brushColor);
    canvas.rectangle({0, 0, width(), height()});
}

QRgb seeThroughColour(const QImage &picture, const QByteArray &bitmapHead)
{
    if (bitmapHead.size() >= 30 && bitmapHead.startsWith("BM")) {
        const auto byte = [&](int i) { return static_cast<unsigned char>(bitmapHead[i]); };
        const unsigned headerSize = byte(14) | byte(15) << 8 | byte(16) << 16 | static_cast<unsigned>(byte(17)) << 24;
        const int bits = headerSize == 12 ? (byte(24) | byte(25) << 8) : (byte(28) | byte(29) << 8);
        if (bits == 1)
            return 0xFFFFFFu;
    }
    if (picture.isNull())
        return 0;
    return picture.pixel(0, picture.height() - 1) & 0xFFFFFFu;
}

} // namespace vomra

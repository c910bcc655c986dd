#include "widgets/ImageList.h"

#include <QPainter>

namespace vomra {

TGWImageList::TGWImageList(int width, int height, QObject *parent)
    : QObject(parent), m_width(width), m_height(height)
{
}

int TGWImageList::Add(const QImage &image)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.width() != m_width || img.height() != m_height)
        img = img.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_images.append(img);
    m_disabled.append(greyedImage(img));
    emit changed();
    return Count() - 1;
}

void TGWImageList::Draw(Canvas &canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    canvas.draw(x, y, enabled ? m_images[index] : m_disabled[index]);
}

QImage TGWImageList::image(int index) const
{
    return (index >= 0 && index < Count()) ? m_images[index] : QImage();
}

QImage TGWImageList::disabledImage(int index) const
{
    return (index >= 0 && index < Count()) ? m_disabled[index] : QImage();
}

QIcon TGWImageList::icon(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    QIcon icon(QPixmap::fromImage(m_images[index]));
    icon.addPixmap(QPixmap::fromImage(m_disabled[index]), QIcon::Disabled);
    return icon;
}

QImage greyedImage(const QImage &image, int floor, int num, int den)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = row[x];
            const int gray = (qRed(p) * 77 + qGreen(p) * 151 + qBlue(p) * 28) >> 8;
            const int lifted = floor + gray * num / den;
            row[x] = qRgba(lifted, lifted, lifted, qAlpha(p));
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace vomra

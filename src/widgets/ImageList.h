#pragma once
// A list of equally sized images addressed by index, drawn enabled or greyed.

#include "widgets/Canvas.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>

namespace vomra {

class TGWImageList : public QObject {
    Q_OBJECT
public:
    TGWImageList(int width, int height, QObject *parent = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return static_cast<int>(m_images.size()); }

    // Adds one image (scaled to the list's size when it differs); returns its index.
    int Add(const QImage &image);

    // An index outside the list draws nothing.
    void Draw(Canvas &canvas, int x, int y, int index, bool enabled = true) const;
    QImage image(int index) const;
    QImage disabledImage(int index) const;
    QIcon icon(int index) const;

signals:
    void changed();

private:
    int m_width;
    int m_height;
    QList<QImage> m_images;
    QList<QImage> m_disabled; // made once per image
};

// The greyed form of an image: each pixel's gray level g becomes
// floor + g * num / den, alpha kept. The defaults are a disabled cell's: lifted
// toward white, shapes still readable.
QImage greyedImage(const QImage &image, int floor = 96, int num = 5, int den = 8);

} // namespace vomra

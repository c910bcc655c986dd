#include "artwork/Artwork.h"

#include "artwork/ArtworkPaint.h"
#include "platform/ImageIO.h"

#include <QFile>

namespace vomra {

namespace {

TGWImageList *filled(int size, const QList<QImage> &images, const char *name, QObject *parent)
{
    auto *list = new TGWImageList(size, size, parent);
    list->setObjectName(QLatin1String(name));
    for (const QImage &img : images)
        list->Add(img);
    return list;
}

const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

} // namespace

// The pictures are painted, not stored: the drawing code is their source.
TGWImageList *createImageList1(QObject *parent)
{
    return filled(20, artwork::paintSmallImages(), "ImageList1", parent);
}

TGWImageList *createImageList2(QObject *parent)
{
    return filled(48, artwork::paintLargeImages(), "ImageList2", parent);
}

TGWImageList *createImageList3(QObject *parent)
{
    return filled(24, artwork::paintToolImages(), "ImageList3", parent);
}

QImage splashPicture()
{
    QFile file(QStringLiteral(":/artwork/splash.jpg"));
    if (file.open(QIODevice::ReadOnly)) {
        Result<Picture> load = decodeJpeg(file.readAll());
        if (load)
            return std::move(load)->image;
    }
    // Without the stored picture (a damaged build) the window still has its size.
    return artwork::paintSplash();
}

QImage appIconImage(int size)
{
    const QImage stored(QStringLiteral(":/icons/vomra-%1.png").arg(size));
    return stored.isNull() ? artwork::paintAppIcon(size) : stored;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

} // namespace vomra

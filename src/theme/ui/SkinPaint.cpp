#include "theme/ui/SkinPaint.h"

#include "base/NativePath.h"
#include "platform/ImageIO.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <cmath>

namespace vomra {

namespace {

void Run(QPainter &p, const TSkinImages &images, const std::vector<TSkinCopy> &plan)
{
    const auto mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const TSkinCopy &c : plan)
        p.drawImage(QPoint(c.x, c.y), images[static_cast<int>(c.picture)],
                    QRect(c.source.left, c.source.top, c.source.width, c.source.height));
    p.setCompositionMode(mode);
}

QColor ToQColor(TColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

} // namespace

TSkinPictureLoader SkinPictureLoader(const std::string &themePath)
{
    return [themePath](const std::string &path, std::int64_t maxPixels) -> std::optional<TSkinPicture> {
        // A skin picture lies inside the theme folder: a link out of it is refused.
        const std::string real = realPathInside(themePath, path);
        if (real.empty())
            return std::nullopt;
        const Result<Picture> load = loadPicture(real, maxPixels);
        if (!load)
            return std::nullopt;
        return SkinPictureFromImage(load->image);
    };
}

QImage SkinImage(const TSkinPicture &picture)
{
    if (picture.empty() || picture.pixels.size() < static_cast<std::size_t>(picture.width) * picture.height)
        return QImage();
    QImage img(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(img.scanLine(y));
        const std::uint32_t *src = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        for (int x = 0; x < picture.width; ++x)
            row[x] = 0xFF000000u | src[x];
    }
    return img;
}

TSkinPicture SkinPictureFromImage(const QImage &image)
{
    TSkinPicture picture;
    if (image.isNull())
        return picture;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    picture.width = rgb.width();
    picture.height = rgb.height();
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto *row = reinterpret_cast<const std::uint32_t *>(rgb.constScanLine(y));
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = row[x] & 0xFFFFFFu;
    }
    return picture;
}

TSkinImages SkinImages(const TTheme &theme)
{
    TSkinImages images;
    for (int i = 0; i < 4; ++i)
        images[i] = SkinImage(theme.picture(static_cast<TSkinPart>(i)));
    return images;
}

void PaintSkinFrame(QPainter &p, const TTheme &theme, const TSkinImages &images, const TSkinWindowState &state,
                    const QPixmap &icon, const QString &caption, const QFont &font)
{
    Run(p, images, theme.FramePlan(state.width, state.height, state.active));
    if (!icon.isNull())
        p.drawPixmap(theme.IconX(), theme.IconY(), icon);
    p.setFont(font);
    p.setPen(ToQColor(state.active ? theme.ActiveColor() : theme.NotActiveColor()));
    p.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics fm(font);
    p.drawText(theme.CaptionX(), theme.CaptionY() + fm.ascent(), caption);
    PaintSkinButtons(p, theme, images, state);
}

void PaintSkinButtons(QPainter &p, const TTheme &theme, const TSkinImages &images, const TSkinWindowState &state)
{
    Run(p, images, theme.ButtonsPlan(state.width, state.active, state.maximised));
}

QRegion SkinRegion(int width, int height, int ellipseWidth, int ellipseHeight)
{
    // The rounded rectangle is asked for up to width + 1 and, as a round-rectangle
    // region does, stops one pixel inside its right and bottom coordinates: it
    // covers the whole width, and its corners mirror each other.
    const int right = width;
    const int bottom = height + 49;
    if (ellipseWidth <= 1 || ellipseHeight <= 1 || right <= 0)
        return QRegion(0, 0, std::max(right, 0), std::max(bottom, 0));
    ellipseWidth = std::min(ellipseWidth, right);
    ellipseHeight = std::min(ellipseHeight, bottom);
    // Each row of the corner band spans between the two quarter ellipses; a
    // pixel belongs when its centre lies inside the ellipse, the same test
    // on both sides so the corners mirror each other.
    const double a = ellipseWidth / 2.0;
    const double b = ellipseHeight / 2.0;
    const int band = ellipseHeight / 2;
    QRegion region;
    for (int y = 0; y < band; ++y) {
        const double dy = (y + 0.5 - b) / b;
        const double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        const int inset = static_cast<int>(std::ceil(a - half - 0.5));
        if (right - 2 * inset > 0)
            region += QRect(inset, y, right - 2 * inset, 1);
    }
    region += QRect(0, band, right, bottom - band);
    return region;
}

} // namespace vomra

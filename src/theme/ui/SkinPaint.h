#pragma once
// Carries out the skin's copy plans on a painter and makes the window mask
// with the rounded top corners.

#include "theme/core/Theme.h"

#include <QImage>
#include <QRegion>

#include <array>

class QPainter;
class QFont;
class QPixmap;
class QString;

namespace vomra {

// The four skin pictures as images, in TSkinPart order.
using TSkinImages = std::array<QImage, 4>;

TSkinImages SkinImages(const TTheme &theme);
QImage SkinImage(const TSkinPicture &picture);
TSkinPicture SkinPictureFromImage(const QImage &image);
// Reads skin pictures of the theme folder through the picture readers; a
// picture reached through a link out of the folder is refused.
TSkinPictureLoader SkinPictureLoader(const std::string &themePath);

// The frame, icon, caption and buttons of a window of the given outer size.
struct TSkinWindowState {
    int width = 0;
    int height = 0;
    bool active = true;
    bool maximised = false;
};

void PaintSkinFrame(QPainter &p, const TTheme &theme, const TSkinImages &images, const TSkinWindowState &state,
                    const QPixmap &icon, const QString &caption, const QFont &font);
void PaintSkinButtons(QPainter &p, const TTheme &theme, const TSkinImages &images, const TSkinWindowState &state);

// The window region: a rounded rectangle from (0, 0) to (width + 1, height + 50)
// with an ellipseWidth × ellipseHeight corner ellipse, reaching 50 pixels below
// the window so only the top corners are rounded; 0 × 0 gives the whole window.
QRegion SkinRegion(int width, int height, int ellipseWidth, int ellipseHeight);

} // namespace vomra

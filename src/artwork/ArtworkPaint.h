#pragma once
// The drawing code behind every picture of the program: image list cells, the
// application icon and the splash. These functions are the editable source of
// the artwork; the image lists paint from them at start-up, and the artwork
// tool writes the stored files (splash JPEG, desktop icons) from them.

#include <QImage>
#include <QList>

namespace vomra::artwork {

// 20 x 20: tree nodes, menu icons, edit-menu pairs (grey, coloured).
QList<QImage> paintSmallImages();
// 48 x 48: theme icon, title-bar icon of the tool pages, of the recipe page.
QList<QImage> paintLargeImages();
// 24 x 24: tool labels, three states each (normal, mouse over, pressed).
QList<QImage> paintToolImages();

// The application icon at any size from 16 up.
QImage paintAppIcon(int size);
// The splash picture, 400 x 240, before it is stored as JPEG.
QImage paintSplash();

} // namespace vomra::artwork

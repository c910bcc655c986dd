#pragma once
// The program's image lists, splash picture and application icon.

#include "widgets/ImageList.h"

#include <QIcon>
#include <QImage>

namespace vomra {

// Indexes into ImageList1 (20 x 20). Edit-menu pictures come in pairs: the
// named index is the grey picture, the next one the coloured picture.
enum ImageList1Index {
    il1FolderClosed = 0,
    il1FolderOpen = 1,
    il1RecipeFile = 2,
    il1CollectionClosed = 3,
    il1CollectionOpen = 4,
    il1CollectionItem = 5,
    il1ArtFont = 6,
    il1PictureGrinder = 7,
    il1DrawingBoard = 8,
    il1Themes = 9,
    il1About = 10,
    il1Help = 11,
    il1Exit = 12,
    il1Cut = 13,
    il1Copy = 15,
    il1Paste = 17,
    il1Delete = 19,
    il1SelectAll = 21,
    il1Count = 23
};

// Indexes into ImageList2 (48 x 48).
enum ImageList2Index { il2Theme = 0, il2ToolPages = 1, il2RecipePage = 2, il2Count = 3 };

// Indexes into ImageList3 (24 x 24): each tool has three pictures, normal at
// the index, mouse over at +1, pressed at +2.
enum ImageList3Index {
    il3Save = 0,
    il3FontSmaller = 3,
    il3FontLarger = 6,
    il3Cut = 9,
    il3Copy = 12,
    il3Paste = 15,
    il3Undo = 18,
    il3Make = 21,
    il3TrimLeft = 24,
    il3TrimRight = 27,
    il3Clear = 30,
    il3PasteToSend = 33,
    il3PasteToDialog = 36,
    il3PasteAndSend = 39,
    il3PasteToDialogAndSend = 42,
    il3Count = 45
};

// New image lists, filled; object names "ImageList1" to "ImageList3".
TGWImageList *createImageList1(QObject *parent = nullptr);
TGWImageList *createImageList2(QObject *parent = nullptr);
TGWImageList *createImageList3(QObject *parent = nullptr);

// The About window's picture (400 x 240), decoded from the stored JPEG.
QImage splashPicture();
// The window icon; its 24 x 24 form is the one the skin's caption draws.
QIcon appIcon();
QImage appIconImage(int size);

} // namespace vomra

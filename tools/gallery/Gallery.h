#pragma once
// Helpers shared by the gallery's tabs. A tab is a function returning a fresh
// page widget on which the widgets sit at fixed places, each with a small note
// saying which state it shows. To add one: define `QWidget *gallery::fooTab()`
// in FooTab.cpp here (picked up by the glob) and add `TAB(fooTab, "Foo")` to the
// list in main.cpp.

#include "widgets/core/Color.h"

#include <QString>
#include <QWidget>

namespace vomra {
class TGWImageList;
}

namespace gallery {

// A page with a plain background in the given colour.
QWidget *newPage(vomra::TColor background = vomra::RGB(236, 233, 216));

// A small note at (x, y) on the page.
void note(QWidget *page, int x, int y, const QString &text);

// Shows a widget as if the pointer were over it (a screenshot has no pointer).
void pretendHot(QWidget *widget);
// Shows a widget as if the left button were held down on it.
void pretendPressed(QWidget *widget);

// Four 20 x 20 demo images: 0 normal, 1 pressed, 2 hot, 3 disabled.
vomra::TGWImageList *demoImages(QObject *owner);

} // namespace gallery

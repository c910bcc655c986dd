// Prints the name of the cursor the X server shows now (XFixes), or "-" for a
// cursor without a name. Exit status 1 when there is no display or no XFixes.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    int event = 0, error = 0;
    if (!XFixesQueryExtension(display, &event, &error))
        return 1;
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    if (!image)
        return 1;
    std::printf("%s\n", image->name && *image->name ? image->name : "-");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}

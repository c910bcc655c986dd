#pragma once
// The calls of libX11 and libXtst that x11/ makes, opened on first use
// (base/LazyLibrary.h): vomra-cli maps them, and the libraries they bring
// (xcb, Xau, Xdmcp, Xext), only when it sends. Declared in our namespace
// under the libraries' own names, so the code reads as plain Xlib (x11/
// only). Without libX11 there is no display; without libXtst no XTest.

#include "base/LazyLibrary.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace vomra {

inline constinit LazyLibrary libX11("libX11.so.6");
inline constinit LazyLibrary libXtst("libXtst.so.6");

#define VOMRA_XLIB_CALL(library, name) inline constinit const LazyCall<decltype(&::name)> name{library, #name};
VOMRA_XLIB_CALL(libX11, XAllowEvents)
VOMRA_XLIB_CALL(libX11, XChangeProperty)
VOMRA_XLIB_CALL(libX11, XCheckMaskEvent)
VOMRA_XLIB_CALL(libX11, XCloseDisplay)
VOMRA_XLIB_CALL(libX11, XConvertSelection)
VOMRA_XLIB_CALL(libX11, XCreateFontCursor)
VOMRA_XLIB_CALL(libX11, XCreateSimpleWindow)
VOMRA_XLIB_CALL(libX11, XDestroyWindow)
VOMRA_XLIB_CALL(libX11, XFlush)
VOMRA_XLIB_CALL(libX11, XFree)
VOMRA_XLIB_CALL(libX11, XFreeCursor)
VOMRA_XLIB_CALL(libX11, XFreeModifiermap)
VOMRA_XLIB_CALL(libX11, XFreeStringList)
VOMRA_XLIB_CALL(libX11, XGetClassHint)
VOMRA_XLIB_CALL(libX11, XGetInputFocus)
VOMRA_XLIB_CALL(libX11, XGetModifierMapping)
VOMRA_XLIB_CALL(libX11, XGetSelectionOwner)
VOMRA_XLIB_CALL(libX11, XGetWMName)
VOMRA_XLIB_CALL(libX11, XGetWindowAttributes)
VOMRA_XLIB_CALL(libX11, XGetWindowProperty)
VOMRA_XLIB_CALL(libX11, XGrabKeyboard)
VOMRA_XLIB_CALL(libX11, XGrabPointer)
VOMRA_XLIB_CALL(libX11, XIfEvent)
VOMRA_XLIB_CALL(libX11, XInternAtom)
VOMRA_XLIB_CALL(libX11, XInternAtoms)
VOMRA_XLIB_CALL(libX11, XKeysymToKeycode)
VOMRA_XLIB_CALL(libX11, XLookupKeysym)
VOMRA_XLIB_CALL(libX11, XMaskEvent)
VOMRA_XLIB_CALL(libX11, XMaxRequestSize)
VOMRA_XLIB_CALL(libX11, XNextEvent)
VOMRA_XLIB_CALL(libX11, XOpenDisplay)
VOMRA_XLIB_CALL(libX11, XPending)
VOMRA_XLIB_CALL(libX11, XQueryKeymap)
VOMRA_XLIB_CALL(libX11, XQueryPointer)
VOMRA_XLIB_CALL(libX11, XQueryTree)
VOMRA_XLIB_CALL(libX11, XRaiseWindow)
VOMRA_XLIB_CALL(libX11, XSelectInput)
VOMRA_XLIB_CALL(libX11, XSendEvent)
VOMRA_XLIB_CALL(libX11, XSetErrorHandler)
VOMRA_XLIB_CALL(libX11, XSetInputFocus)
VOMRA_XLIB_CALL(libX11, XSetSelectionOwner)
VOMRA_XLIB_CALL(libX11, XSync)
VOMRA_XLIB_CALL(libX11, XTranslateCoordinates)
VOMRA_XLIB_CALL(libX11, XUngrabKeyboard)
VOMRA_XLIB_CALL(libX11, XUngrabPointer)
VOMRA_XLIB_CALL(libX11, XkbKeycodeToKeysym)
VOMRA_XLIB_CALL(libX11, Xutf8TextPropertyToTextList)
VOMRA_XLIB_CALL(libXtst, XTestFakeButtonEvent)
VOMRA_XLIB_CALL(libXtst, XTestFakeKeyEvent)
VOMRA_XLIB_CALL(libXtst, XTestFakeMotionEvent)
VOMRA_XLIB_CALL(libXtst, XTestQueryExtension)
#undef VOMRA_XLIB_CALL

} // namespace vomra

#pragma once
// Keeps the program's text views from pasting what is not text.
//
// Qt 6.4's text views crash when asked to paste while the clipboard (or the
// X selection, for the middle button) has no owner: the text control is handed
// no data at all. The guard is an application-wide event filter: a paste key,
// a middle click or a drop reaches an editor only when text is on offer, and is
// swallowed otherwise, which is what a paste of nothing does anyway.

#include <QClipboard>
#include <QObject>

class QMimeData;

namespace vomra {

class PasteGuard final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs the guard on the application once; later calls do nothing.
void installPasteGuard();

// True when the clipboard or the selection offers text right now.
bool clipboardOffersText(QClipboard::Mode mode);

// True when dragged data carries text.
bool mimeOffersText(const QMimeData *data);

} // namespace vomra

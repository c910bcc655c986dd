#include "pagekit/PasteGuard.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace vomra {

namespace {

bool isTextEditor(const QObject *o)
{
    return qobject_cast<const QTextEdit *>(o) || qobject_cast<const QPlainTextEdit *>(o)
        || qobject_cast<const QLineEdit *>(o);
}

// Mouse and drop events of a text view go to its viewport, keys to the view.
bool isEditorViewport(const QObject *o)
{
    const auto *w = qobject_cast<const QWidget *>(o);
    if (!w)
        return false;
    const auto *area = qobject_cast<const QAbstractScrollArea *>(w->parentWidget());
    return area && area->viewport() == w && isTextEditor(area);
}

bool isReadOnly(const QObject *o)
{
    if (const auto *e = qobject_cast<const QTextEdit *>(o))
        return e->isReadOnly();
    if (const auto *e = qobject_cast<const QPlainTextEdit *>(o))
        return e->isReadOnly();
    if (const auto *e = qobject_cast<const QLineEdit *>(o))
        return e->isReadOnly();
    return true;
}

} // namespace

bool mimeOffersText(const QMimeData *data)
{
    return data && data->hasText();
}

bool clipboardOffersText(QClipboard::Mode mode)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (mode == QClipboard::Selection && !clipboard->supportsSelection())
        return false;
    return mimeOffersText(clipboard->mimeData(mode));
}

bool PasteGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (isTextEditor(watched) && !isReadOnly(watched)
            && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)
            && !clipboardOffersText(QClipboard::Clipboard)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The middle button pastes the selection on release; the press is
        // swallowed with it so the view never sees half a click.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton
            && (isEditorViewport(watched) || qobject_cast<QLineEdit *>(watched))
            && !clipboardOffersText(QClipboard::Selection)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if ((isEditorViewport(watched) || qobject_cast<QLineEdit *>(watched))
            && !mimeOffersText(static_cast<QDropEvent *>(event)->mimeData())) {
            event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void installPasteGuard()
{
    static PasteGuard *guard = nullptr;
    if (guard || !qApp)
        return;
    guard = new PasteGuard(qApp);
    qApp->installEventFilter(guard);
}

} // namespace vomra

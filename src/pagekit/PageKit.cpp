#include "pagekit/PageKit.h"
#include "pagekit/PasteGuard.h"

#include "platform/GbkQt.h"

#include "widgets/Canvas.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>

namespace vomra {

TGWImageLabel *makeToolLabel(QWidget *parent, const QString &name, int tag, const QString &hint,
                             TGWImageList *images, int firstImage, int left, int top)
{
    auto *label = new TGWImageLabel(parent);
    label->setObjectName(name);
    label->setGeometry(left, top, 28, 26);
    label->setTag(tag);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    label->setCaption(QString());
    label->setImages(images);
    label->setImgUpIdx(firstImage);
    label->setImgEnterIdx(firstImage + 1);
    label->setImgDownIdx(firstImage + 2);
    label->setImgDisableIdx(firstImage);
    // Tool labels take their page's colour.
    if (auto *page = qobject_cast<TGWCustomControl *>(parent))
        label->setColor(page->Color());
    return label;
}

void makeToolBar(QWidget *parent, const QString &prefix, std::span<const ToolDef> tools, TGWImageList *images,
                 int left, int top, const std::function<void(QObject *)> &onClick, std::span<TGWImageLabel *> labels)
{
    for (std::size_t i = 0; i < tools.size() && i < labels.size(); ++i) {
        const int n = static_cast<int>(i);
        auto *label = makeToolLabel(parent, prefix + QString::number(n + 1), n + 1,
                                    QString::fromUtf8(tools[i].hint), images, tools[i].image, left + 32 * n, top);
        label->OnClick = onClick;
        labels[i] = label;
    }
}

const std::array<const char *, 39> kSymbolChoices = {
    "§", "☆", "★", "○", "●", "◎", "⊙", "◇", "◆", "□", "■", "△", "▲", "※", "→", "←", "↑", "↓", "〓", "°",
    "＄", "￡", "№", "‰", "℃", "¤", "￠", "≈", "⌒", "≡", "＝", "∷", "∫", "∮", "∝", "∞", "≌", "∽", "√",
};

TGWPanel *makeColumnPanel(QWidget *page, const QString &name, int width)
{
    auto *panel = new TGWPanel(page);
    panel->setObjectName(name);
    panel->setBevelOuter(bvNone);
    panel->setGeometry(0, 0, width, page->height());
    return panel;
}

QPlainTextEdit *makeTextView(QWidget *parent, const QString &name)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setContextMenuPolicy(Qt::NoContextMenu); // only the recipe editor has a context menu
    return edit;
}

void copyAllOrSelection(QPlainTextEdit *edit)
{
    QTextCursor cursor = edit->textCursor();
    if (cursor.hasSelection()) {
        edit->copy();
        return;
    }
    const int caret = cursor.position();
    edit->selectAll();
    edit->copy();
    cursor.setPosition(caret);
    edit->setTextCursor(cursor);
}

bool clipboardHasText()
{
    return clipboardOffersText(QClipboard::Clipboard);
}

void setPaletteColour(QWidget *w, QPalette::ColorRole role, TColor c)
{
    QPalette pal = w->palette();
    pal.setColor(role, Canvas::qcolor(c));
    w->setPalette(pal);
}

Lines viewLines(const QPlainTextEdit &view, bool *lossy)
{
    const QString text = view.toPlainText();
    if (text.isEmpty())
        return {};
    Lines lines = splitLines(gbk::fromQString(text, lossy));
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    return lines;
}

void setViewLines(QPlainTextEdit &view, const Lines &lines)
{
    view.setPlainText(gbk::toQString(joinLines(lines, "\n")));
}

} // namespace vomra

#include "recipe/RecipePage.h"

#include "artwork/Artwork.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "platform/GbkQt.h"
#include "recipe/Recipe.h"
#include "recipe/RecipeTree.h"
#include "recipe/SendOnDesktop.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

#include <utility>

namespace vomra {

namespace {
const ToolDef kTools[11] = {
    {"保存", il3Save},
    {"字体型号减小", il3FontSmaller},
    {"字体型号增大", il3FontLarger},
    {"剪切", il3Cut},
    {"复制", il3Copy},
    {"粘贴", il3Paste},
    {"撤消", il3Undo},
    {"粘贴到“发送消息”窗口", il3PasteToSend},
    {"粘贴到“对话模式”窗口", il3PasteToDialog},
    {"粘贴到“发送消息”窗口并发送", il3PasteAndSend},
    {"粘贴到“对话模式”窗口并发送", il3PasteToDialogAndSend},
};

const char kSaveFilter[] = "文本文件(*.Txt)|*.Txt";
const char kSaveSuffix[] = "Txt";

// Native path bytes and the QString the file functions of Qt take.
QString qpath(const std::string &native)
{
    return QFile::decodeName(QByteArray::fromStdString(native));
}
std::string npath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
// A path as people read it in a message.
QString shown(const std::string &native)
{
    return QString::fromStdString(nativeToDisplay(native));
}

bool isFile(const std::string &native)
{
    return QFileInfo(qpath(native)).isFile();
}

// GBK text for the editor: bytes GBK cannot read show as "?", NULs as U+FFFD.
QString decodeRecipe(std::string_view gbk, bool *replaced)
{
    bool lossy = false;
    QString text = gbk::toQString(gbk, &lossy);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool nul = text.contains(QChar(0));
    if (nul)
        text.replace(QChar(0), QChar::ReplacementCharacter);
    *replaced = lossy || nul;
    return text;
}

} // namespace

TRecipePage::TRecipePage(TPageHost &host) : m_host(host)
{
    QWidget *page = host.pagePanel(pgRecipe);

    recipePanel1 = makeColumnPanel(page, QStringLiteral("recipePanel1"), kStripWidth);

    recipeRichEdit1 = new QTextEdit(page);
    recipeRichEdit1->setObjectName(QStringLiteral("recipeRichEdit1"));
    recipeRichEdit1->setFrameShape(QFrame::NoFrame);
    recipeRichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setFont(host.windowFont());
    recipeRichEdit1->setContextMenuPolicy(Qt::CustomContextMenu); // the edit menu opens it
    QPalette pal = recipeRichEdit1->palette();
    pal.setColor(QPalette::Base, Qt::white);
    recipeRichEdit1->setPalette(pal);
    recipeRichEdit1->move(kEditLeft, kEditTop);
    recipeRichEdit1->installEventFilter(this);
    setEditMode();

    makeToolBar(
        page, QStringLiteral("recipeLabel"), kTools, host.imageList(3), 58, 8,
        [this](QObject *sender) { recipeLabelClick(sender); }, recipeLabels);
    recipeLabel(6)->OnMouseEnter = [this](QObject *) { recipeLabel6MouseEnter(); };
    QObject::connect(recipeRichEdit1, &QTextEdit::selectionChanged, this, [this] { recipeRichEdit1SelectionChange(); });
    QObject::connect(recipeRichEdit1, &QTextEdit::textChanged, this, [this] { recipeRichEdit1Change(); });

    m_loadTimer.setInterval(0);
    QObject::connect(&m_loadTimer, &QTimer::timeout, this, [this] { appendPendingChunk(); });

    tree = new TRecipeTree(host.recipeTree(), host.imageList(1), npath(host.programFolder()));
    tree->OnChange = [this](QTreeWidgetItem *node) { ShowRecipeNode(node); };
    tree->OnClick = [this] { TreeView1Click(); };
}

TRecipePage::~TRecipePage()
{
    // The tree and the editor belong to the window and may outlive the page.
    stopLoading();
    tree->OnChange = nullptr;
    tree->OnClick = nullptr;
}

void TRecipePage::pnlRecipeResize()
{
    QWidget *page = m_host.pagePanel(pgRecipe);
    recipePanel1->resize(recipePanel1->width(), page->height());
    recipeRichEdit1->resize(page->width() - recipeRichEdit1->x() - 2, page->height() - recipeRichEdit1->y() - 2);
}

// ---- the tree and the editor's two modes ----------------------------------

void TRecipePage::LoadRecipeTree()
{
    tree->LoadRecipeTree();
}

void TRecipePage::TreeView1Click()
{
    if (m_host.CurrentPage() != pgRecipe)
        m_host.SetCurrentPage(pgRecipe);
}

bool TRecipePage::DisplayMode() const
{
    return recipeRichEdit1->isReadOnly();
}

void TRecipePage::setEditMode()
{
    recipeRichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    recipeRichEdit1->setReadOnly(false);
    recipeRichEdit1->setAcceptRichText(false);
}

void TRecipePage::setDisplayMode()
{
    recipeRichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    recipeRichEdit1->setReadOnly(true);
    recipeRichEdit1->setAcceptRichText(true);
    // Read-only still lets the keyboard select, for copying and sending.
    recipeRichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TRecipePage::showRecipeBytes(std::string bytes)
{
    // A big file would hold the window still for seconds: its first piece is
    // decoded and shown at once, and the whole text is built aside from the event
    // loop, piece by piece, then put in place. Anything that edits or reads the
    // whole text finishes it first.
    if (bytes.size() <= kLoadChunk) {
        recipeRichEdit1->setPlainText(decodeRecipe(bytes, &m_shownWithReplacement));
        return;
    }
    m_pending = std::move(bytes);
    m_pendingPos = 0;
    m_building = new QTextDocument(recipeRichEdit1); // goes with the editor that shows it
    m_building->setUndoRedoEnabled(false);
    m_building->setDefaultFont(recipeRichEdit1->font());
    recipeRichEdit1->setPlainText(appendPendingChunk());
    m_loadTimer.start();
}

QString TRecipePage::appendPendingChunk()
{
    if (!Loading())
        return {};
    // Pieces end after a line feed, which is never part of a GBK character.
    std::size_t end = std::min(m_pendingPos + kLoadChunk, m_pending.size());
    if (end < m_pending.size()) {
        const std::size_t lf = m_pending.rfind('\n', end - 1);
        if (lf != std::string::npos && lf >= m_pendingPos) {
            end = lf + 1;
        } else { // one very long line: at least never split a two-byte character
            std::size_t i = m_pendingPos;
            while (i < end)
                i += static_cast<unsigned char>(m_pending[i]) >= 0x81 ? 2 : 1;
            end = std::min(i, m_pending.size());
        }
    }
    bool replaced = false;
    const QString piece = decodeRecipe(std::string_view(m_pending).substr(m_pendingPos, end - m_pendingPos), &replaced);
    m_shownWithReplacement = m_shownWithReplacement || replaced;
    QTextCursor cursor(m_building);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(piece);
    m_pendingPos = end;
    if (m_pendingPos < m_pending.size())
        return piece;
    // Whole: it replaces the first piece, with the caret and scroll at the top.
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    installDocument(std::exchange(m_building, nullptr));
    return piece;
}

void TRecipePage::stopLoading()
{
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_pendingPos = 0;
    delete std::exchange(m_building, nullptr);
}

void TRecipePage::finishLoading()
{
    while (Loading())
        appendPendingChunk();
}

void TRecipePage::ShowRecipeNode(QTreeWidgetItem *node)
{
    TQOBR_TreeNodeRecord record = tree->GetNodeRecord(node);
    stopLoading();
    recipeRichEdit1->clear();
    m_shownWithReplacement = false;
    QFont font = recipeRichEdit1->font();
    if (record.NodeKind == nkCollection) {
        setDisplayMode();
        for (int n : {1, 2, 3})
            recipeLabel(n)->setEnabled(false);
        font.setPixelSize(m_host.windowFont().pixelSize());
        recipeRichEdit1->setFont(font);
        // The collection's own node shows its first item.
        if (record.ItemName.empty() && node && node->childCount() > 0)
            record = tree->GetNodeRecord(node->child(0));
        if (!record.ItemName.empty())
            LoadIniItem(record.DiskPath, record.ItemName);
    } else {
        setEditMode();
        recipeLabel(1)->setEnabled(true);
        recipeLabel(2)->setEnabled(m_host.FontSize() != 2);
        recipeLabel(3)->setEnabled(m_host.FontSize() != 22);
        font.setPointSize(m_host.FontSize());
        recipeRichEdit1->setFont(font);
        recipeRichEdit1->setCurrentCharFormat(QTextCharFormat());
        if (record.NodeKind == nkRecipeFile && isFile(record.DiskPath)) {
            std::string error;
            const auto bytes = ReadRecipeFile(record.DiskPath, &error);
            if (!bytes) {
                recipeRichEdit1->clear();
                dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                        QStringLiteral("读取文件“%1”失败！").arg(shown(record.DiskPath)));
            } else {
                showRecipeBytes(std::move(*bytes));
            }
        }
    }
    for (int n : {4, 5, 7})
        recipeLabel(n)->setEnabled(false);
}

void TRecipePage::LoadIniItem(const std::string &filePath, const std::string &itemName)
{
    const auto lines = ReadIniItemLines(filePath, itemName);
    if (!lines)
        return;
    const std::vector<std::string> shownLines = ItemCopyLines(itemName, *lines);
    // Built aside and then put in place: a document in the editor lays itself out
    // again at every insertion.
    auto *doc = new QTextDocument(recipeRichEdit1);
    doc->setDefaultFont(recipeRichEdit1->font());
    doc->setUndoRedoEnabled(false);
    // The name and each line in the window's font, a gap of 8 points under the
    // name and of 4 points under every line; empty lines at the end are dropped.
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, m_host.windowFont().pixelSize());
    QTextCharFormat nameGap;
    nameGap.setFontPointSize(8);
    QTextCharFormat lineGap;
    lineGap.setFontPointSize(4);
    QTextCursor cursor(doc);
    cursor.setBlockCharFormat(text);
    for (std::size_t i = 0; i < shownLines.size(); ++i) {
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), i == 1 ? nameGap : lineGap);
            cursor.insertBlock(QTextBlockFormat(), text);
        }
        bool replaced = false;
        cursor.insertText(decodeRecipe(shownLines[i], &replaced), text);
    }
    installDocument(doc);
    recipeRichEdit1->setCurrentCharFormat(text);
}

void TRecipePage::installDocument(QTextDocument *doc)
{
    // The editor deletes the document it made itself; one built here goes here.
    QTextDocument *old = recipeRichEdit1->document();
    const bool builtHere = old->parent() == recipeRichEdit1;
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    recipeRichEdit1->setDocument(doc);
    if (builtHere)
        old->deleteLater();
}

// ---- labels ---------------------------------------------------------------

void TRecipePage::recipeRichEdit1Change()
{
    const bool canUndo = recipeRichEdit1->document()->isUndoAvailable();
    if (recipeLabel(7)->isEnabled() != canUndo)
        recipeLabel(7)->setEnabled(canUndo);
}

void TRecipePage::recipeRichEdit1SelectionChange()
{
    const bool selected = recipeRichEdit1->textCursor().hasSelection();
    recipeLabel(4)->setEnabled(selected && !recipeRichEdit1->isReadOnly());
    for (int n : {5, 8, 9, 10, 11})
        recipeLabel(n)->setEnabled(selected);
}

void TRecipePage::recipeLabel6MouseEnter()
{
    recipeLabel(6)->setEnabled(clipboardHasText() && !recipeRichEdit1->isReadOnly());
}

void TRecipePage::recipeLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    finishLoading();
    switch (label->Tag()) {
    case 1:
        SaveRecipe();
        break;
    case 2:
        m_host.FontSizeStep(-1);
        break;
    case 3:
        m_host.FontSizeStep(+1);
        break;
    case 4:
        recipeRichEdit1->cut();
        break;
    case 5:
        CopyRecipeText();
        break;
    case 6:
        recipeRichEdit1->paste();
        break;
    case 7:
        if (recipeRichEdit1->document()->isUndoAvailable())
            recipeRichEdit1->undo();
        break;
    case 8:
    case 9:
    case 10:
    case 11:
        SendToQQ(label->Tag() % 2 == 0 ? 1 : 2, label->Tag() >= 10);
        break;
    default:
        break;
    }
}

// ---- copying and sending ----------------------------------------------------

QString TRecipePage::DisplayModeSelection() const
{
    QString selected = recipeRichEdit1->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    selected.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    QString copy = QString::fromStdString(DisplayModeCopy(selected.toStdString()));
    copy.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return copy;
}

void TRecipePage::CopyRecipeText()
{
    finishLoading();
    if (!recipeRichEdit1->isReadOnly()) {
        recipeRichEdit1->copy();
        return;
    }
    QApplication::clipboard()->setText(DisplayModeSelection());
}

void TRecipePage::SendToQQ(int kind, bool pressSend)
{
    sendOnDesktop(
        kind, pressSend, m_host.programFolder(), [this] { CopyRecipeText(); },
        [this](const QString &title, const QString &text) { dialogs::warning(m_host.hostWindow(), title, text); });
}

// ---- saving -------------------------------------------------------------------

bool TRecipePage::confirmed(const QString &title, const QString &text)
{
    return dialogs::confirm(m_host.hostWindow(), title, text) == Answer::Yes;
}

void TRecipePage::showSaveError(const std::string &path)
{
    dialogs::error(m_host.hostWindow(), QStringLiteral("错误"), QStringLiteral("保存文件“%1”失败！").arg(shown(path)));
}

bool TRecipePage::encodeForSaving(const QString &text, const std::string &path, std::string *gbk)
{
    bool lossy = false;
    *gbk = gbk::fromQString(text, &lossy);
    if (m_shownWithReplacement)
        return confirmed(QStringLiteral("确认"),
                       QStringLiteral("读入的文件中有不是GBK文字的字节，已显示为替代字符；保存到“%1”后，"
                                      "它们将变成“?”。\r是否继续保存？")
                           .arg(shown(path)));
    if (lossy)
        return confirmed(
            QStringLiteral("确认"),
            QStringLiteral("文本中有GBK无法保存的字符，保存到“%1”后它们将变成“?”。\r是否继续保存？").arg(shown(path)));
    return true;
}

bool TRecipePage::writeRecipe(const std::string &path, const QString &text)
{
    std::string bytes;
    if (!encodeForSaving(text, path, &bytes))
        return false;
    // Replacing by rename would pass over a file marked read-only; such a file stays.
    const QFileInfo info(qpath(path));
    if ((info.exists() && !info.isWritable()) || !WriteRecipeFile(path, bytes)) {
        showSaveError(path);
        return false;
    }
    return true;
}

void TRecipePage::SaveRecipe()
{
    finishLoading(); // never save half a file
    const QString text = recipeRichEdit1->toPlainText();
    if (QTreeWidgetItem *node = tree->Selected()) {
        const TQOBR_TreeNodeRecord record = tree->GetNodeRecord(node);
        if (record.NodeKind == nkRecipeFile)
            writeRecipe(record.DiskPath, text); // a failure is told; the editor keeps the text
        else if (record.NodeKind == nkFolder)
            SaveRecipeAs(record.DiskPath, text);
        return;
    }
    const std::string folder = npath(m_host.programFolder()) + kRecipeFolderName;
    if (!QFileInfo(qpath(folder)).isDir())
        QDir().mkpath(qpath(folder));
    SaveRecipeAs(folder + "/", text);
}

void TRecipePage::SaveRecipeAs(const std::string &startFolder, const QString &text)
{
    const QString filter = QString::fromUtf8(kSaveFilter);
    const QString suffix = QString::fromLatin1(kSaveSuffix);
    QString chosen = dialogs::saveFile(m_host.hostWindow(), qpath(startFolder), filter.section(QLatin1Char('|'), 0, 0), suffix);
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + suffix;

    const std::string path = npath(chosen);
    const bool inLibrary = IsInLibrary(path, npath(m_host.programFolder()));
    if (!QFileInfo::exists(chosen)) {
        if (writeRecipe(path, text) && inLibrary) {
            LoadRecipeTree();
            tree->SelectRecipeFile(path);
        }
        return;
    }
    const QString question =
        inLibrary
            ? QStringLiteral("“%1”是一个已存在的Vomra秘笈文件。\r本次操作将会覆盖该文件，是否要继续？").arg(shown(path))
            : QStringLiteral("文件“%1”已存在，是否覆盖该文件？").arg(shown(path));
    if (confirmed(QStringLiteral("确认"), question))
        writeRecipe(path, text);
}

// ---- keys -----------------------------------------------------------------------

bool TRecipePage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == recipeRichEdit1 && event->type() == QEvent::KeyPress) {
        finishLoading(); // a key may edit: the whole text must be there
        // Ctrl+C copies as the copy label does: display mode gives single line breaks.
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
            CopyRecipeText();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vomra

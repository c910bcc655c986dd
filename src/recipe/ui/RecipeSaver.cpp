// Saving from the recipe page: the save dialog, the questions before replacing
// or losing characters, and the errors.
#include "recipe/ui/RecipeSaver.h"

#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "platform/GbkQt.h"
#include "platform/NativePathQt.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipeTree.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

const char kSaveFilter[] = "文本文件(*.Txt)|*.Txt";
const char kSaveSuffix[] = "Txt";

bool hasTxtExtension(const std::string &path)
{
    return path.size() >= 4 && pathsEqualIgnoringCase(std::string_view(path).substr(path.size() - 4), ".txt");
}

} // namespace

TRecipeSaver::TRecipeSaver(TPageHost &host, QPlainTextEdit *editor, TRecipeTree *tree, TRecipeLoader &loader)
    : m_host(host), m_editor(editor), m_tree(tree), m_loader(loader)
{
}

bool TRecipeSaver::confirmed(const QString &title, const QString &text)
{
    return dialogs::confirm(m_host.hostWindow(), title, text) == Answer::Yes;
}

void TRecipeSaver::showSaveError(const std::string &path)
{
    dialogs::error(m_host.hostWindow(), QStringLiteral("错误"), QStringLiteral("保存文件“%1”失败！").arg(shown(path)));
}

bool TRecipeSaver::encodeForSaving(const QString &text, const std::string &path, std::string *bytes, bool mayUseUtf8)
{
    bool lossy = false;
    if (m_loader.shownRecipe.utf8 && mayUseUtf8) { // a UTF-8 recipe stays UTF-8
        *bytes = std::string(kUtf8Bom) + text.toStdString();
    } else { // GBK has no line separator nor no-break space: a line end and a space, as ever
        *bytes = gbk::fromQString(TRecipeEdit::plainFromRaw(text), &lossy);
    }
    if (m_loader.shownRecipe.withReplacement)
        return confirmed(QStringLiteral("确认"),
                         QStringLiteral("读入的文件中有不是GBK文字的字节，已显示为替代字符；保存到“%1”后，"
                                        "它们将变成“?”。\r是否继续保存？")
                             .arg(shown(path)));
    if (!lossy)
        return true;
    if (!mayUseUtf8)
        return confirmed(
            QStringLiteral("确认"),
            QStringLiteral("文本中有GBK无法保存的字符，保存到“%1”后它们将变成“?”。\r是否继续保存？").arg(shown(path)));
    // Emoji and the like: kept by saving the file as UTF-8 with a byte-order mark.
    const Answer answer =
        dialogs::confirm(m_host.hostWindow(), QStringLiteral("确认"),
                         QStringLiteral("文本中有GBK无法保存的字符。\r选“是”把“%1”保存为UTF-8文件，保留这些字符；"
                                        "选“否”保存为GBK文件，它们将变成“?”。")
                             .arg(shown(path)),
                         true);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes) {
        *bytes = std::string(kUtf8Bom) + text.toStdString();
        m_loader.shownRecipe.utf8 = true;
    }
    return true;
}

bool TRecipeSaver::writeRecipe(const std::string &path, const QString &text, bool mayUseUtf8)
{
    std::string bytes;
    if (!encodeForSaving(text, path, &bytes, mayUseUtf8))
        return false;
    // Replacing by rename would pass over a file marked read-only; such a file stays.
    if ((pathExists(path) && ::access(path.c_str(), W_OK) != 0) || !WriteRecipeFile(path, bytes)) {
        showSaveError(path);
        return false;
    }
    return true;
}

bool TRecipeSaver::SaveRecipe()
{
    if (m_loader.Loading()) { // never save half a file
        m_loader.whenLoaded([this] { SaveRecipe(); });
        return false;
    }
    const QString text = static_cast<TRecipeEdit *>(m_editor)->recipeText();
    if (!m_loader.shownRecipe.editingCollection.empty())
        return saveCollectionText(text);
    if (QTreeWidgetItem *node = m_tree->Selected()) {
        const TQOBR_TreeNodeRecord record = m_tree->GetNodeRecord(node);
        if (record.NodeKind == nkRecipeFile && record.DiskPath == m_loader.shownRecipe.unreadPath) {
            // What could not be read is never replaced unasked: save as.
            const std::size_t slash = record.DiskPath.find_last_of('/');
            return SaveRecipeAs(record.DiskPath.substr(0, slash + 1), text);
        }
        if (record.NodeKind == nkRecipeFile) {
            if (!writeRecipe(record.DiskPath, text)) // a failure is told; the editor keeps the text
                return false;
            m_loader.markUnmodified();
            return true;
        }
        if (record.NodeKind == nkFolder)
            return SaveRecipeAs(record.DiskPath, text);
        return false;
    }
    const std::string folder = m_host.programFolder() + kRecipeFolderName;
    if (!isFolder(folder))
        ::mkdir(folder.c_str(), 0777);
    return SaveRecipeAs(folder + "/", text);
}

bool TRecipeSaver::SaveRecipeAs(const std::string &startFolder, const QString &text)
{
    const QString filter = QString::fromUtf8(kSaveFilter);
    const QString suffix = QString::fromLatin1(kSaveSuffix);
    const QString chosen =
        dialogs::saveFile(m_host.hostWindow(), qpath(startFolder), filter.section(QLatin1Char('|'), 0, 0), suffix);
    if (chosen.isEmpty())
        return false;
    // The library lists only .Txt files: a name like "2024.春节" still gets one.
    std::string path = fromDialog(chosen, startFolder);
    if (!hasTxtExtension(path))
        path += "." + suffix.toStdString();

    const bool inLibrary = IsInLibrary(path, m_host.programFolder());
    if (!pathExists(path)) {
        if (!writeRecipe(path, text))
            return false;
        m_loader.markUnmodified();
        if (inLibrary) {
            m_tree->LoadRecipeTree();
            m_tree->SelectRecipeFile(path);
        }
        return true;
    }
    const QString question =
        inLibrary
            ? QStringLiteral("“%1”是一个已存在的Vomra秘笈文件。\r本次操作将会覆盖该文件，是否要继续？").arg(shown(path))
            : QStringLiteral("文件“%1”已存在，是否覆盖该文件？").arg(shown(path));
    if (!confirmed(QStringLiteral("确认"), question) || !writeRecipe(path, text))
        return false;
    m_loader.markUnmodified();
    return true;
}

bool TRecipeSaver::AskToKeepEdits()
{
    if (!m_loader.Modified())
        return true;
    const Answer answer =
        dialogs::confirm(m_host.hostWindow(), QStringLiteral("确认"),
                         QStringLiteral("是否保存对“%1”的修改？").arg(m_loader.shownRecipe.name), true);
    if (answer == Answer::No)
        return true;
    return answer == Answer::Yes && SaveRecipe();
}

bool TRecipeSaver::saveCollectionText(const QString &text)
{
    const std::string path = m_loader.shownRecipe.editingCollection;
    if (!writeRecipe(path, text, false))
        return false;
    m_loader.markUnmodified();
    if (OnCollectionSaved)
        OnCollectionSaved(path);
    return true;
}

} // namespace vomra

// Saving from the recipe page: the save dialog, the questions before replacing
// or losing characters, and the errors.
#include "recipe/RecipePage.h"

#include "artwork/Artwork.h"
#include "pagekit/Dialogs.h"
#include "recipe/NativePath.h"
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

const char kSaveFilter[] = "文本文件(*.Txt)|*.Txt";
const char kSaveSuffix[] = "Txt";

} // namespace

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

} // namespace vomra

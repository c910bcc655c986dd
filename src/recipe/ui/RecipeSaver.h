#pragma once
// Saving the recipe page's text: to the recipe shown, or through the save
// dialog; the questions before replacing a file or losing characters, and the
// errors.

#include <QString>

#include <functional>
#include <string>

class QPlainTextEdit;

namespace vomra {

class TPageHost;
class TRecipeLoader;
class TRecipeTree;

class TRecipeSaver {
public:
    // editor: recipeRichEdit1; loader: what it shows.
    TRecipeSaver(TPageHost &host, QPlainTextEdit *editor, TRecipeTree *tree, TRecipeLoader &loader);

    // True when the text was written.
    bool SaveRecipe();
    // Asks for a file name starting in startFolder (native path ending in '/') and
    // writes text there; true when it was written.
    bool SaveRecipeAs(const std::string &startFolder, const QString &text);
    // Before the text is dropped (another node, closing): with edits, asks whether
    // to save them. False when the user would rather stay (取消, or a save that
    // did not happen).
    bool AskToKeepEdits();

    // A collection shown as text was written whole (its disk path): its items
    // are to be read again.
    std::function<void(const std::string &path)> OnCollectionSaved;

private:
    // A yes-or-no question; true for yes.
    bool confirmed(const QString &title, const QString &text);
    void showSaveError(const std::string &path);
    // The bytes to save: GBK, or UTF-8 with a byte-order mark for a UTF-8 recipe
    // or when the user keeps what GBK cannot hold that way (mayUseUtf8: not for
    // collections, which stay GBK). False when the user would rather not save.
    bool encodeForSaving(const QString &text, const std::string &path, std::string *bytes, bool mayUseUtf8);
    bool writeRecipe(const std::string &path, const QString &text, bool mayUseUtf8 = true);
    bool saveCollectionText(const QString &text);

    TPageHost &m_host;
    QPlainTextEdit *m_editor;
    TRecipeTree *m_tree;
    TRecipeLoader &m_loader;
};

} // namespace vomra

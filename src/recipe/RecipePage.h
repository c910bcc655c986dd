#pragma once
// The recipe library page: the strip on the left, the tool bar and the editor.

#include <QObject>

#include <array>

class QTextEdit;

namespace vomra {

class TPageHost;
class TGWPanel;
class TGWImageLabel;

class TRecipePage : public QObject {
    Q_OBJECT
public:
    static constexpr int kStripWidth = 50;
    static constexpr int kEditLeft = 63;
    static constexpr int kEditTop = 42;

    explicit TRecipePage(TPageHost &host);

    TGWPanel *recipePanel1 = nullptr;
    QTextEdit *recipeRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 11> recipeLabels{}; // recipeLabel1 .. 11

    TGWImageLabel *recipeLabel(int n) const { return recipeLabels[static_cast<std::size_t>(n - 1)]; }

    void recipeLabelClick(QObject *Sender);
    void recipeRichEdit1SelectionChange();
    void pnlRecipeResize();

private:
    TPageHost &m_host;
};

} // namespace vomra

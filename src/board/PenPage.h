#pragma once
// The drawing board page: its option column, the grid in a scroll box, the text
// view at the same place, and the tool bar.

#include <QObject>

#include <array>

class QPlainTextEdit;
class QScrollArea;

namespace vomra {

class TfrmMain;
class TGWPanel;
class TGWImageLabel;
class TGWDrawText;

class TPenPage : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 126;
    static constexpr int kViewLeft = 129;
    static constexpr int kViewTop = 48;

    explicit TPenPage(TfrmMain &frm);

    TGWPanel *penPanel1 = nullptr;
    QScrollArea *penScrollBox1 = nullptr;
    TGWDrawText *penDrawText1 = nullptr;
    QPlainTextEdit *penRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 5> penImageLabels{}; // penImageLabel1 .. 5

    TGWImageLabel *penImageLabel(int n) const { return penImageLabels[static_cast<std::size_t>(n - 1)]; }

    void penImageLabelClick(QObject *Sender);
    void pnlPenResize();

private:
    TfrmMain &m_frm;
};

} // namespace vomra

#pragma once
// The art font maker's page body, shared with the picture grinder: the two
// option columns, the tool bar and the output text.

#include <QObject>

#include <array>

class QPlainTextEdit;

namespace vomra {

class TfrmMain;
class TGWPanel;
class TGWImageLabel;

class TArtFontPage : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 162;
    static constexpr int kEditLeft = 165;
    static constexpr int kEditTop = 48;

    explicit TArtFontPage(TfrmMain &frm);

    TGWPanel *artfontPanel1 = nullptr;
    QPlainTextEdit *artfontRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 8> artfontImageLabels{}; // artfontImageLabel1 .. 8

    TGWImageLabel *artfontImageLabel(int n) const { return artfontImageLabels[static_cast<std::size_t>(n - 1)]; }

    void artfontImageLabelClick(QObject *Sender);
    // The make label (Tag 1) on the art font page: render the word and lay it out.
    void MakeArt();
    void pnlArtFontResize();

private:
    TfrmMain &m_frm;
};

} // namespace vomra

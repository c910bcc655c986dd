#pragma once
// The picture grinder's option column, on the page body it shares with the art
// font maker (the output text and tool bar belong to TArtFontPage).

#include <QObject>

namespace vomra {

class TfrmMain;
class TGWPanel;

class TPicturePage : public QObject {
    Q_OBJECT
public:
    explicit TPicturePage(TfrmMain &frm);

    TGWPanel *picturePanel1 = nullptr;

    // The make label (Tag 1) on the grinder's page.
    void Grind();

    // The check box "图片透明化", read and written with the settings.
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value) { m_transparent = value; }

private:
    TfrmMain &m_frm;
    bool m_transparent = false;
};

} // namespace vomra

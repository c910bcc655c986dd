#pragma once
// The picture grinder's option column, on the page body it shares with the art
// font maker (the output text and tool bar belong to the art page): the picture
// with its preview and progress, and the gray ramp.

#include "platform/ImageIO.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QLabel;

namespace vomra {

class TPageHost;
class ArtOutput;
class TGWPanel;
class TGWAutoPanel;
class TGWAutoPanelTitle;
class TGWButton;
class TGWCheckBox;
class TGWRadioButton;
class TGWFlatEdit;
class TGWProgressBar;
class TPreviewImage;
class TPreviewFrame;
struct TPageColours;

class TPicturePage : public QObject {
    Q_OBJECT
public:
    // Heights of the ramp section: the save button shows only in the taller one.
    static constexpr int kRampSectionHeight = 106;
    static constexpr int kCustomRampSectionHeight = 138;

    TPicturePage(TPageHost &host, ArtOutput &output);

    TGWPanel *picturePanel1 = nullptr;
    TGWAutoPanelTitle *pictureAutoPanelTitle1 = nullptr;
    TGWAutoPanel *pictureAutoPanel1 = nullptr;
    TGWButton *picturepnl1Button1 = nullptr;
    QLabel *picturepnl1Label1 = nullptr; // "预览："
    TPreviewFrame *picturepnl1Shape1 = nullptr;
    TPreviewImage *picturepnl1Image1 = nullptr;
    TGWCheckBox *picturepnl1CheckBox1 = nullptr;
    QLabel *picturepnl1Label2 = nullptr; // "进度："
    TGWProgressBar *picturepnl1ProgressBar1 = nullptr;
    TGWAutoPanelTitle *pictureAutoPanelTitle2 = nullptr;
    TGWAutoPanel *pictureAutoPanel2 = nullptr;
    TGWRadioButton *picturepnl2RadioButton1 = nullptr;
    TGWRadioButton *picturepnl2RadioButton2 = nullptr;
    TGWRadioButton *picturepnl2RadioButton3 = nullptr;
    TGWFlatEdit *picturepnl2Edit1 = nullptr;
    TGWButton *picturepnl2Button1 = nullptr;

    // The make label (Tag 1) on the grinder's page: the picture through the ramp
    // into the output text.
    void Grind();
    void picturepnl1Button1Click(QObject *Sender);
    void picturepnl1CheckBox1Checked(QObject *Sender);
    void picturepnl2RadioButtonChecked(QObject *Sender);
    void picturepnl2Button1Click(QObject *Sender);

    // The check box "图片透明化", read and written with the settings.
    bool Transparent() const;
    void setTransparent(bool value);

    void ApplyPageColours(const TPageColours &pc);

    // The picture the grind works on: the opened one, or white in the size of
    // the preview box when none has been opened.
    QImage WorkCopy() const;
    PictureKind PictureKindOpened() const { return m_kind; }

    // The open dialog's filter.
    static QString OpenFilter();

private:
    void buildPictureSection();
    void buildRampSection();
    void showError(const QString &text);

    TPageHost &m_host;
    ArtOutput &m_output;
    QImage m_picture; // at its own size; null until a picture loads
    PictureKind m_kind = PictureKind::None;
};

} // namespace vomra

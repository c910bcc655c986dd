#include "art/ui/PicturePage.h"

#include "art/core/ArtOutput.h"
#include "art/core/GrayRamp.h"
#include "art/core/PreviewFit.h"
#include "art/ui/GrindImage.h"
#include "art/ui/PicturePreview.h"
#include "base/Profile.h"
#include "base/Settings.h"
#include "base/TextLines.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "pagekit/core/PageColours.h"
#include "platform/GbkQt.h"
#include "platform/ImageIO.h"
#include "platform/NativePathQt.h"
#include "widgets/Button.h"
#include "widgets/Canvas.h"
#include "widgets/FlatControls.h"
#include "widgets/Panel.h"
#include "widgets/ProgressBar.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vomra {

namespace {

constexpr int kSectionLeft = 6;
constexpr int kSectionWidth = 150;
constexpr int kFirstTitleTop = 6;
constexpr int kTitleHeight = 25;
// As tight as the art font column, so both sections fit the smallest window.
constexpr int kTitleSpace = 8;
constexpr int kPictureSectionHeight = 200;
// The preview's frame: one pixel round the box.
constexpr int kFrameLeft = kPreviewBoxLeft - 2;
constexpr int kFrameTop = kPreviewBoxTop - 2;

QLabel *makeLabel(QWidget *parent, const char *name, const char *text, const QRect &place)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

} // namespace

QString TPicturePage::OpenFilter() { return QStringLiteral("Bitmaps (*.bmp)"); }

TPicturePage::TPicturePage(TPageHost &host, ArtOutput &output) : m_host(host), m_output(output)
{
    QWidget *page = host.pagePanel(pgArtFont);
    picturePanel1 = makeColumnPanel(page, QStringLiteral("picturePanel1"), kArtColumnWidth);
    picturePanel1->hide();
    // Crisp text in the column, as the section titles and choices draw theirs.
    QFont crisp = picturePanel1->font();
    crisp.setStyleStrategy(QFont::NoAntialias);
    picturePanel1->setFont(crisp);

    buildPictureSection();
    buildRampSection();
    pictureAutoPanelTitle1->setNextTitle(pictureAutoPanelTitle2);
}

void TPicturePage::buildPictureSection()
{
    pictureAutoPanelTitle1 = new TGWAutoPanelTitle(picturePanel1);
    pictureAutoPanelTitle1->setObjectName(QStringLiteral("pictureAutoPanelTitle1"));
    pictureAutoPanelTitle1->setGeometry(kSectionLeft, kFirstTitleTop, kSectionWidth, kTitleHeight);
    pictureAutoPanelTitle1->setCaption(QStringLiteral("图片"));
    pictureAutoPanelTitle1->setNextTitleSpace(kTitleSpace);

    pictureAutoPanel1 = new TGWAutoPanel(picturePanel1);
    pictureAutoPanel1->setObjectName(QStringLiteral("pictureAutoPanel1"));
    pictureAutoPanel1->setGeometry(kSectionLeft, kFirstTitleTop + kTitleHeight, kSectionWidth, kPictureSectionHeight);
    pictureAutoPanel1->setSelfHeight(kPictureSectionHeight);
    pictureAutoPanelTitle1->setAutoPanel(pictureAutoPanel1);
    QWidget *body = pictureAutoPanel1;

    picturepnl1Label1 = makeLabel(body, "picturepnl1Label1", "预览：", QRect(8, 12, 60, 18));

    picturepnl1Button1 = new TGWButton(body);
    picturepnl1Button1->setObjectName(QStringLiteral("picturepnl1Button1"));
    picturepnl1Button1->setCaption(QStringLiteral("打开(&O)"));
    picturepnl1Button1->setGeometry(76, 8, 66, 24);
    picturepnl1Button1->OnClick = [this](QObject *sender) { picturepnl1Button1Click(sender); };

    picturepnl1Shape1 = new TPreviewFrame(body);
    picturepnl1Shape1->setObjectName(QStringLiteral("picturepnl1Shape1"));
    picturepnl1Shape1->setGeometry(kFrameLeft, kFrameTop, kPreviewBoxWidth + 4, kPreviewBoxHeight + 4);

    picturepnl1Image1 = new TPreviewImage(body);
    picturepnl1Image1->setObjectName(QStringLiteral("picturepnl1Image1"));
    picturepnl1Image1->setGeometry(kPreviewBoxLeft, kPreviewBoxTop, kPreviewBoxWidth, kPreviewBoxHeight);

    picturepnl1CheckBox1 = new TGWCheckBox(body);
    picturepnl1CheckBox1->setObjectName(QStringLiteral("picturepnl1CheckBox1"));
    picturepnl1CheckBox1->setCaption(QStringLiteral("图片透明化"));
    picturepnl1CheckBox1->setGeometry(8, 152, 134, 18);
    picturepnl1CheckBox1->OnChecked = [this](QObject *sender) { picturepnl1CheckBox1Checked(sender); };

    picturepnl1Label2 = makeLabel(body, "picturepnl1Label2", "进度：", QRect(8, 175, 44, 18));

    picturepnl1ProgressBar1 = new TGWProgressBar(body);
    picturepnl1ProgressBar1->setObjectName(QStringLiteral("picturepnl1ProgressBar1"));
    picturepnl1ProgressBar1->setGeometry(52, 176, 90, 16);
    picturepnl1ProgressBar1->setKind(sbHorizontal);
    picturepnl1ProgressBar1->setShowPercent(true);
    picturepnl1ProgressBar1->setPosition(0);
}

void TPicturePage::buildRampSection()
{
    const int titleTop = pictureAutoPanel1->y() + kPictureSectionHeight + kTitleSpace;
    pictureAutoPanelTitle2 = new TGWAutoPanelTitle(picturePanel1);
    pictureAutoPanelTitle2->setObjectName(QStringLiteral("pictureAutoPanelTitle2"));
    pictureAutoPanelTitle2->setGeometry(kSectionLeft, titleTop, kSectionWidth, kTitleHeight);
    pictureAutoPanelTitle2->setCaption(QStringLiteral("磨牙灰度"));
    pictureAutoPanelTitle2->setNextTitleSpace(kTitleSpace);

    pictureAutoPanel2 = new TGWAutoPanel(picturePanel1);
    pictureAutoPanel2->setObjectName(QStringLiteral("pictureAutoPanel2"));
    pictureAutoPanel2->setGeometry(kSectionLeft, titleTop + kTitleHeight, kSectionWidth, kRampSectionHeight);
    pictureAutoPanel2->setSelfHeight(kRampSectionHeight);
    pictureAutoPanelTitle2->setAutoPanel(pictureAutoPanel2);
    QWidget *body = pictureAutoPanel2;

    const char *captions[3] = {"常规灰度", "94 级灰度", "自订义灰度"};
    TGWRadioButton **radios[3] = {&picturepnl2RadioButton1, &picturepnl2RadioButton2, &picturepnl2RadioButton3};
    for (int i = 0; i < 3; ++i) {
        auto *radio = new TGWRadioButton(body);
        radio->setObjectName(QStringLiteral("picturepnl2RadioButton%1").arg(i + 1));
        radio->setCaption(QString::fromUtf8(captions[i]));
        radio->setGeometry(8, 8 + 22 * i, 134, 18);
        radio->setTag(i + 1);
        radio->OnClick = [this](QObject *sender) { picturepnl2RadioButtonChecked(sender); };
        *radios[i] = radio;
    }
    picturepnl2RadioButton1->setChecked(true);

    picturepnl2Edit1 = new TGWFlatEdit(body);
    picturepnl2Edit1->setObjectName(QStringLiteral("picturepnl2Edit1"));
    picturepnl2Edit1->setGeometry(8, 76, 134, 20);
    picturepnl2Edit1->adjustHeight();
    picturepnl2Edit1->setText(gbk::toQString(std::string(kStartRamp)));

    // Below the short section's edge: it shows only for the custom ramp.
    picturepnl2Button1 = new TGWButton(body);
    picturepnl2Button1->setObjectName(QStringLiteral("picturepnl2Button1"));
    picturepnl2Button1->setCaption(QStringLiteral("保存灰度"));
    picturepnl2Button1->setGeometry(8, kRampSectionHeight, 80, 24);
    picturepnl2Button1->OnClick = [this](QObject *sender) { picturepnl2Button1Click(sender); };
}

bool TPicturePage::Transparent() const { return picturepnl1CheckBox1->Checked(); }

void TPicturePage::setTransparent(bool value)
{
    picturepnl1CheckBox1->setChecked(value);
    picturepnl1Image1->setTransparent(value);
}

void TPicturePage::picturepnl1CheckBox1Checked(QObject *)
{
    picturepnl1Image1->setTransparent(picturepnl1CheckBox1->Checked());
}

void TPicturePage::picturepnl1Button1Click(QObject *)
{
    const QString file = dialogs::openFile(m_host.hostWindow(), OpenFilter());
    const std::string path = npath(file);
    if (file.isEmpty() || !isRegularFile(path))
        return;
    // A picture that does not load leaves the preview as it was, without a word.
    const Result<Picture> load = loadPicture(path);
    if (!load)
        return;
    m_picture = load->image;
    m_kind = load->kind;

    picturepnl1Image1->hide();
    picturepnl1Image1->setPicture(m_picture, seeThroughColour(m_picture, load->head));
    const PreviewPlace place = previewFit(m_picture.width(), m_picture.height());
    picturepnl1Image1->setGeometry(place.left, place.top, place.width, place.height);
    picturepnl1Image1->show();
}

QImage TPicturePage::WorkCopy() const
{
    if (!m_picture.isNull())
        return m_picture;
    QImage white(kPreviewBoxWidth, kPreviewBoxHeight, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
}

void TPicturePage::Grind()
{
    TGWProgressBar *bar = picturepnl1ProgressBar1;
    const QImage work = grindableImage(WorkCopy());
    bar->setMax(static_cast<std::uint32_t>(work.height() - 1));
    bar->setMin(0);
    // Only a bitmap's pixels can be read; other kinds are for the preview alone.
    if (!m_picture.isNull() && m_kind != PictureKind::Bitmap) {
        bar->setPosition(0);
        showError(QStringLiteral("当图象为位图时才能修改它."));
        return;
    }
    bool lossy = false;
    const std::string ramp = gbk::fromQString(picturepnl2Edit1->text(), &lossy);
    GrindOptions options;
    options.transparent = picturepnl1CheckBox1->Checked();
    options.onRow = [bar](int row, int) { bar->setPosition(static_cast<std::uint32_t>(row)); };
    const Lines rows = grind(rgbView(work), ramp, options);
    m_output.setOutputLines(rows);
    bar->setPosition(0);
    if (lossy)
        dialogs::tellLossy(m_host.hostWindow());
}

void TPicturePage::showError(const QString &text)
{
    dialogs::error(m_host.hostWindow(), QApplication::applicationName(), text);
}

void TPicturePage::picturepnl2RadioButtonChecked(QObject *Sender)
{
    auto *radio = qobject_cast<TGWRadioButton *>(Sender);
    if (!radio)
        return;
    const RampKind kind = radio == picturepnl2RadioButton2   ? RampKind::Levels94
                          : radio == picturepnl2RadioButton3 ? RampKind::Custom
                                                             : RampKind::Standard;
    const Profile settings(settingsPath(m_host.programFolder()));
    picturepnl2Edit1->setText(gbk::toQString(readRamp(settings, kind)));
    const bool custom = kind == RampKind::Custom;
    picturepnl2Edit1->setReadOnly(!custom);
    const int height = custom ? kCustomRampSectionHeight : kRampSectionHeight;
    pictureAutoPanel2->setSelfHeight(height);
    // A rolled-up section keeps its height of nothing; it unrolls to the new one.
    if (pictureAutoPanelTitle2->Expanded() && !pictureAutoPanelTitle2->Expandeding())
        pictureAutoPanel2->resize(pictureAutoPanel2->width(), height);
}

void TPicturePage::picturepnl2Button1Click(QObject *)
{
    bool lossy = false;
    const std::string ramp = gbk::fromQString(picturepnl2Edit1->text(), &lossy);
    const Profile settings(settingsPath(m_host.programFolder()));
    // Saving is silent; only a failure, which would lose the ramp, is told.
    if (!saveCustomRamp(settings, ramp))
        showError(QStringLiteral("写 %1 失败").arg(shown(settings.path())));
    else if (lossy)
        dialogs::tellLossy(m_host.hostWindow());
}

void TPicturePage::ApplyPageColours(const TPageColours &pc)
{
    picturePanel1->setColor(pc.RightColor);
    for (TGWAutoPanelTitle *title : {pictureAutoPanelTitle1, pictureAutoPanelTitle2}) {
        title->setLeftColor(pc.PanelLeftColor);
        title->setRightColor(pc.PanelRightColor);
        title->setFontColor(pc.LeftFontColor);
        title->setEnterColor(pc.LeftFontEnterColor);
    }
    for (TGWAutoPanel *body : {pictureAutoPanel1, pictureAutoPanel2})
        body->setFontColor(pc.LeftFontColor);
    picturepnl1CheckBox1->setMouseEnterColor(pc.LeftFontEnterColor);
    picturepnl1Shape1->setBrushColor(pc.PanelRightColor);
    picturepnl1Shape1->setPenColor(pc.PanelLeftColor);
    TGWProgressBar *bar = picturepnl1ProgressBar1;
    bar->setOutlineColor(pc.LeftFontColor);
    bar->setStartColor(pc.PanelRightColor);
    bar->setMiddleColor(pc.PanelRightColor);
    bar->setEndColor(pc.PanelRightColor);
    bar->setProgressStartColor(pc.PanelLeftColor);
    bar->setProgressMiddleColor(pc.PanelLeftColor);
    bar->setProgressEndColor(pc.PanelLeftColor);
    for (TGWRadioButton *radio : {picturepnl2RadioButton1, picturepnl2RadioButton2, picturepnl2RadioButton3})
        radio->setMouseEnterColor(pc.LeftFontEnterColor);
    picturepnl2Edit1->setColorBorder(pc.PanelLeftColor);

    // The sections and their controls take the column's colour and font colour,
    // as controls do that keep their parent's.
    for (TGWAutoPanel *body : {pictureAutoPanel1, pictureAutoPanel2})
        body->setColor(pc.RightColor);
    for (TGWButtonBase *b : {static_cast<TGWButtonBase *>(picturepnl1CheckBox1),
                             static_cast<TGWButtonBase *>(picturepnl2RadioButton1),
                             static_cast<TGWButtonBase *>(picturepnl2RadioButton2),
                             static_cast<TGWButtonBase *>(picturepnl2RadioButton3)}) {
        b->setColor(pc.RightColor);
        b->setFontColor(pc.LeftFontColor);
    }
    bar->setColor(pc.RightColor);
    bar->setFontColor(pc.LeftFontColor);
    setPaletteColour(picturepnl1Label1, QPalette::WindowText, pc.LeftFontColor);
    setPaletteColour(picturepnl1Label2, QPalette::WindowText, pc.LeftFontColor);
}

} // namespace vomra

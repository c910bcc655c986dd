// The picture grinder page in the real main window.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "art/ui/ArtFontPage.h"
#include "art/core/GrayRamp.h"
#include "art/ui/PicturePage.h"
#include "art/ui/PicturePreview.h"
#include "base/Gbk.h"
#include "platform/GbkQt.h"
#include "base/Profile.h"
#include "support/MainWindowFixture.h"
#include "support/ImageCheck.h"
#include "support/TempFolder.h"
#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"
#include "widgets/ProgressBar.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::pixelAt;
using vomra::test::TempFolder;

namespace {

std::string fixture(const char *path) { return std::string(VOMRA_TEST_DATA) + "/" + path; }
std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }

// The positions a progress bar shows, one per paint.
class PaintedPositions : public QObject {
public:
    explicit PaintedPositions(TGWProgressBar *bar) : m_bar(bar) { bar->installEventFilter(this); }
    std::vector<std::uint32_t> seen;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            seen.push_back(m_bar->Position());
        return false;
    }

private:
    TGWProgressBar *m_bar;
};

class PicturePageTest : public test::MainWindowFixture {
protected:
    QString answer;      // what the open dialog answers
    QString filterSeen;  // the filter it was shown with
    QStringList errors;  // error boxes, as "title|text"
    QStringList notices; // other boxes, their text

    void SetUp() override
    {
        dialogs::nextFileName() = [this](const FileQuestion &question) {
            EXPECT_FALSE(question.save);
            filterSeen = question.filter;
            return answer;
        };
        dialogs::nextAnswer() = [this](const BoxShown &box) {
            if (box.kind == BoxKind::Error)
                errors << box.title + QLatin1Char('|') + box.text;
            else
                notices << box.text;
            return Answer::Yes;
        };
    }
    void TearDown() override
    {
        if (frm)
            frm->close();
        dialogs::nextFileName() = nullptr;
        dialogs::nextAnswer() = nullptr;
    }
    void start()
    {
        openWindow();
        QTest::mouseClick(frm->GWImageLabels[1], Qt::LeftButton);
        QApplication::processEvents();
    }
    TPicturePage &page() const { return *frm->picture; }
    QPlainTextEdit *output() const { return frm->artFont->artfontRichEdit1; }
    void open(const std::string &path)
    {
        answer = QString::fromStdString(path);
        QTest::mouseClick(page().picturepnl1Button1, Qt::LeftButton);
    }
    void make() { QTest::mouseClick(frm->artFont->artfontImageLabel(1), Qt::LeftButton); }
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2)); }
    void copyFixture(const char *from, const std::string &to)
    {
        QFile::remove(QString::fromStdString(dir.file(to)));
        ASSERT_TRUE(QFile::copy(QString::fromStdString(fixture(from)), QString::fromStdString(dir.file(to))));
    }
    void writeRamps()
    {
        const Profile ini(dir.file("QOBR.Ini"));
        ASSERT_TRUE(ini.writeString(G("图片磨牙器"), G("常规灰度"), "#+-"));
        ASSERT_TRUE(ini.writeString(G("图片磨牙器"), G("94 级灰度"), "@%&*"));
        ASSERT_TRUE(ini.writeString(G("图片磨牙器"), G("自定义灰度"), "XY"));
    }
};

} // namespace

TEST_F(PicturePageTest, OptionColumnAtStart)
{
    start();
    EXPECT_TRUE(page().picturePanel1->isVisible());
    EXPECT_EQ(page().picturePanel1->width(), 162);
    EXPECT_EQ(page().pictureAutoPanelTitle1->Caption(), QStringLiteral("图片"));
    EXPECT_EQ(page().pictureAutoPanelTitle2->Caption(), QStringLiteral("磨牙灰度"));
    EXPECT_EQ(page().picturepnl1Button1->Caption(), QStringLiteral("打开(&O)"));
    EXPECT_EQ(page().picturepnl1CheckBox1->Caption(), QStringLiteral("图片透明化"));
    EXPECT_EQ(page().picturepnl1Image1->geometry(), QRect(8, 40, 129, 105));
    EXPECT_EQ(page().picturepnl1Shape1->geometry(), QRect(6, 38, 133, 109));
    EXPECT_EQ(page().picturepnl1ProgressBar1->Position(), 0u);
    EXPECT_TRUE(page().picturepnl2RadioButton1->Checked());
    EXPECT_FALSE(page().picturepnl2RadioButton2->Checked());
    EXPECT_EQ(gbk::fromQString(page().picturepnl2Edit1->text()), std::string(kStartRamp));
    EXPECT_FALSE(page().picturepnl2Edit1->isReadOnly());
    EXPECT_EQ(page().pictureAutoPanel2->height(), 106);
    // The save button lies below the short section's edge.
    EXPECT_GE(page().picturepnl2Button1->y(), 106);
    EXPECT_LE(page().picturepnl2Button1->geometry().bottom(), 138);
    // The ramp section follows the picture section.
    EXPECT_EQ(page().pictureAutoPanelTitle1->NextTitle(), page().pictureAutoPanelTitle2);
    for (const char *name : {"pictureAutoPanel1", "picturepnl1Image1", "picturepnl1Shape1", "picturepnl1ProgressBar1",
                             "picturepnl2RadioButton3", "picturepnl2Edit1", "picturepnl2Button1"})
        EXPECT_NE(frm->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(PicturePageTest, OpensABitmapPreviewsItAndGrindsItIntoTheOutput)
{
    // The extension counts without regard to case.
    copyFixture("grind/picture.bmp", "PIC.BMP");
    for (const std::string &path : {fixture("grind/picture.bmp"), dir.file("PIC.BMP")}) {
        start();
        open(path);
        EXPECT_EQ(filterSeen, QStringLiteral("Bitmaps (*.bmp)"));
        EXPECT_EQ(page().PictureKindOpened(), PictureKind::Bitmap) << path;
        // 8 x 5 fits the box: own size, centred.
        EXPECT_EQ(page().picturepnl1Image1->geometry(), QRect(68, 90, 8, 5)) << path;
        output()->setPlainText(QStringLiteral("old"));
        PaintedPositions painted(page().picturepnl1ProgressBar1);
        make();
        EXPECT_EQ(output()->toPlainText(), QStringLiteral("M7 $!N\n\n$$M    $")) << path;
        // Each row's progress is painted while the grind runs, then the bar rests at 0.
        // (Setting the range paints the bar at 0 first.)
        const auto firstRow = std::find_if(painted.seen.begin(), painted.seen.end(), [](auto p) { return p != 0; });
        const std::vector<std::uint32_t> rows{1, 2, 3, 4, 0};
        EXPECT_EQ(std::vector<std::uint32_t>(firstRow, painted.seen.end()), rows) << path;
        EXPECT_EQ(page().picturepnl1ProgressBar1->Max(), 4u);
        EXPECT_EQ(page().picturepnl1ProgressBar1->Position(), 0u);
        EXPECT_TRUE(errors.isEmpty());
        frm->close();
        frm.reset();
    }
}

TEST_F(PicturePageTest, TheRampInTheEditAndTheTransparencySwitchDecide)
{
    start();
    open(fixture("grind/corner.bmp"));
    make();
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("$$M$\nM$ N\n$$$$"));
    page().picturepnl2Edit1->setText(QStringLiteral("x"));
    make();
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("xxxx\nxxxx\nxxxx"));
    page().picturepnl2Edit1->setText(gbk::toQString(std::string(kStartRamp)));
    click(page().picturepnl1CheckBox1);
    ASSERT_TRUE(page().Transparent());
    make();
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("  M\nM  N"));
    // An empty ramp empties the output.
    page().picturepnl2Edit1->clear();
    make();
    EXPECT_EQ(output()->toPlainText(), QString());
}

TEST_F(PicturePageTest, WithNoPictureTheWorkCopyIsWhiteInTheBoxSize)
{
    start();
    const QImage work = page().WorkCopy();
    EXPECT_EQ(work.size(), QSize(129, 105));
    EXPECT_EQ(work.pixel(64, 50) & 0xFFFFFFu, 0xFFFFFFu);
    output()->setPlainText(QStringLiteral("old"));
    make();
    EXPECT_EQ(output()->toPlainText(), QString()); // the start ramp's last byte is a blank
    page().picturepnl2Edit1->setText(QStringLiteral("x"));
    make();
    const QStringList rows = output()->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(rows.size(), 105);
    EXPECT_EQ(rows.front(), QString(129, QLatin1Char('x')));
    EXPECT_EQ(page().picturepnl1ProgressBar1->Max(), 104u);
    EXPECT_EQ(page().picturepnl1ProgressBar1->Position(), 0u);
}

TEST_F(PicturePageTest, OtherPictureKindsArePreviewedButNotGround)
{
    for (const char *path : {"grind/picture.png", "images/quadrants.jpg", "grind/png-named.bmp"}) {
        start();
        open(fixture(path));
        EXPECT_FALSE(page().picturepnl1Image1->Picture().isNull()) << path;
        EXPECT_NE(page().PictureKindOpened(), PictureKind::Bitmap) << path;
        output()->setPlainText(QStringLiteral("kept"));
        errors.clear();
        make();
        EXPECT_EQ(errors, QStringList{QApplication::applicationName() + QStringLiteral("|当图象为位图时才能修改它.")})
            << path;
        EXPECT_EQ(output()->toPlainText(), QStringLiteral("kept")) << path;
        EXPECT_EQ(page().picturepnl1ProgressBar1->Position(), 0u) << path;
        frm->close();
        frm.reset();
    }
}

TEST_F(PicturePageTest, CancelOrAFileThatDoesNotLoadKeepsThePreview)
{
    start();
    open(fixture("grind/picture.bmp"));
    const QRect place = page().picturepnl1Image1->geometry();
    for (const std::string &path : {std::string(), fixture("grind/not-a-picture.bmp"), dir.file("none.bmp"),
                                    fixture("grind/cut.bmp"), dir.path()}) {
        open(path);
        EXPECT_EQ(page().picturepnl1Image1->geometry(), place) << path;
        EXPECT_EQ(page().PictureKindOpened(), PictureKind::Bitmap) << path;
        EXPECT_EQ(page().picturepnl1Image1->Picture().size(), QSize(8, 5)) << path;
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PicturePageTest, LargePicturesAreFittedIntoThePreview)
{
    QImage wide(258, 1, QImage::Format_RGB32);
    wide.fill(Qt::black);
    ASSERT_TRUE(wide.save(QString::fromStdString(dir.file("wide.bmp")), "BMP"));
    QImage big(400, 300, QImage::Format_RGB32);
    big.fill(Qt::black);
    ASSERT_TRUE(big.save(QString::fromStdString(dir.file("big.bmp")), "BMP"));
    start();
    open(dir.file("big.bmp"));
    EXPECT_EQ(page().picturepnl1Image1->geometry(), QRect(8, 44, 129, 97)); // 129 / (4 / 3) = 96.75
    open(dir.file("wide.bmp"));
    EXPECT_EQ(page().picturepnl1Image1->geometry(), QRect(8, 92, 129, 0));
    // The grind uses every pixel, not the preview's.
    make();
    EXPECT_EQ(output()->toPlainText(), QString(258, QLatin1Char('M')));
}

TEST_F(PicturePageTest, RadiosReadTheRampsFromTheSettingsFile)
{
    writeRamps();
    start();
    struct Case {
        TGWRadioButton *TPicturePage::*radio;
        const char *ramp;
        bool readOnly;
        int height;
    };
    const Case cases[] = {
        {&TPicturePage::picturepnl2RadioButton1, "#+- ", true, 106}, // the checked one too
        {&TPicturePage::picturepnl2RadioButton2, "@%&* ", true, 106},
        {&TPicturePage::picturepnl2RadioButton3, "XY ", false, 138},
        {&TPicturePage::picturepnl2RadioButton1, "#+- ", true, 106},
    };
    for (const Case &c : cases) {
        page().picturepnl2Edit1->setText(QStringLiteral("typed"));
        click(page().*c.radio);
        EXPECT_TRUE((page().*c.radio)->Checked()) << c.ramp;
        EXPECT_EQ(gbk::fromQString(page().picturepnl2Edit1->text()), c.ramp);
        EXPECT_EQ(page().picturepnl2Edit1->isReadOnly(), c.readOnly) << c.ramp;
        EXPECT_EQ(page().pictureAutoPanel2->height(), c.height) << c.ramp;
        EXPECT_EQ(page().pictureAutoPanel2->SelfHeight(), c.height) << c.ramp;
    }
    // The stored ramp is in force for the next grind.
    open(fixture("grind/mono.bmp"));
    make();
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("# #\n #"));
}

TEST_F(PicturePageTest, AMissingRampReadsAsABlank)
{
    start();
    click(page().picturepnl2RadioButton2);
    EXPECT_EQ(page().picturepnl2Edit1->text(), QStringLiteral(" "));
}

TEST_F(PicturePageTest, TheCustomRampIsTypedUsedAndSaved)
{
    writeRamps();
    start();
    click(page().picturepnl2RadioButton3);
    page().picturepnl2Edit1->setFocus();
    page().picturepnl2Edit1->selectAll();
    QTest::keyClicks(page().picturepnl2Edit1, QStringLiteral("o. "));
    open(fixture("grind/mono.bmp"));
    make(); // typed, not saved, is what counts
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("o o\n o"));
    EXPECT_EQ(Profile(dir.file("QOBR.Ini")).readString(G("图片磨牙器"), G("自定义灰度"), ""), "XY");
    click(page().picturepnl2Button1);
    // Written with its final blank; the profile rules trim it on reading, and
    // the read adds one back.
    EXPECT_NE(dir.read("QOBR.Ini").find(G("自定义灰度") + "=o. \r\n"), std::string::npos) << dir.read("QOBR.Ini");
    click(page().picturepnl2RadioButton3);
    EXPECT_EQ(page().picturepnl2Edit1->text(), QStringLiteral("o. "));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PicturePageTest, AFailedRampSaveNamesTheSettingsFile)
{
    start();
    click(page().picturepnl2RadioButton3);
    dir.write("QOBR.Ini/blocker", "x"); // a folder where the file should be
    click(page().picturepnl2Button1);
    const QString path = QString::fromStdString(dir.path() + "QOBR.Ini");
    EXPECT_EQ(errors, QStringList{QApplication::applicationName() + QStringLiteral("|写 %1 失败").arg(path)});
    std::filesystem::remove_all(dir.file("QOBR.Ini")); // the close writes the settings
}

TEST_F(PicturePageTest, ARampGbkCannotHoldIsToldOnGrindAndSave)
{
    start();
    click(page().picturepnl2RadioButton3);
    page().picturepnl2Edit1->setText(QStringLiteral("한 "));
    open(fixture("grind/mono.bmp"));
    make();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices.front(), QStringLiteral("有些字符不能用 GBK 表示，已换成“?”。"));
    click(page().picturepnl2Button1);
    EXPECT_EQ(notices.size(), 2);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PicturePageTest, TransparencySurvivesAClose)
{
    start();
    EXPECT_FALSE(page().Transparent());
    click(page().picturepnl1CheckBox1);
    EXPECT_TRUE(page().picturepnl1Image1->Transparent());
    frm->close();
    frm.reset();
    EXPECT_EQ(Profile(dir.file("QOBR.Ini")).readString(G("图片磨牙器"), G("图片透明化"), ""), "1");
    start();
    EXPECT_TRUE(page().Transparent());
    EXPECT_TRUE(page().picturepnl1CheckBox1->Checked());
    EXPECT_TRUE(page().picturepnl1Image1->Transparent());
}

TEST_F(PicturePageTest, TransparentPreviewShowsTheFrameFaceThroughTheBottomLeftColour)
{
    // A grey picture with a red bottom-left corner, and a two-colour one whose
    // bottom-left pixel is black (its see-through colour is white all the same).
    QImage grey(4, 3, QImage::Format_RGB32);
    grey.fill(QColor(50, 60, 70));
    grey.setPixel(0, 2, qRgb(255, 0, 0));
    grey.setPixel(3, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(grey.save(QString::fromStdString(dir.file("grey.bmp")), "BMP"));
    QImage mono(4, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1);
    mono.setPixel(0, 2, 0);
    ASSERT_TRUE(mono.save(QString::fromStdString(dir.file("mono1.bmp")), "BMP"));

    start();
    const TColor face = frm->PageColours().PanelRightColor;
    const TColor edge = frm->PageColours().PanelLeftColor;
    const QImage frame = page().pictureAutoPanel1->grab().toImage();
    EXPECT_EQ(pixelAt(frame, 6, 38), edge);
    EXPECT_EQ(pixelAt(frame, 138, 146), edge);
    EXPECT_EQ(pixelAt(frame, 7, 39), face);

    struct Case {
        const char *file;
        bool transparent;
        TColor corner, grey; // at (0, 2) and (1, 1) of the picture
        TColor topRight;     // at (3, 0)
    };
    const Case cases[] = {
        {"grey.bmp", false, RGB(255, 0, 0), RGB(50, 60, 70), RGB(255, 0, 0)},
        {"grey.bmp", true, face, RGB(50, 60, 70), face},
        {"mono1.bmp", false, clBlack, clWhite, clWhite},
        {"mono1.bmp", true, clBlack, face, face},
    };
    for (const Case &c : cases) {
        open(dir.file(c.file));
        if (page().Transparent() != c.transparent)
            click(page().picturepnl1CheckBox1);
        const QPoint at = page().picturepnl1Image1->pos();
        const QImage shot = page().pictureAutoPanel1->grab().toImage();
        EXPECT_EQ(pixelAt(shot, at.x(), at.y() + 2), c.corner) << c.file << c.transparent;
        EXPECT_EQ(pixelAt(shot, at.x() + 1, at.y() + 1), c.grey) << c.file << c.transparent;
        EXPECT_EQ(pixelAt(shot, at.x() + 3, at.y()), c.topRight) << c.file << c.transparent;
    }
}

TEST_F(PicturePageTest, PageColoursReachTheColumn)
{
    start();
    TPageColours pc = frm->PageColours();
    pc.RightColor = RGB(1, 2, 3);
    pc.LeftFontColor = RGB(4, 5, 6);
    pc.LeftFontEnterColor = RGB(7, 8, 9);
    pc.PanelLeftColor = RGB(10, 11, 12);
    pc.PanelRightColor = RGB(13, 14, 15);
    page().ApplyPageColours(pc);
    EXPECT_EQ(page().picturePanel1->Color(), pc.RightColor);
    for (TGWAutoPanelTitle *t : {page().pictureAutoPanelTitle1, page().pictureAutoPanelTitle2}) {
        EXPECT_EQ(t->LeftColor(), pc.PanelLeftColor);
        EXPECT_EQ(t->RightColor(), pc.PanelRightColor);
        EXPECT_EQ(t->FontColor(), pc.LeftFontColor);
        EXPECT_EQ(t->EnterColor(), pc.LeftFontEnterColor);
    }
    EXPECT_EQ(page().pictureAutoPanel2->FontColor(), pc.LeftFontColor);
    EXPECT_EQ(page().picturepnl1CheckBox1->MouseEnterColor(), pc.LeftFontEnterColor);
    EXPECT_EQ(page().picturepnl2RadioButton3->MouseEnterColor(), pc.LeftFontEnterColor);
    EXPECT_EQ(page().picturepnl1Shape1->BrushColor(), pc.PanelRightColor);
    EXPECT_EQ(page().picturepnl1Shape1->PenColor(), pc.PanelLeftColor);
    const TGWProgressBar *bar = page().picturepnl1ProgressBar1;
    EXPECT_EQ(bar->OutlineColor(), pc.LeftFontColor);
    EXPECT_EQ(bar->StartColor(), pc.PanelRightColor);
    EXPECT_EQ(bar->MiddleColor(), pc.PanelRightColor);
    EXPECT_EQ(bar->EndColor(), pc.PanelRightColor);
    EXPECT_EQ(bar->ProgressStartColor(), pc.PanelLeftColor);
    EXPECT_EQ(bar->ProgressMiddleColor(), pc.PanelLeftColor);
    EXPECT_EQ(bar->ProgressEndColor(), pc.PanelLeftColor);
    EXPECT_EQ(page().picturepnl2Edit1->ColorBorder(), pc.PanelLeftColor);
    // The main window hands its scheme on too.
    frm->UseBuiltInPageColours();
    EXPECT_EQ(page().picturepnl1Shape1->PenColor(), frm->PageColours().PanelLeftColor);
}

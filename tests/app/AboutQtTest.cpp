#include "app/About.h"
#include "platform/Shell.h"
#include "support/ImageCheck.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vomra;
using vomra::test::pixelAt;

namespace {

// Records the URLs the About window asks to open.
class OpenUrlRecorder {
public:
    explicit OpenUrlRecorder(bool result = true)
    {
        setOpenUrlHookForTests([this, result](const QUrl &url) {
            urls.push_back(url);
            return result;
        });
    }
    ~OpenUrlRecorder() { setOpenUrlHookForTests({}); }
    std::vector<QUrl> urls;
};

void sendEnter(QWidget *w)
{
    const QPointF p(2, 2);
    QEnterEvent e(p, w->mapToGlobal(p), w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
}

void sendLeave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// The longest run of pixels of colour c on one row of the label's area.
int longestRun(const QImage &img, const QRect &area, TColor c)
{
    int best = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int run = 0;
        for (int x = area.left(); x <= area.right(); ++x) {
            run = pixelAt(img, x, y) == c ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

int count(const QImage &img, const QRect &area, const std::function<bool(const QColor &)> &match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(img.pixelColor(x, y));
    return n;
}

// Text is smoothed: its cores are near the font colour, not exactly it.
bool nearBlack(const QColor &c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool blueish(const QColor &c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }

} // namespace

TEST(About, WindowIsThePicture)
{
    TfrmAbout about;
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.size(), QSize(400, 240));
    EXPECT_EQ(about.Image1->geometry(), QRect(0, 0, 400, 240));
    EXPECT_EQ(about.Image1->objectName(), QStringLiteral("Image1"));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(about.font().family(), QString::fromUtf8("宋体"));
    EXPECT_EQ(about.font().pixelSize(), 14);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(about.geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(about.geometry().center().y() - screen.center().y()), 1);
}

TEST(About, LinkLabels)
{
    TfrmAbout about;
    struct Row {
        TClickLabel *label;
        const char *name;
        int tag;
        QPoint pos;
        QString text;
        QString hint;
    };
    const Row rows[] = {
        {about.Label1, "Label1", 1, {8, 202}, QString::fromUtf8("作者：Vomra 开发组"), QString::fromUtf8("给作者写信")},
        {about.Label3, "Label3", 2, {234, 216}, QStringLiteral("www.example.org/vomra"),
         QString::fromUtf8("到作者的网站去看看")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.label->objectName(), QLatin1String(row.name));
        EXPECT_EQ(row.label->Tag(), row.tag);
        EXPECT_EQ(row.label->pos(), row.pos);
        EXPECT_EQ(row.label->text(), row.text);
        EXPECT_EQ(row.label->toolTip(), row.hint);
        EXPECT_EQ(row.label->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_FALSE(row.label->autoFillBackground());
        // Inside the picture, and above it.
        EXPECT_TRUE(about.Image1->geometry().contains(row.label->geometry()));
        EXPECT_EQ(about.childAt(row.label->geometry().center()), row.label);
    }
}

TEST(About, HoverTurnsLinkBlueAndUnderlined)
{
    TfrmAbout about;
    about.show();
    // Let the window's own enter/leave dispatch happen before the synthetic hover.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QApplication::processEvents();
    for (TClickLabel *label : {about.Label1, about.Label3}) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QRect area = label->geometry();
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text());

        sendEnter(label);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(label->font().underline());
        QImage img = about.grab().toImage();
        // The underline: a blue run nearly as long as the text.
        EXPECT_GE(longestRun(img, area, clBlue), textWidth * 9 / 10);
        EXPECT_GT(count(img, area, blueish), textWidth + 5);
        EXPECT_EQ(count(img, area, nearBlack), 0);

        sendLeave(label);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        EXPECT_FALSE(label->font().underline());
        img = about.grab().toImage();
        EXPECT_LT(longestRun(img, area, clBlue), textWidth / 2);
        EXPECT_LT(count(img, area, blueish), 5);
        EXPECT_GT(count(img, area, nearBlack), 10);
    }
}

TEST(About, LabelClicksOpenLinks)
{
    OpenUrlRecorder recorder(false); // a failed open is not reported
    TfrmAbout about;
    about.show();
    QTest::mouseClick(about.Label1, Qt::LeftButton);
    QTest::mouseClick(about.Label3, Qt::LeftButton);
    ASSERT_EQ(recorder.urls.size(), 2u);
    EXPECT_EQ(recorder.urls[0], QUrl(QStringLiteral("mailto:vomra@example.org")));
    EXPECT_EQ(recorder.urls[1], QUrl(QStringLiteral("http://www.example.org/vomra")));
    // The labels lie over the picture, but clicking them keeps the window open.
    EXPECT_TRUE(about.isVisible());
    // A press that ends outside the label is no click.
    QTest::mousePress(about.Label1, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(about.Label1, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(recorder.urls.size(), 2u);
    // Any tag other than 1 opens the web page.
    EXPECT_EQ(TfrmAbout::linkForTag(0), QUrl(QStringLiteral("http://www.example.org/vomra")));
}

TEST(About, PictureClickHidesSplash)
{
    OpenUrlRecorder recorder;
    TfrmAbout about;
    about.showSplash();
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.Image1, Qt::LeftButton, {}, QPoint(200, 50));
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(recorder.urls.empty());
    // Closing it again (the end of start-up) is harmless.
    about.close();
    EXPECT_FALSE(about.isVisible());
}

TEST(About, ModalShowReturnsAfterPictureClick)
{
    TfrmAbout about;
    about.showSplash(); // shown as the splash first, as at start
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        bool wasModal = false;
        QTimer::singleShot(0, &about, [&] {
            wasModal = about.isModal() && about.isVisible();
            QTest::mouseClick(about.Image1, Qt::LeftButton, {}, QPoint(100, 100));
        });
        // Guard: if the click did not end the modal show, end it and fail below.
        bool guardFired = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &about, [&] {
            guardFired = true;
            about.hide();
        });
        guard.start(3000);
        about.showModalAbout();
        EXPECT_TRUE(wasModal);
        EXPECT_FALSE(guardFired);
        EXPECT_FALSE(about.isVisible());
    }
}

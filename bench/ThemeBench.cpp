// The skin: one full frame paint of a 1024 x 768 window (every frame, activation
// and client paint repaints it), and ApplyTheme on the real main window
// (pictures read, page colours applied, the window made frameless and masked).
#include "BenchApp.h"
#include "app/Main.h"
#include "platform/FontSetup.h"
#include "platform/NativePathQt.h"
#include "theme/ui/SkinPaint.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A program folder holding the shipped themes.
QString programFolder()
{
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/vomra-theme-bench/");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + QStringLiteral("Theme"));
        const QString src = QStringLiteral(VOMRA_SOURCE_DIR "/assets/Theme/");
        for (const QString &sub : {QStringLiteral("Glass"), QStringLiteral("Graphite"), QStringLiteral("Paper")}) {
            QDir().mkpath(dir + QStringLiteral("Theme/") + sub);
            for (const QString &f : QDir(src + sub).entryList(QDir::Files))
                QFile::copy(src + sub + QLatin1Char('/') + f, dir + QStringLiteral("Theme/") + sub + QLatin1Char('/') + f);
        }
        QFile::copy(src + QStringLiteral("Theme.Ini"), dir + QStringLiteral("Theme/Theme.Ini"));
        return dir;
    }();
    return folder;
}

void BM_SkinFramePaint1024x768(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(programFolder()));
    frm.ApplyTheme(frm.Theme1().ThemeNameList().at(0));
    const vomra::TSkinImages images = vomra::SkinImages(frm.Theme1());
    QImage target(1024, 768, QImage::Format_RGB32);
    const QPixmap icon = frm.windowIcon().pixmap(24, 24);
    for (auto _ : state) {
        QPainter p(&target);
        vomra::PaintSkinFrame(p, frm.Theme1(), images, {1024, 768, true, false}, icon, frm.windowTitle(), frm.font());
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_SkinFramePaint1024x768)->Unit(benchmark::kMillisecond);

void BM_ApplyTheme(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(programFolder()));
    const auto names = frm.Theme1().ThemeNameList();
    std::size_t i = 0;
    for (auto _ : state) {
        frm.ApplyTheme(names.at(i++ % names.size()));
        benchmark::DoNotOptimize(frm.ThemeIndex());
    }
}
BENCHMARK(BM_ApplyTheme)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A program folder whose catalogue lists 10,000 themes, each a full section with
// the shipped Graphite pictures and a preview; the saved index wears the last.
QString bigCatalogueFolder()
{
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/vomra-theme-bench-10000/");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir + QStringLiteral("Theme/Graphite"));
        const QString src = QStringLiteral(VOMRA_SOURCE_DIR "/assets/Theme/Graphite/");
        for (const QString &f : QDir(src).entryList(QDir::Files))
            QFile::copy(src + f, dir + QStringLiteral("Theme/Graphite/") + f);
        constexpr int kThemes = 10000;
        std::string ini = "[Theme]\r\nThemeCount=" + std::to_string(kThemes) + "\r\n";
        for (int i = 1; i <= kThemes; ++i)
            ini += "ThemeName" + std::to_string(i) + "=T" + std::to_string(i) + "\r\n";
        for (int i = 1; i <= kThemes; ++i) {
            ini += "[T" + std::to_string(i) + "]\r\nTitleBar=Graphite/TitleBar.bmp\r\nTitleButton=Graphite/Buttons.bmp\r\n"
                   "FrameLeftRight=Graphite/Frame.bmp\r\nFrameBottom=Graphite/Bottom.bmp\r\n"
                   "Preview=Graphite/Preview.bmp\r\nArchitect=A\r\nCompany=C\r\nDescant=D\r\n"
                   "RoundRgnX=8\r\nRoundRgnY=8\r\nCaptionX=36\r\nCaptionY=8\r\nLeftColorR=200\r\nLeftColorG=202\r\n"
                   "LeftColorB=206\r\nTitleFontColorR=255\r\nTitleFontColorG=255\r\nTitleFontColorB=255\r\n";
        }
        QFile theme(dir + QStringLiteral("Theme/Theme.Ini"));
        theme.open(QIODevice::WriteOnly);
        theme.write(ini.data(), static_cast<qint64>(ini.size()));
        QFile settings(dir + QStringLiteral("QOBR.Ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("[\xbd\xe7\xc3\xe6\xb7\xbd\xb0\xb8]\r\n\xb7\xbd\xb0\xb8=10000\r\n");
        return dir;
    }();
    return folder;
}

// From creating the main window to the window answering with the list filled:
// creation (catalogue, settings, the saved theme worn), the start's show and
// fill, and the events that follow until a posted event is delivered.
void BM_Start10000Themes(benchmark::State &state)
{
    vomra::bench::app();
    const QString folder = bigCatalogueFolder();
    for (auto _ : state) {
        auto frm = std::make_unique<vomra::TfrmMain>(vomra::npath(folder));
        frm->showAtStart();
        bool answered = false;
        QMetaObject::invokeMethod(frm.get(), [&] { answered = true; }, Qt::QueuedConnection);
        while (!answered)
            QCoreApplication::processEvents();
        benchmark::DoNotOptimize(frm->theme->themeListView1->count());
        state.PauseTiming();
        frm->close();
        frm.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Start10000Themes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The theme page opened on the 10,000 items: the list laid out and painted.
void BM_ThemePage10000Themes(benchmark::State &state)
{
    vomra::bench::app();
    vomra::TfrmMain frm(vomra::npath(bigCatalogueFolder()));
    frm.showAtStart();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        frm.GWImageLabel1Click(frm.GWImageLabels[3]);
        const QImage shot = frm.grab().toImage();
        benchmark::DoNotOptimize(shot.constBits());
        state.PauseTiming();
        frm.GWImageLabel1Click(frm.GWImageLabels[2]);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    frm.close();
}
BENCHMARK(BM_ThemePage10000Themes)->Unit(benchmark::kMillisecond)->Iterations(3);

// From the close to the window gone: settings written, 10,000 items freed.
void BM_Exit10000Themes(benchmark::State &state)
{
    vomra::bench::app();
    const QString folder = bigCatalogueFolder();
    for (auto _ : state) {
        state.PauseTiming();
        auto frm = std::make_unique<vomra::TfrmMain>(vomra::npath(folder));
        frm->showAtStart();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        frm->close();
        frm.reset();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Exit10000Themes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

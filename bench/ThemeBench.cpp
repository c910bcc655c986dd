// The skin: one full frame paint of a 1024 x 768 window (every frame, activation
// and client paint repaints it), and ApplyTheme on the real main window
// (pictures read, page colours applied, the window made frameless and masked).
#include "app/Main.h"
#include "platform/FontSetup.h"
#include "theme/SkinPaint.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication &app()
{
    static int argc = 1;
    static char name[] = "vomra_bench";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        auto a = std::make_unique<QApplication>(argc, argv);
        vomra::installFontSubstitutes();
        return a;
    }();
    return *instance;
}

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
    app();
    vomra::TfrmMain frm(programFolder());
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
    app();
    vomra::TfrmMain frm(programFolder());
    const auto names = frm.Theme1().ThemeNameList();
    std::size_t i = 0;
    for (auto _ : state) {
        frm.ApplyTheme(names.at(i++ % names.size()));
        benchmark::DoNotOptimize(frm.ThemeIndex());
    }
}
BENCHMARK(BM_ApplyTheme)->Unit(benchmark::kMillisecond);

} // namespace

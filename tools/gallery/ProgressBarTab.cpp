// Gradient progress bars: positions, outline styles, kinds and colours.

#include "Gallery.h"

#include "widgets/ProgressBar.h"

#include <QSlider>

using namespace vomra;

namespace gallery {

QWidget *progressBarTab()
{
    QWidget *page = newPage();

    note(page, 10, 8, QStringLiteral("Positions 0, 29, 50, 100 of 0..100; Max = Min"));
    const int positions[] = {0, 29, 50, 100};
    for (int i = 0; i < 4; ++i) {
        auto *bar = new TGWProgressBar(page);
        bar->move(10 + i * 120, 28);
        bar->setPosition(static_cast<std::uint32_t>(positions[i]));
    }
    auto *empty = new TGWProgressBar(page);
    empty->move(490, 28);
    empty->setMax(0);

    note(page, 10, 60, QStringLiteral("Outline: none, flat (red), lowered, raised"));
    const TGWOutlineBorder styles[] = {gwobNone, gwobFlat, gwobLowered, gwobRaised};
    for (int i = 0; i < 4; ++i) {
        auto *bar = new TGWProgressBar(page);
        bar->setOutlineBorder(styles[i]);
        bar->setOutlineColor(clRed);
        bar->setGeometry(10 + i * 120, 80, 102, 18);
        bar->setPosition(40);
    }

    note(page, 10, 112, QStringLiteral("MiddleColor clNone; other colours; no percentage; wide"));
    auto *two = new TGWProgressBar(page);
    two->setMiddleColor(clNone);
    two->setPosition(35);
    two->move(10, 132);
    auto *green = new TGWProgressBar(page);
    green->setProgressStartColor(RGB(40, 150, 60));
    green->setProgressMiddleColor(RGB(200, 250, 200));
    green->setProgressEndColor(RGB(40, 150, 60));
    green->setPosition(70);
    green->move(130, 132);
    auto *quiet = new TGWProgressBar(page);
    quiet->setShowPercent(false);
    quiet->setPosition(60);
    quiet->move(250, 132);
    auto *wide = new TGWProgressBar(page);
    wide->setGeometry(370, 128, 300, 24);
    wide->setPosition(83);

    note(page, 10, 168, QStringLiteral("Vertical: 0, 25, 75; drag the slider to move the bars below"));
    const int vertical[] = {0, 25, 75};
    for (int i = 0; i < 3; ++i) {
        auto *bar = new TGWProgressBar(page);
        bar->setKind(sbVertical);
        bar->setGeometry(10 + i * 40, 188, 18, 120);
        bar->setPosition(static_cast<std::uint32_t>(vertical[i]));
    }
    auto *live = new TGWProgressBar(page);
    live->setGeometry(140, 188, 300, 18);
    auto *liveV = new TGWProgressBar(page);
    liveV->setKind(sbVertical);
    liveV->setGeometry(460, 188, 18, 120);
    auto *slider = new QSlider(Qt::Horizontal, page);
    slider->setRange(0, 100);
    slider->setGeometry(140, 220, 300, 20);
    QObject::connect(slider, &QSlider::valueChanged, page, [live, liveV](int v) {
        live->setPosition(static_cast<std::uint32_t>(v));
        liveV->setPosition(static_cast<std::uint32_t>(v));
    });
    slider->setValue(42);
    return page;
}

} // namespace gallery

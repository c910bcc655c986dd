// Panels and a column of collapsible sections.

#include "Gallery.h"

#include "widgets/Functions.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QLineEdit>

using namespace vomra;

namespace gallery {

namespace {

TGWPanel *makePanel(QWidget *page, int x, int y, const QString &caption)
{
    auto *panel = new TGWPanel(page);
    panel->setCaption(caption);
    panel->move(x, y);
    return panel;
}

TGWAutoPanelTitle *makeSection(QWidget *page, TGWImageList *images, int x, int y, const QString &caption,
                               int items)
{
    auto *title = new TGWAutoPanelTitle(page);
    title->setObjectName(caption);
    title->setCaption(caption);
    title->move(x, y);
    auto *body = new TGWAutoPanel(page);
    const int h = 8 + items * 26 + 6;
    body->resize(185, h);
    body->setSelfHeight(h);
    for (int i = 0; i < items; ++i) {
        auto *label = new TGWImageLabel(body);
        label->setImages(images);
        label->setImgUpIdx(0);
        label->setImgDownIdx(0);
        label->setImgEnterIdx(0);
        label->setImgDisableIdx(3);
        label->setTransparent(true);
        label->setCaption(QStringLiteral("菜单项 %1").arg(i + 1));
        TGWFont hot = label->MouseEnterFont();
        hot.color = clBlue;
        label->setMouseEnterFont(hot);
        label->setGeometry(10, 8 + i * 26, 160, 25);
    }
    title->setAutoPanel(body);
    return title;
}

} // namespace

QWidget *panelTab()
{
    QWidget *page = newPage();
    TGWImageList *images = demoImages(page);

    note(page, 10, 8, QStringLiteral("TGWPanel: raised, lowered, outer+inner with BorderWidth 3, single border, owner-painted"));
    makePanel(page, 10, 28, QStringLiteral("凸起 &R"));
    TGWPanel *lowered = makePanel(page, 205, 28, QStringLiteral("凹下 (left)"));
    lowered->setBevelOuter(bvLowered);
    lowered->setAlignment(taLeftJustify);
    TGWPanel *both = makePanel(page, 400, 28, QStringLiteral("双层 (right)"));
    both->setBevelInner(bvLowered);
    both->setBorderWidth(3);
    both->setAlignment(taRightJustify);
    both->resize(185, 50);
    TGWPanel *single = makePanel(page, 10, 86, QStringLiteral("单线边框"));
    single->setBorderStyle(bsSingle);
    single->setBevelOuter(bvNone);
    TGWPanel *owner = makePanel(page, 205, 86, QString());
    owner->setAutoDrawBackground(false);
    owner->OnDrawBackground = [](QWidget *, Canvas &canvas, const Rect &r) {
        FillGradientStops(canvas, r, {RGB(109, 207, 246), clWhite, RGB(255, 200, 120)}, true);
    };

    note(page, 10, 140, QStringLiteral("Sections: expanded, hot, collapsed, disabled (click a title to roll it)"));
    TGWAutoPanelTitle *first = makeSection(page, images, 10, 160, QStringLiteral("常用功能(&F)"), 3);
    TGWAutoPanelTitle *second = makeSection(page, images, 10, 0, QStringLiteral("热点标题"), 2);
    TGWAutoPanelTitle *third = makeSection(page, images, 10, 0, QStringLiteral("收起的部分"), 2);
    TGWAutoPanelTitle *fourth = makeSection(page, images, 10, 0, QStringLiteral("禁用的部分"), 1);
    // Each title must already lie below its predecessor before it is chained.
    for (auto [above, below] : {std::pair{first, second}, std::pair{second, third}, std::pair{third, fourth}}) {
        below->move(below->x(), above->y() + 25 + above->NextTitleSpace() + above->AutoPanel()->height());
        above->setNextTitle(below);
    }
    auto *edit = new QLineEdit(second->AutoPanel());
    edit->setGeometry(10, 60 - 26, 160, 20);
    edit->setText(QStringLiteral("first focusable child"));
    pretendHot(second);
    third->setExpanded(false);
    fourth->setEnabled(false);

    note(page, 250, 160, QStringLiteral("Titles: normal, hot, collapsed, disabled; shadowed caption"));
    const char *captions[] = {"标题", "热点", "收起", "禁用", "阴影"};
    for (int i = 0; i < 5; ++i) {
        auto *title = new TGWAutoPanelTitle(page);
        title->setCaption(QString::fromUtf8(captions[i]));
        title->move(250, 180 + i * 32);
        if (i == 1)
            pretendHot(title);
        if (i == 2)
            title->setExpanded(false);
        if (i == 3)
            title->setEnabled(false);
        if (i == 4) {
            title->setCaptionShadow(true);
            title->setCaptionShadowColor(RGB(170, 170, 190));
        }
    }
    return page;
}

} // namespace gallery

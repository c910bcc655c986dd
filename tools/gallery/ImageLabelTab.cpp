// Image labels in each state, alignment and background.

#include "Gallery.h"

#include "widgets/Canvas.h"
#include "widgets/Functions.h"
#include "widgets/ImageLabel.h"
#include "widgets/ImageList.h"

#include <QPainter>

using namespace vomra;

namespace gallery {

namespace {

// A strip painted with a gradient, to show transparent labels over it.
class GradientStrip : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        Canvas canvas(painter);
        FillGradient(canvas, {0, 0, width(), height()}, RGB(255, 255, 255), RGB(214, 223, 247), true);
    }
};

TGWImageLabel *makeLabel(QWidget *page, TGWImageList *images, int x, int y, const QString &caption)
{
    auto *label = new TGWImageLabel(page);
    label->setObjectName(caption);
    label->setImages(images);
    label->setImgUpIdx(0);
    label->setImgDownIdx(1);
    label->setImgEnterIdx(2);
    label->setImgDisableIdx(3);
    label->setCaption(caption);
    label->setColor(RGB(214, 223, 247));
    TGWFont hotFont = label->MouseEnterFont();
    hotFont.color = clBlue;
    hotFont.font.setUnderline(true);
    label->setMouseEnterFont(hotFont);
    label->setGeometry(x, y, 128, 25);
    return label;
}

} // namespace

QWidget *imageLabelTab()
{
    QWidget *page = newPage();
    TGWImageList *images = demoImages(page);

    note(page, 10, 8, QStringLiteral("States (20 px images, Spacing 2, height 25)"));
    const char *states[] = {"normal", "hot", "pressed + hot", "disabled"};
    for (int i = 0; i < 4; ++i) {
        TGWImageLabel *label = makeLabel(page, images, 10 + i * 140, 28, QStringLiteral("剪切(&T)"));
        note(page, 10 + i * 140, 56, QString::fromUtf8(states[i]));
        if (i == 1)
            pretendHot(label);
        if (i == 2) {
            pretendHot(label);
            pretendPressed(label);
        }
        if (i == 3)
            label->setEnabled(false);
    }

    note(page, 10, 84, QStringLiteral("Caption shadow; no images; index -1"));
    TGWImageLabel *shadow = makeLabel(page, images, 10, 104, QStringLiteral("阴影文字"));
    shadow->setCaptionShadow(true);
    shadow->setCaptionShadowColor(RGB(160, 160, 160));
    makeLabel(page, nullptr, 150, 104, QStringLiteral("没有图像"));
    TGWImageLabel *none = makeLabel(page, images, 290, 104, QStringLiteral("索引 -1"));
    none->setImgUpIdx(-1);

    note(page, 10, 140, QStringLiteral("Alignment: left, centre, right; two lines with ParagraphSpace 4"));
    const TGWAlignment aligns[] = {gwaLeftJustify, gwaCenter, gwaRightJustify};
    for (int i = 0; i < 3; ++i) {
        TGWImageLabel *label = makeLabel(page, nullptr, 10 + i * 140, 160, QStringLiteral("对齐 &A"));
        label->setAlignment(aligns[i]);
        label->setColor(clWhite);
    }
    TGWImageLabel *twoLines = makeLabel(page, images, 430, 160, QStringLiteral("第一行\r第二行"));
    twoLines->setParagraphSpace(4);
    twoLines->setGeometry(430, 160, 128, 48);

    note(page, 10, 216, QStringLiteral("Gradient background: horizontal, vertical"));
    TGWImageLabel *gh = makeLabel(page, images, 10, 236, QStringLiteral("水平渐变"));
    gh->setGradualColor(true);
    TGWImageLabel *gv = makeLabel(page, images, 150, 236, QStringLiteral("垂直渐变"));
    gv->setGradualColor(true);
    gv->setGradualHorizontal(false);
    gv->setGeometry(150, 236, 128, 40);

    note(page, 10, 284, QStringLiteral("Transparent over a gradient strip"));
    auto *strip = new GradientStrip(page);
    strip->setGeometry(10, 304, 400, 40);
    for (int i = 0; i < 2; ++i) {
        auto *label = new TGWImageLabel(strip);
        label->setImages(images);
        label->setImgUpIdx(0);
        label->setImgEnterIdx(2);
        label->setCaption(i == 0 ? QStringLiteral("透明标签") : QStringLiteral("不透明标签"));
        label->setTransparent(i == 0);
        label->setColor(RGB(255, 240, 200));
        label->setGeometry(10 + i * 190, 7, 150, 25);
    }
    return page;
}

} // namespace gallery

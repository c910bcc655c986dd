// Skinned push buttons, check boxes, radio buttons, spin buttons, the flat edit
// and combo box, and the drawn hint window.

#include "Gallery.h"

#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/Hint.h"
#include "widgets/ImageList.h"
#include "widgets/UpDown.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

using namespace vomra;

namespace gallery {

namespace {

TGWButton *makeButton(QWidget *page, int x, int y, TGWButtonStyle style, const QString &caption)
{
    auto *b = new TGWButton(page);
    b->setButtonStyle(style);
    b->setCaption(caption);
    b->setGeometry(x, y, 90, 23);
    return b;
}

template <typename T> T *makeChoice(QWidget *parent, int x, int y, const QString &caption, bool checked)
{
    auto *c = new T(parent);
    c->setCaption(caption);
    c->setColor(RGB(236, 233, 216));
    c->setGeometry(x, y, 110, 17);
    c->setChecked(checked);
    return c;
}

} // namespace

QWidget *buttonsTab()
{
    QWidget *page = newPage();
    TGWImageList *images = demoImages(page);

    note(page, 10, 8, QStringLiteral("TGWButton rows: XP, standard, flat. Columns: normal, hot, pressed, focused, disabled, image left"));
    const TGWButtonStyle styles[] = {gwbsWindowsXP, gwbsStandard, gwbsFlat};
    QWidget *focusMe = nullptr;
    for (int row = 0; row < 3; ++row) {
        const int y = 28 + row * 30;
        makeButton(page, 10, y, styles[row], QStringLiteral("打开(&O)"));
        pretendHot(makeButton(page, 110, y, styles[row], QStringLiteral("保存灰度")));
        TGWButton *pressed = makeButton(page, 210, y, styles[row], QStringLiteral("按下"));
        pretendHot(pressed);
        pretendPressed(pressed);
        TGWButton *focused = makeButton(page, 310, y, styles[row], QStringLiteral("焦点"));
        if (row == 0)
            focusMe = focused;
        makeButton(page, 410, y, styles[row], QStringLiteral("禁用"))->setEnabled(false);
        TGWButton *withImage = makeButton(page, 510, y, styles[row], QStringLiteral("图像"));
        withImage->setImages(images);
        withImage->setImgUpIdx(0);
        withImage->setImgDownIdx(1);
        withImage->setImgEnterIdx(2);
        withImage->setImgDisableIdx(3);
        withImage->setLayout(blGlyphLeft);
        withImage->setShadow(true);
        withImage->setToolTip(QStringLiteral("带图像和阴影的按钮"));
    }

    note(page, 10, 122, QStringLiteral("Check boxes and radio buttons: normal, hot, pressed, disabled; unchecked / checked"));
    const QString states[] = {QStringLiteral("普通"), QStringLiteral("鼠标经过"), QStringLiteral("按下"),
                              QStringLiteral("禁用")};
    auto *radios = new QWidget(page);
    radios->setGeometry(0, 182, 900, 40);
    for (int col = 0; col < 4; ++col) {
        for (int checked = 0; checked < 2; ++checked) {
            const int x = 10 + col * 120;
            auto *c = makeChoice<TGWCheckBox>(page, x, 142 + checked * 20, states[col], checked == 1);
            c->setToolTip(QStringLiteral("粗体"));
            auto *r = new QWidget(radios); // one group per radio so both states can show
            r->setGeometry(x, checked * 20, 115, 20);
            auto *rb = makeChoice<TGWRadioButton>(r, 0, 0, states[col], checked == 1);
            for (TGWButtonBase *b : {static_cast<TGWButtonBase *>(c), static_cast<TGWButtonBase *>(rb)}) {
                if (col == 1)
                    pretendHot(b);
                if (col == 2) {
                    pretendHot(b);
                    pretendPressed(b);
                }
                if (col == 3)
                    b->setEnabled(false);
            }
        }
    }
    note(page, 500, 142, QStringLiteral("A live radio group:"));
    for (int i = 0; i < 3; ++i)
        makeChoice<TGWRadioButton>(page, 500, 160 + i * 20, QStringLiteral("灰度 %1").arg(i + 1), i == 0);

    note(page, 10, 228, QStringLiteral("TGWUpDown: with an edit (thousands), normal, hot up, pressed down, disabled, horizontal"));
    auto *rowsEdit = new TGWFlatEdit(page);
    rowsEdit->setObjectName(QStringLiteral("penpnl1Edit1"));
    rowsEdit->setGeometry(10, 248, 80, 19);
    auto *rowsSpin = new TGWUpDown(page);
    rowsSpin->setObjectName(QStringLiteral("penpnl1UpDown1"));
    rowsSpin->setMax(30000);
    rowsSpin->setIncrement(250);
    rowsSpin->setPosition(1250);
    rowsSpin->setAssociate(rowsEdit);
    rowsSpin->setToolTip(QStringLiteral("行数"));
    for (int i = 0; i < 4; ++i) {
        auto *u = new TGWUpDown(page);
        u->setGeometry(120 + i * 30, 248, 17, 25);
        if (i == 1) {
            const QPointF p(8, 3);
            QMouseEvent move(QEvent::MouseMove, p, u->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(u, &move);
        } else if (i == 2) {
            // Held at the bottom of its range, so the repeat has nothing to do.
            const QPointF p(8, 20);
            QMouseEvent move(QEvent::MouseMove, p, u->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(u, &move);
            QMouseEvent press(QEvent::MouseButtonPress, p, u->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(u, &press);
        } else if (i == 3) {
            u->setEnabled(false);
        }
    }
    auto *across = new TGWUpDown(page);
    across->setOrientation(udHorizontal);
    across->setGeometry(250, 248, 34, 17);

    note(page, 10, 290, QStringLiteral("TGWFlatEdit, TGWFlatComboBox: drop-down, list, hot button, disabled, owner-drawn"));
    auto *edit = new TGWFlatEdit(page);
    edit->setText(QStringLiteral("艺术字"));
    edit->move(10, 310);
    auto *dropDown = new TGWFlatComboBox(page);
    dropDown->addItems({QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体")});
    dropDown->setGeometry(140, 310, 120, 21);
    auto *list = new TGWFlatComboBox(page);
    list->setStyle(csDropDownList);
    list->addItems({QStringLiteral("横排"), QStringLiteral("竖排")});
    list->setGeometry(270, 310, 120, 21);
    auto *hot = new TGWFlatComboBox(page);
    hot->setStyle(csDropDownList);
    hot->addItems({QStringLiteral("鼠标经过")});
    hot->setGeometry(400, 310, 120, 21);
    pretendHot(hot);
    auto *off = new TGWFlatComboBox(page);
    off->setStyle(csDropDownList);
    off->addItems({QStringLiteral("禁用")});
    off->setGeometry(530, 310, 120, 21);
    off->setEnabled(false);
    auto *owner = new TGWFlatComboBox(page);
    owner->setStyle(csOwnerDrawFixed);
    owner->setItemHeight(18);
    owner->addItems({QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体")});
    owner->OnDrawItem = [](TGWFlatComboBox *c, int index, Canvas &canvas, const Rect &r, int state) {
        canvas.fillRect(r);
        canvas.setBrushStyle(BrushStyle::Clear);
        QFont f = canvas.font();
        f.setBold(!(state & odComboBoxEdit));
        canvas.setFont(f);
        canvas.textOut(r.left + 4, r.top + 2, QStringLiteral("字 ") + c->itemText(index));
        canvas.setBrushStyle(BrushStyle::Solid);
    };
    owner->setGeometry(660, 310, 120, 21);

    note(page, 10, 350, QStringLiteral("Hint window (balloon style); every tooltip on this page shows one"));
    auto *hint = new TGWHint(page);
    hint->HintFont()->Font = QApplication::font();
    QTimer::singleShot(200, page, [page, focusMe] {
        // One focus only: the XP button shows its focus edge.
        if (focusMe)
            focusMe->setFocus();
        THint *win = HintController::instance()->window();
        const QString text = QStringLiteral("字体型号减小");
        QRect r = win->CalcHintRect(1000, text);
        r.moveTo(page->mapToGlobal(QPoint(40, 370)));
        win->ActivateHint(r, text);
    });
    return page;
}

} // namespace gallery

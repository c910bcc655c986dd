#include "widgets/FlatControls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vomra {

namespace {

// Where a press opens the list: the button and the pixel left of it.
constexpr int kDropStrip = TGWFlatComboBox::kButtonWidth + 1;

// Three-pixel border: the outer line in the border colour, two in the background.
void paintFlatFrame(Canvas &canvas, int w, int h, TColor border, TColor background)
{
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(border);
    canvas.frameRect({0, 0, w, h});
    canvas.setBrushColor(background);
    canvas.frameRect({1, 1, w - 1, h - 1});
    canvas.frameRect({2, 2, w - 2, h - 2});
}

void setColors(QWidget *w, TColor background, TColor text)
{
    QPalette pal = w->palette();
    for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button})
        pal.setColor(role, Canvas::qcolor(background));
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        pal.setColor(role, Canvas::qcolor(text));
    w->setPalette(pal);
}

// The list drops below the control instead of opening over its current item,
// and the drop button is the control's own strip at its right end: the base
// class then opens the list on a press there and keeps it open on the release.
class DropBelowStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget) const override
    {
        if (control == CC_ComboBox && sub == SC_ComboBoxArrow && option) {
            const QRect r = option->rect;
            const int w = std::min(kDropStrip, r.width());
            return QRect(r.right() + 1 - w, r.top(), w, r.height());
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

// ---------------------------------------------------------------- TGWFlatEdit

TGWFlatEdit::TGWFlatEdit(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(3, 3, 3, 3);
    resize(121, 19);
    setColors(this, m_color, clWindowText);
}

void TGWFlatEdit::setColorBorder(TColor value)
{
    m_colorBorder = value;
    update();
}

void TGWFlatEdit::setColor(TColor value)
{
    m_color = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Canvas::qcolor(value));
    pal.setColor(QPalette::Window, Canvas::qcolor(value));
    setPalette(pal);
    update();
}

void TGWFlatEdit::adjustHeight() { resize(width(), QFontMetrics(font()).height() + 6); }

void TGWFlatEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    Canvas canvas(painter);
    paintFlatFrame(canvas, width(), height(), m_colorBorder, m_color);
}

void TGWFlatEdit::enterEvent(QEnterEvent *event)
{
    QLineEdit::enterEvent(event);
    if (OnMouseEnter && QApplication::activeWindow())
        OnMouseEnter(this);
}

void TGWFlatEdit::leaveEvent(QEvent *event)
{
    QLineEdit::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TGWFlatEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (OnGotFocus)
        OnGotFocus(this);
}

void TGWFlatEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (OnLostFocus)
        OnLostFocus(this);
}

void TGWFlatEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustHeight();
    else if (event->type() == QEvent::EnabledChange)
        update();
}

void TGWFlatEdit::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        adjustHeight();
    }
}

// ---------------------------------------------------------------- list items

class FlatComboDelegate : public QStyledItemDelegate {
public:
    explicit FlatComboDelegate(TGWFlatComboBox *combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        Canvas canvas(*painter);
        canvas.setFont(m_combo->font());
        const Rect r = rectOf(option.rect);
        const bool selected = option.state & QStyle::State_Selected;
        if (m_combo->isOwnerDrawn() && m_combo->OnDrawItem) {
            canvas.setBrushColor(selected ? clHighlight : m_combo->Color());
            canvas.setFontColor(selected ? clHighlightText : m_combo->FontColor());
            m_combo->OnDrawItem(m_combo, index.row(), canvas, r, selected ? odSelected | odFocused : 0);
        } else {
            canvas.setBrushColor(selected ? clHighlight : m_combo->Color());
            canvas.fillRect(r);
            canvas.setFontColor(selected ? clHighlightText : m_combo->FontColor());
            canvas.setBrushStyle(BrushStyle::Clear);
            const QString text = index.data(Qt::DisplayRole).toString();
            canvas.textOut(r.left + 2, r.top + (r.height() - canvas.textHeight(text)) / 2, text);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        int height = QFontMetrics(m_combo->font()).height() + 2;
        if (m_combo->isOwnerDrawn()) {
            height = m_combo->ItemHeight();
            if (m_combo->Style() == csOwnerDrawVariable && m_combo->OnMeasureItem)
                m_combo->OnMeasureItem(m_combo, index.row(), height);
        }
        size.setHeight(height);
        return size;
    }

private:
    TGWFlatComboBox *m_combo;
};

// ---------------------------------------------------------------- TGWFlatComboBox

TGWFlatComboBox::TGWFlatComboBox(QWidget *parent) : QComboBox(parent)
{
    auto *dropBelow = new DropBelowStyle;
    dropBelow->setParent(this);
    QWidget::setStyle(dropBelow);
    setItemDelegate(new FlatComboDelegate(this));
    setStyle(csDropDown);
    resize(145, 21);
    applyColors();
    // Text changes and new selections redraw the text area.
    connect(this, &QComboBox::currentIndexChanged, this, qOverload<>(&QWidget::update));
}

void TGWFlatComboBox::setStyle(TComboBoxStyle value)
{
    m_style = value;
    const bool editable = value == csDropDown || value == csSimple;
    if (editable != isEditable())
        setEditable(editable);
    if (QLineEdit *edit = lineEdit()) {
        edit->setFrame(false);
        edit->installEventFilter(this);
        setColors(edit, m_color, m_fontColor);
    }
    placeEdit();
    update();
}

void TGWFlatComboBox::setColour(TColor &field, TColor value)
{
    field = value;
    update();
}

void TGWFlatComboBox::setColor(TColor value)
{
    m_color = value;
    applyColors();
    update();
}

void TGWFlatComboBox::setFontColor(TColor value)
{
    m_fontColor = value;
    applyColors();
    update();
}

void TGWFlatComboBox::setItemHeight(int value)
{
    if (value > 0)
        m_itemHeight = value;
}

void TGWFlatComboBox::applyColors()
{
    setColors(this, m_color, m_fontColor);
    if (QLineEdit *edit = lineEdit())
        setColors(edit, m_color, m_fontColor);
    // The drop-down list shows the control's colour as its background.
    setColors(view(), m_color, m_fontColor);
}

void TGWFlatComboBox::placeEdit()
{
    QLineEdit *edit = lineEdit();
    if (!edit)
        return;
    const QRect want(3, 3, width() - (kButtonWidth + 8), height() - 6);
    if (edit->geometry() != want)
        edit->setGeometry(want);
}

void TGWFlatComboBox::updateActive()
{
    const bool active = m_listOpen || hasFocus() || (lineEdit() && lineEdit()->hasFocus());
    if (active != m_active) {
        m_active = active;
        update();
    }
}

void TGWFlatComboBox::showPopup()
{
    m_listOpen = true;
    updateActive();
    update();
    QComboBox::showPopup();
}

void TGWFlatComboBox::hidePopup()
{
    QComboBox::hidePopup();
    m_listOpen = false;
    updateActive();
    // The arrow turns down again.
    update();
}

void TGWFlatComboBox::paintFrame(Canvas &canvas) { paintFlatFrame(canvas, width(), height(), m_colorBorder, m_color); }

void TGWFlatComboBox::paintButton(Canvas &canvas)
{
    const int W = width();
    const int H = height();
    const Rect button{W - 20, 3, W - 3, H - 3};
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setPenColor(m_color);
    canvas.line(button.left - 2, button.top, button.left - 2, button.bottom);
    TColor fill = m_colorButton;
    TColor outline = m_colorButtonBorder;
    if (!isEnabled()) {
        fill = outline = m_color;
    } else if (m_hover) {
        fill = m_colorButtonFocus;
        outline = m_colorButtonBorderFocus;
    }
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(fill);
    canvas.setPenColor(outline);
    canvas.rectangle(button);

    // A chevron two pixels thick, four pixels to each side of its tip.
    const int tip = button.left + 8;
    const int top = button.top + (button.height() - 4) / 2;
    for (int k = 0; k <= 4; ++k) {
        const int y = m_listOpen ? top + 4 - k : top + k;
        for (int t = 0; t < 2; ++t) {
            canvas.setPixel(tip - 4 + k, y + t, m_fontColor);
            canvas.setPixel(tip + 4 - k, y + t, m_fontColor);
        }
    }
}

void TGWFlatComboBox::paintTextArea(Canvas &canvas)
{
    const int right = hasDropButton() ? width() - 22 : width() - 3;
    const Rect area{3, 3, right, height() - 3};
    const bool highlighted = isListStyle() && hasFocus() && !m_listOpen;
    canvas.setFont(font());
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(highlighted ? clHighlight : m_color);
    canvas.fillRect(area);
    canvas.setFontColor(highlighted ? clHighlightText : m_fontColor);
    if (isOwnerDrawn() && OnDrawItem) {
        OnDrawItem(this, currentIndex(), canvas, area, odComboBoxEdit | (highlighted ? odSelected | odFocused : 0));
        return;
    }
    const QString text = currentText();
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(area.left + 2, area.top + (area.height() - canvas.textHeight(text)) / 2, text);
    canvas.setBrushStyle(BrushStyle::Solid);
}

void TGWFlatComboBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Canvas canvas(painter);
    canvas.setBrushColor(m_color);
    canvas.fillRect({0, 0, width(), height()});
    if (!isEditable())
        paintTextArea(canvas);
    paintFrame(canvas);
    if (hasDropButton())
        paintButton(canvas);
}

void TGWFlatComboBox::enterEvent(QEnterEvent *event)
{
    QComboBox::enterEvent(event);
    m_hover = true;
    update();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGWFlatComboBox::leaveEvent(QEvent *event)
{
    QComboBox::leaveEvent(event);
    m_hover = false;
    update();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TGWFlatComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    updateActive();
    update();
    // The list taking the keyboard for a while is not a change of focus.
    if (event->reason() != Qt::PopupFocusReason && OnGotFocus)
        OnGotFocus(this);
}

void TGWFlatComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    updateActive();
    update();
    if (event->reason() != Qt::PopupFocusReason && OnLostFocus)
        OnLostFocus(this);
}

void TGWFlatComboBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    placeEdit();
}

void TGWFlatComboBox::moveEvent(QMoveEvent *event)
{
    QComboBox::moveEvent(event);
    placeEdit();
}

void TGWFlatComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

bool TGWFlatComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            // The base class lays its edit out by the platform style; keep ours.
            placeEdit();
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            updateActive();
            break;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace vomra

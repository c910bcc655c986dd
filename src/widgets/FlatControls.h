#pragma once
// Flat text entry: an edit and a combo box with a thin coloured frame instead of
// the sunken border, and a drop button of the combo box's own drawing.

#include "widgets/Canvas.h"

#include <QComboBox>
#include <QLineEdit>
#include <functional>

namespace vomra {

using TFlatNotifyEvent = std::function<void(QObject *Sender)>;

class TGWFlatEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(uint ColorBorder READ ColorBorder WRITE setColorBorder)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
public:
    explicit TGWFlatEdit(QWidget *parent = nullptr);

    TColor ColorBorder() const { return m_colorBorder; }
    void setColorBorder(TColor value);
    // The background colour around and behind the text.
    TColor Color() const { return m_color; }
    void setColor(TColor value);

    TFlatNotifyEvent OnMouseEnter;
    TFlatNotifyEvent OnMouseLeave;
    TFlatNotifyEvent OnGotFocus;
    TFlatNotifyEvent OnLostFocus;

    // Font character height plus the frame above and below.
    void adjustHeight();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    TColor m_colorBorder = RGB(117, 147, 175);
    TColor m_color = clWindow;
    bool m_loaded = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

enum TOwnerDrawStateFlag { odSelected = 1, odFocused = 2, odDisabled = 4, odComboBoxEdit = 8 };

class TGWFlatComboBox;
// Paints one item: in the list, or in the text area (odComboBoxEdit).
using TDrawItemEvent =
    std::function<void(TGWFlatComboBox *Control, int Index, Canvas &ACanvas, const Rect &Rect, int State)>;
using TMeasureItemEvent = std::function<void(TGWFlatComboBox *Control, int Index, int &Height)>;

class TGWFlatComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(uint ColorBorder READ ColorBorder WRITE setColorBorder)
    Q_PROPERTY(uint ColorButton READ ColorButton WRITE setColorButton)
    Q_PROPERTY(uint ColorButtonBorder READ ColorButtonBorder WRITE setColorButtonBorder)
    Q_PROPERTY(uint ColorButtonFocus READ ColorButtonFocus WRITE setColorButtonFocus)
    Q_PROPERTY(uint ColorButtonBorderFocus READ ColorButtonBorderFocus WRITE setColorButtonBorderFocus)
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
public:
    explicit TGWFlatComboBox(QWidget *parent = nullptr);

    TComboBoxStyle Style() const { return m_style; }
    void setStyle(TComboBoxStyle value);

    // Every colour setter repaints at once.
    TColor ColorBorder() const { return m_colorBorder; }
    void setColorBorder(TColor value) { setColour(m_colorBorder, value); }
    TColor ColorButton() const { return m_colorButton; }
    void setColorButton(TColor value) { setColour(m_colorButton, value); }
    TColor ColorButtonBorder() const { return m_colorButtonBorder; }
    void setColorButtonBorder(TColor value) { setColour(m_colorButtonBorder, value); }
    TColor ColorButtonFocus() const { return m_colorButtonFocus; }
    void setColorButtonFocus(TColor value) { setColour(m_colorButtonFocus, value); }
    TColor ColorButtonBorderFocus() const { return m_colorButtonBorderFocus; }
    void setColorButtonBorderFocus(TColor value) { setColour(m_colorButtonBorderFocus, value); }
    TColor Color() const { return m_color; }
    void setColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void setFontColor(TColor value);

    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int value);

    bool Hover() const { return m_hover; }
    bool ListOpen() const { return m_listOpen; }
    bool Active() const { return m_active; }

    TFlatNotifyEvent OnMouseEnter;
    TFlatNotifyEvent OnMouseLeave;
    TFlatNotifyEvent OnGotFocus;
    TFlatNotifyEvent OnLostFocus;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void showPopup() override;
    void hidePopup() override;

    static constexpr int kButtonWidth = 18;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class FlatComboDelegate;
    bool hasDropButton() const { return m_style != csSimple; }
    bool isListStyle() const { return m_style == csDropDownList || m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }
    bool isOwnerDrawn() const { return m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }
    void setColour(TColor &field, TColor value);
    void placeEdit();
    void applyColors();
    void updateActive();
    void paintFrame(Canvas &canvas);
    void paintButton(Canvas &canvas);
    void paintTextArea(Canvas &canvas);

    TComboBoxStyle m_style = csDropDown;
    TColor m_colorBorder = RGB(77, 107, 135);
    TColor m_colorButton = RGB(230, 240, 250);
    TColor m_colorButtonBorder = RGB(144, 163, 206);
    TColor m_colorButtonFocus = RGB(210, 230, 230);
    TColor m_colorButtonBorderFocus = RGB(104, 123, 186);
    TColor m_color = clWindow;
    TColor m_fontColor = clWindowText;
    int m_itemHeight = 13;
    bool m_hover = false;
    bool m_listOpen = false;
    bool m_active = false;
};

} // namespace vomra

#pragma once
// The drawing board page: its option column, the grid in a scroll box, the text
// view at the same place, and the tool bar.

#include "base/TextLines.h"

#include <QObject>
#include <QString>

#include <array>

class QLabel;
class QPlainTextEdit;
class QScrollArea;

namespace vomra {

class TPageHost;
class TGWPanel;
class TGWImageLabel;
class TGWDrawText;
class TAlignmentHint;
class TGWRadioButton;
class TGWFlatComboBox;
class TGWFlatEdit;
class TGWUpDown;
struct TPageColours;

class TPenPage : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 126;
    static constexpr int kViewLeft = 129;
    static constexpr int kViewTop = 48;
    static constexpr int kMaxRows = 480;
    static constexpr int kMaxColumns = 640;

    explicit TPenPage(TPageHost &host);

    TGWPanel *penPanel1 = nullptr;
    TGWRadioButton *penpnl1RadioButton1 = nullptr; // text mode
    TGWRadioButton *penpnl1RadioButton2 = nullptr; // board mode
    QLabel *penpnl1Label1 = nullptr;
    TGWFlatComboBox *penpnl1ComboBox1 = nullptr;
    QLabel *penpnl1Label2 = nullptr;
    QLabel *penpnl1Label3 = nullptr;
    TGWFlatEdit *penpnl1Edit1 = nullptr;
    TGWUpDown *penpnl1UpDown1 = nullptr;
    QLabel *penpnl1Label4 = nullptr;
    TGWFlatEdit *penpnl1Edit2 = nullptr;
    TGWUpDown *penpnl1UpDown2 = nullptr;
    QLabel *penpnl1Label5 = nullptr;
    QLabel *penpnl1Label6 = nullptr;
    QScrollArea *penScrollBox1 = nullptr;
    TGWDrawText *penDrawText1 = nullptr;
    QPlainTextEdit *penRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 5> penImageLabels{}; // penImageLabel1 .. 5

    TGWImageLabel *penImageLabel(int n) const { return penImageLabels[static_cast<std::size_t>(n - 1)]; }

    // The mode on show: text mode while the text view replaces the grid.
    bool TextMode() const { return m_textMode; }

    // The position caption's characters: "行：", row, two carriage returns, "列：",
    // column; or "不在画板内". The label shows the two returns as one line break.
    const QString &PositionCaption() const { return m_positionCaption; }
    static QString positionCaption(int row, int column);

    void penImageLabelClick(QObject *Sender);
    void penpnl1ComboBox1Change();
    void penpnl1UpDown1Click(QObject *Sender);
    void penpnl1RadioButtonChecked(QObject *Sender);
    void penDrawText1MouseMove(QObject *Sender);
    void penDrawText1MouseLeave(QObject *Sender);
    void pnlPenResize();
    void ApplyPageColours(const TPageColours &pc);

    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z, in board mode; false when nothing was taken back.
    bool boardUndo();
    bool boardRedo();
    TAlignmentHint *boardHint() const { return m_boardHint; }

private:
    void buildColumn();
    // The board's options in the column: hidden in text mode.
    void setColumnFieldsVisible(bool visible);
    void applyTextMode();
    void applyBoardMode();
    // The grid cut back or padded to the spin buttons' rows and columns.
    void fitToSpinButtons();
    void syncSpinButtons();
    // The board's rows into the text view, without their trailing blanks.
    void setViewFromBoard();
    void setPositionCaption(const QString &caption);
    void clearAll();
    void copyToClipboard();
    void pasteFromClipboard();

    TPageHost &m_host;
    TAlignmentHint *m_boardHint = nullptr;
    bool m_textMode = false;
    QString m_positionCaption;
};

} // namespace vomra

#include "board/ui/PenPage.h"

#include "board/ui/DrawText.h"
#include "artwork/Artwork.h"
#include "pagekit/AlignmentHint.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "platform/GbkQt.h"
#include "pagekit/core/PageColours.h"
#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"
#include "widgets/UpDown.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QShortcut>

namespace vomra {

namespace {
const ToolDef kTools[5] = {
    {"清空文本", il3Clear}, {"字体型号减小", il3FontSmaller}, {"字体型号增大", il3FontLarger},
    {"复制", il3Copy},     {"粘贴", il3Paste},
};

const char kOffBoard[] = "不在画板内";

// Option column layout: captions at the left, their controls beside them.
constexpr int kLeft = 6;
constexpr int kFieldLeft = 50;
constexpr int kFieldWidth = 68;
constexpr int kFieldHeight = 20;

QLabel *makeLabel(QWidget *parent, const char *name, const char *caption, int left, int top)
{
    auto *label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}
} // namespace

TPenPage::TPenPage(TPageHost &host) : m_host(host)
{
    QWidget *page = host.pagePanel(pgPen);

    penPanel1 = makeColumnPanel(page, QStringLiteral("penPanel1"), kColumnWidth);

    penScrollBox1 = new QScrollArea(page);
    penScrollBox1->setObjectName(QStringLiteral("penScrollBox1"));
    penScrollBox1->setFrameShape(QFrame::NoFrame);
    penScrollBox1->setWidgetResizable(false);
    penScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    penScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    penScrollBox1->move(kViewLeft, kViewTop);

    penDrawText1 = new TGWDrawText;
    penDrawText1->setObjectName(QStringLiteral("penDrawText1"));
    penDrawText1->setFont(host.windowFont());
    penDrawText1->setGridlinesColor(RGB(220, 220, 220));
    penDrawText1->setTextWidth(60);
    penDrawText1->setTextHeight(6);
    penDrawText1->setPenText("*");
    penScrollBox1->setWidget(penDrawText1);
    penDrawText1->OnMouseMove = [this](QObject *sender, Qt::KeyboardModifiers, int, int) {
        penDrawText1MouseMove(sender);
    };
    penDrawText1->OnMouseLeave = [this](QObject *sender) { penDrawText1MouseLeave(sender); };
    // The board's rows are checked when a stroke ends and after every other change.
    m_boardHint = new TAlignmentHint(penDrawText1, [this] {
        QString rows;
        for (const std::string &row : penDrawText1->TextList())
            rows += gbk::toQString(row) + QLatin1Char('\n');
        return rows;
    });
    penDrawText1->OnMouseUp = [this](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        m_boardHint->check();
    };

    penRichEdit1 = makeTextView(page, QStringLiteral("penRichEdit1"));
    penRichEdit1->setFont(host.windowFont());
    penRichEdit1->move(kViewLeft, kViewTop);
    TAlignmentHint::watch(penRichEdit1);
    penRichEdit1->hide(); // the board is shown at start

    makeToolBar(page, QStringLiteral("penImageLabel"), kTools, host.imageList(3), kViewLeft + 2, 12,
                [this](QObject *sender) { penImageLabelClick(sender); }, penImageLabels);
    // The paste label is usable only while the clipboard holds text.
    penImageLabel(5)->OnMouseEnter = [this](QObject *) { penImageLabel(5)->setEnabled(clipboardHasText()); };

    buildColumn();

    // Undo keys act on the board while it is shown; the text view keeps its own.
    const QKeySequence undoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    const QKeySequence redoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence &key : undoKeys) {
        auto *shortcut = new QShortcut(key, page, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { boardUndo(); });
    }
    for (const QKeySequence &key : redoKeys) {
        auto *shortcut = new QShortcut(key, page, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { boardRedo(); });
    }
}

bool TPenPage::boardUndo()
{
    if (m_textMode)
        return false;
    if (!penDrawText1->Undo())
        return false;
    syncSpinButtons();
    m_boardHint->check();
    return true;
}

bool TPenPage::boardRedo()
{
    if (m_textMode)
        return false;
    if (!penDrawText1->Redo())
        return false;
    syncSpinButtons();
    m_boardHint->check();
    return true;
}

void TPenPage::syncSpinButtons()
{
    // A size change taken back shows in the spin buttons, which hold the board's size.
    penpnl1UpDown1->setPosition(penDrawText1->TextHeight());
    penpnl1UpDown2->setPosition(penDrawText1->TextWidth());
}

void TPenPage::buildColumn()
{
    QWidget *col = penPanel1;
    // Crisp glyphs, as the grid and the other pages' columns draw them.
    QFont crisp = col->font();
    crisp.setStyleStrategy(QFont::NoAntialias);
    col->setFont(crisp);

    auto makeRadio = [col](const char *name, const char *caption, int top) {
        auto *radio = new TGWRadioButton(col);
        radio->setObjectName(QString::fromLatin1(name));
        radio->setCaption(QString::fromUtf8(caption));
        radio->setGeometry(kLeft, top, 100, 20);
        return radio;
    };
    penpnl1RadioButton1 = makeRadio("penpnl1RadioButton1", "文本模式", 14);
    penpnl1RadioButton2 = makeRadio("penpnl1RadioButton2", "画板模式", 38);
    penpnl1RadioButton2->setChecked(true);
    for (TGWRadioButton *radio : {penpnl1RadioButton1, penpnl1RadioButton2})
        radio->OnChecked = [this](QObject *sender) { penpnl1RadioButtonChecked(sender); };

    penpnl1Label1 = makeLabel(col, "penpnl1Label1", "左键：", kLeft, 78);
    penpnl1ComboBox1 = new TGWFlatComboBox(col);
    penpnl1ComboBox1->setObjectName(QStringLiteral("penpnl1ComboBox1"));
    penpnl1ComboBox1->setGeometry(kFieldLeft, 74, kFieldWidth, kFieldHeight);
    for (const char *pen : kSymbolChoices)
        penpnl1ComboBox1->addItem(QString::fromUtf8(pen));
    penpnl1ComboBox1->setMaxVisibleItems(16);
    penpnl1ComboBox1->setCurrentIndex(-1);
    penpnl1ComboBox1->setEditText(QStringLiteral("*"));
    connect(penpnl1ComboBox1, &QComboBox::editTextChanged, this, &TPenPage::penpnl1ComboBox1Change);

    penpnl1Label2 = makeLabel(col, "penpnl1Label2", "右键：清除", kLeft, 106);

    auto makeSize = [this, col](const char *editName, const char *upDownName, int top, int max, int position,
                                TGWFlatEdit *&edit, TGWUpDown *&upDown) {
        edit = new TGWFlatEdit(col);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setReadOnly(true);
        edit->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
        upDown = new TGWUpDown(col);
        upDown->setObjectName(QString::fromLatin1(upDownName));
        upDown->resize(16, kFieldHeight);
        upDown->setMin(1);
        upDown->setMax(max);
        upDown->setWrap(false);
        upDown->setAssociate(edit);
        upDown->setPosition(position);
        upDown->OnClick = [this](QObject *sender, TUDBtnType) { penpnl1UpDown1Click(sender); };
    };
    penpnl1Label3 = makeLabel(col, "penpnl1Label3", "行数：", kLeft, 138);
    makeSize("penpnl1Edit1", "penpnl1UpDown1", 134, kMaxRows, 6, penpnl1Edit1, penpnl1UpDown1);
    penpnl1Label4 = makeLabel(col, "penpnl1Label4", "列数：", kLeft, 166);
    makeSize("penpnl1Edit2", "penpnl1UpDown2", 162, kMaxColumns, 60, penpnl1Edit2, penpnl1UpDown2);

    penpnl1Label5 = makeLabel(col, "penpnl1Label5", "当前坐标：", kLeft, 200);
    penpnl1Label6 = makeLabel(col, "penpnl1Label6", kOffBoard, kLeft + 12, 222);
    penpnl1Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    penpnl1Label6->resize(kColumnWidth - kLeft - 12, 40);
    m_positionCaption = QString::fromUtf8(kOffBoard);
}

void TPenPage::pnlPenResize()
{
    QWidget *page = m_host.pagePanel(pgPen);
    penPanel1->resize(penPanel1->width(), page->height());
    for (QWidget *view : {static_cast<QWidget *>(penScrollBox1), static_cast<QWidget *>(penRichEdit1)})
        view->resize(page->width() - view->x() - 1, page->height() - view->y() - 1);
}

void TPenPage::setViewFromBoard()
{
    Lines rows = penDrawText1->TextList();
    trimTrailingBlanks(rows);
    setViewLines(*penRichEdit1, rows);
}

void TPenPage::fitToSpinButtons()
{
    penDrawText1->beginStep();
    penDrawText1->setTextHeight(penpnl1UpDown1->Position());
    penDrawText1->setTextWidth(penpnl1UpDown2->Position());
    penDrawText1->endStep();
}

QString TPenPage::positionCaption(int row, int column)
{
    return QStringLiteral("行：%1\r\r列：%2").arg(row).arg(column);
}

void TPenPage::setPositionCaption(const QString &caption)
{
    m_positionCaption = caption;
    // A label breaks a line at a line feed only; the pair of returns is one break.
    QString shown = caption;
    shown.replace(QStringLiteral("\r\r"), QStringLiteral("\n"));
    penpnl1Label6->setText(shown);
}

void TPenPage::penDrawText1MouseMove(QObject *)
{
    setPositionCaption(positionCaption(penDrawText1->PosY(), penDrawText1->PosX()));
}

void TPenPage::penDrawText1MouseLeave(QObject *) { setPositionCaption(QString::fromUtf8(kOffBoard)); }

void TPenPage::penpnl1ComboBox1Change() { penDrawText1->setPenText(gbk::fromQString(penpnl1ComboBox1->currentText())); }

void TPenPage::penpnl1UpDown1Click(QObject *)
{
    fitToSpinButtons();
    m_boardHint->check();
}

void TPenPage::penpnl1RadioButtonChecked(QObject *)
{
    const bool text = penpnl1RadioButton1->Checked();
    // A click on the mode already shown would reload the grid from the text view
    // and lose the strokes made since the last switch, copy or paste.
    if (text == m_textMode)
        return;
    m_textMode = text;
    if (text)
        applyTextMode();
    else
        applyBoardMode();
}

void TPenPage::setColumnFieldsVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             penpnl1Label1, penpnl1Label2, penpnl1Label3, penpnl1Label4, penpnl1Label5, penpnl1Label6,
             penpnl1ComboBox1, penpnl1Edit1, penpnl1Edit2, penpnl1UpDown1, penpnl1UpDown2})
        w->setVisible(visible);
}

void TPenPage::applyTextMode()
{
    setColumnFieldsVisible(false);
    setViewFromBoard();
    penRichEdit1->show();
    penScrollBox1->hide();
}

void TPenPage::applyBoardMode()
{
    setColumnFieldsVisible(true);
    bool lossy = false;
    penDrawText1->beginStep();
    penDrawText1->setTextList(viewLines(*penRichEdit1, &lossy));
    fitToSpinButtons();
    penDrawText1->endStep();
    penScrollBox1->show();
    penRichEdit1->hide();
    m_boardHint->check();
    if (lossy)
        dialogs::tellLossy(m_host.hostWindow());
}

void TPenPage::penImageLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    switch (label->Tag()) {
    case 1:
        clearAll();
        break;
    case 2:
        m_host.FontSizeStep(-1);
        break;
    case 3:
        m_host.FontSizeStep(+1);
        break;
    case 4:
        copyToClipboard();
        break;
    case 5:
        pasteFromClipboard();
        break;
    default:
        break;
    }
}

void TPenPage::clearAll()
{
    penDrawText1->Clear();
    penRichEdit1->clear();
    m_boardHint->check();
}

void TPenPage::copyToClipboard()
{
    // The board is copied whole, at full width; the text view's selection is dropped.
    if (!m_textMode)
        setViewLines(*penRichEdit1, penDrawText1->TextList());
    if (penRichEdit1->textCursor().hasSelection()) {
        penRichEdit1->copy();
        return;
    }
    penRichEdit1->selectAll();
    penRichEdit1->copy();
    QTextCursor cursor = penRichEdit1->textCursor();
    cursor.setPosition(cursor.selectionStart());
    penRichEdit1->setTextCursor(cursor);
}

void TPenPage::pasteFromClipboard()
{
    // Pasted at the text view's caret, in either mode; the board then takes the
    // text at its chosen size and the view gets the board's rows back.
    penRichEdit1->paste();
    bool lossy = false;
    penDrawText1->beginStep();
    penDrawText1->setTextList(viewLines(*penRichEdit1, &lossy));
    fitToSpinButtons();
    penDrawText1->endStep();
    setViewFromBoard();
    m_boardHint->check();
    // The board holds GBK only: what it could not take is now "?", and the
    // view shows the board again, so this is said once.
    if (lossy)
        dialogs::tellLossy(m_host.hostWindow());
}

void TPenPage::ApplyPageColours(const TPageColours &pc)
{
    penPanel1->setColor(pc.RightColor);
    penPanel1->setFontColor(pc.LeftFontColor);
    // The column's captions take the column's colours.
    for (QLabel *label : {penpnl1Label1, penpnl1Label2, penpnl1Label3, penpnl1Label4, penpnl1Label5, penpnl1Label6})
        setPaletteColour(label, QPalette::WindowText, pc.LeftFontColor);
    for (TGWRadioButton *radio : {penpnl1RadioButton1, penpnl1RadioButton2}) {
        radio->setColor(pc.RightColor);
        radio->setFontColor(pc.LeftFontColor);
        radio->setMouseEnterColor(pc.LeftFontEnterColor);
    }
    penpnl1ComboBox1->setColorBorder(pc.PanelLeftColor);
    penpnl1ComboBox1->setColorButton(pc.PanelRightColor);
    penpnl1ComboBox1->setColorButtonFocus(pc.PanelLeftColor);
    penpnl1ComboBox1->setColorButtonBorder(pc.PanelLeftColor);
    penpnl1ComboBox1->setColorButtonBorderFocus(pc.LeftFontEnterColor);
    penpnl1Edit1->setColorBorder(pc.PanelLeftColor);
    penpnl1Edit2->setColorBorder(pc.PanelLeftColor);
    for (TGWUpDown *upDown : {penpnl1UpDown1, penpnl1UpDown2}) {
        upDown->setColor(pc.RightColor);
        upDown->setEnterColor(pc.RightColor);
        upDown->setDownColor(pc.RightColor);
        upDown->setFrameColor(pc.PanelLeftColor);
        upDown->setFrameDownColor(pc.PanelLeftColor);
        upDown->setFrameEnterColor(pc.PanelLeftColor);
        upDown->setArrowColor(pc.LeftFontColor);
        upDown->setArrowEnterColor(pc.LeftFontEnterColor);
        upDown->setArrowDownColor(pc.LeftFontEnterColor);
    }
}

} // namespace vomra

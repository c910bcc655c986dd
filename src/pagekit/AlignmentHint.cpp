#include "pagekit/AlignmentHint.h"

#include "base/CellWidth.h"
#include "widgets/Hint.h"

#include <QPlainTextEdit>
#include <QTextEdit>

namespace vomra {

TAlignmentHint::TAlignmentHint(QWidget *view, std::function<QString()> text)
    : QObject(view), m_view(view), m_text(std::move(text))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(300);
    connect(&m_pause, &QTimer::timeout, this, &TAlignmentHint::check);
}

TAlignmentHint *TAlignmentHint::watch(QPlainTextEdit *view)
{
    auto *hint = new TAlignmentHint(view, [view] { return view->toPlainText(); });
    connect(view, &QPlainTextEdit::textChanged, hint, &TAlignmentHint::checkSoon);
    return hint;
}

TAlignmentHint *TAlignmentHint::watch(QTextEdit *view)
{
    auto *hint = new TAlignmentHint(view, [view] { return view->toPlainText(); });
    connect(view, &QTextEdit::textChanged, hint, &TAlignmentHint::checkSoon);
    return hint;
}

QString TAlignmentHint::messageFor(const QString &text)
{
    const std::u32string code = text.toStdU32String();
    const cells::Mix mix = cells::ambiguousMix(code);
    if (!mix.mixed)
        return {};
    QString found, standIns;
    for (char32_t c : mix.ambiguous) {
        found += QString::fromStdU32String(std::u32string(1, c));
        const std::u32string standIn = cells::fullWidthFor(c);
        if (!standIn.empty())
            standIns += QString::fromStdU32String(standIn);
    }
    QString message = QStringLiteral("“%1”在西文字体中只占半个字宽，与全角字符排在一起会错位。").arg(found);
    if (!standIns.isEmpty())
        message += QStringLiteral("可换成处处对齐的“%1”。").arg(standIns);
    return message;
}

void TAlignmentHint::check()
{
    m_pause.stop();
    const QString message = messageFor(m_text());
    if (message == m_message)
        return;
    m_message = message;
    // The hint stays with the view for the mouse; it pops up once per new set of characters.
    m_view->setToolTip(message);
    if (!message.isEmpty() && m_view->isVisible() && TGWHint::activeHint())
        HintController::instance()->showText(nullptr, m_view->mapToGlobal(QPoint(8, 0)), message);
}

} // namespace vomra

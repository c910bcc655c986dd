#include "pagekit/AlignmentHint.h"

#include "base/CellWidth.h"
#include "widgets/Hint.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace vomra {

TAlignmentHint::TAlignmentHint(QWidget *view, std::function<QString()> text)
    : QObject(view), m_view(view), m_text(std::move(text))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(300);
    connect(&m_pause, &QTimer::timeout, this, &TAlignmentHint::check);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, &TAlignmentHint::step);
}

TAlignmentHint *TAlignmentHint::watch(QPlainTextEdit *view)
{
    auto *hint = new TAlignmentHint(view, [view] { return view->toPlainText(); });
    hint->m_document = [view] { return view->document(); };
    connect(view, &QPlainTextEdit::textChanged, hint, &TAlignmentHint::checkSoon);
    return hint;
}

namespace {

QString messageOf(const cells::Mix &mix)
{
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

} // namespace

QString TAlignmentHint::messageFor(const QString &text)
{
    return messageOf(cells::ambiguousMix(text.toStdU32String()));
}

void TAlignmentHint::check()
{
    m_pause.stop();
    m_step.stop();
    QTextDocument *doc = m_document ? m_document() : nullptr;
    if (!doc || doc->characterCount() <= kStepChars) {
        show(messageFor(m_text()));
        return;
    }
    m_scanned = doc;
    m_next = doc->firstBlock();
    m_wide = false;
    m_ambiguous.clear();
    m_step.start();
}

void TAlignmentHint::step()
{
    QTextDocument *doc = m_document ? m_document() : nullptr;
    if (doc != m_scanned) { // the view shows another document now
        check();
        return;
    }
    // Edits restart the check (checkSoon), so the blocks stay valid meanwhile.
    int chars = 0;
    for (; m_next.isValid() && chars < kStepChars; m_next = m_next.next()) {
        const QString text = m_next.text();
        chars += static_cast<int>(text.size()) + 1;
        for (char32_t c : text.toStdU32String()) {
            const cells::Kind kind = cells::kindOf(c);
            if (kind == cells::Kind::Wide)
                m_wide = true;
            else if (kind == cells::Kind::Ambiguous && m_ambiguous.find(c) == std::u32string::npos)
                m_ambiguous.push_back(c);
        }
    }
    if (m_next.isValid())
        return;
    m_step.stop();
    cells::Mix mix;
    mix.mixed = m_wide && !m_ambiguous.empty();
    if (mix.mixed)
        mix.ambiguous = m_ambiguous;
    show(messageOf(mix));
}

void TAlignmentHint::show(const QString &message)
{
    if (message == m_message)
        return;
    m_message = message;
    // The hint stays with the view for the mouse; it pops up once per new set of characters.
    m_view->setToolTip(message);
    if (!message.isEmpty() && m_view->isVisible() && TGWHint::activeHint())
        HintController::instance()->showText(nullptr, m_view->mapToGlobal(QPoint(8, 0)), message);
}

} // namespace vomra

#include "support/QtGlyphReference.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vomra::test {

namespace {

// Glyphs per drawing call. Above the glyph cache's size (64 pixels) the raster
// engine fills the outlines of one call as one path, at a cost that grows with
// the square of the glyphs in it; a few at a time keep a long word linear.
constexpr qsizetype kGlyphsPerCall = 8;

// Whether a text layout places text's glyphs where drawText does: it gives line
// ends and other control characters an advance of their own.
bool layoutMatchesDrawText(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x85 || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator;
    });
}

// Draws text with its baseline at y, as one drawText call would: the glyphs and
// their positions come from laying out the whole text once, only the drawing is
// cut into pieces. A word with control characters (never typed into the page's
// one-line edit) is drawn in one call.
void drawTextInPieces(QPainter &painter, const QFont &font, const QString &text, int baseline)
{
    if (!layoutMatchesDrawText(text)) {
        painter.drawText(QPoint(0, baseline), text);
        return;
    }
    QTextLayout layout(text, font, painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    const QPointF origin(0, baseline - line.ascent());
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); i += kGlyphsPerCall) {
            QGlyphRun piece(run);
            piece.setGlyphIndexes(glyphs.mid(i, kGlyphsPerCall));
            piece.setPositions(positions.mid(i, kGlyphsPerCall));
            painter.drawGlyphRun(origin, piece);
        }
    }
}

} // namespace

QtGlyphReference::QtGlyphReference(const GlyphFont &font)
    : m_asked(font)
    , m_font(font.family)
{
    m_font.setPixelSize(std::max(pixelSize(font.pointSize), 1));
    // Unsmoothed, fully hinted glyphs at a strike's exact pixel size make FreeType
    // hand out the font's embedded bitmaps; elsewhere the outline is drawn in one bit.
    m_font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferBitmap));
    m_font.setHintingPreference(QFont::PreferFullHinting);
    // Plain advances, character after character, as the classic text-out draws.
    m_font.setKerning(false);
    m_font.setBold(font.bold);
    m_font.setItalic(font.italic);
}

int QtGlyphReference::pixelSize(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

int QtGlyphReference::textWidth(const QString &text) const { return QFontMetrics(m_font).horizontalAdvance(text); }

int QtGlyphReference::textHeight() const
{
    const QFontMetrics fm(m_font);
    return fm.ascent() + fm.descent();
}

QImage QtGlyphReference::render(const QString &word) const
{
    const QFontMetrics fm(m_font);
    const int width = fm.horizontalAdvance(word);
    const int height = fm.ascent() + fm.descent();
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    // A word too wide to hold in memory gives a null image; its rows must not be touched.
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        drawTextInPieces(painter, m_font, word, fm.ascent());
        if (m_asked.underline) {
            // Small fonts put the underline below the descent; it is kept on the last rows.
            const int thickness = std::clamp(fm.lineWidth(), 1, height);
            const int top = std::clamp(fm.ascent() + fm.underlinePos(), 0, height - thickness);
            painter.fillRect(0, top, width, thickness, Qt::black);
        }
    }
    // Bold and italic may be synthesized from outlines; whatever the engine gave,
    // leave only pure black and pure white.
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return image;
}

InkGrid QtGlyphReference::inkGrid(const QString &word) const
{
    const QImage image = render(word);
    return image.isNull() ? InkGrid(0, textHeight()) : inkGridOf(image);
}

QString QtGlyphReference::resolvedFamily() const { return QFontInfo(m_font).family(); }

bool QtGlyphReference::familyInstalled() const
{
    if (QFontDatabase::hasFamily(m_asked.family))
        return true;
    const QStringList subs = QFont::substitutes(m_asked.family);
    return std::any_of(subs.begin(), subs.end(), [](const QString &s) { return QFontDatabase::hasFamily(s); });
}

InkGrid inkGridOf(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    InkGrid grid(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            grid.setInk(x, y, (line[x] & 0x00FFFFFF) == 0);
    }
    return grid;
}

} // namespace vomra::test

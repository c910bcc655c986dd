#pragma once
// The reference the glyph drawer is checked against: a word drawn through Qt's
// own text engine the way the art font maker needs it, black on a white bitmap of
// exactly the text extent, every pixel pure black or pure white. Sizes are points
// at 96 dpi whatever the screen says, so a "宋体" 9 pt word is drawn with the
// font's 12-pixel bitmap strike. Needs a QGuiApplication.

#include "base/InkGrid.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace vomra::test {

struct GlyphFont {
    QString family;
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class QtGlyphReference
{
public:
    explicit QtGlyphReference(const GlyphFont &font);

    // round(pt * 96 / 72), as the classic desktop converts a point size.
    static int pixelSize(int points);

    // Advance of the text, in pixels.
    int textWidth(const QString &text) const;
    // Ascent plus descent of the font, whatever the text.
    int textHeight() const;

    // textWidth(word) by textHeight(), RGB32, white with the word in pure black.
    // Null for a word of no width.
    QImage render(const QString &word) const;

    // The ink of render(word); a word of no width gives no columns but still the
    // font's rows.
    InkGrid inkGrid(const QString &word) const;

    // The font as drawn (underline is drawn by hand, so it is off here).
    const QFont &font() const { return m_font; }
    // The family the font engine actually chose.
    QString resolvedFamily() const;
    // Whether the asked family, or a substitute of it, is installed.
    bool familyInstalled() const;

private:
    GlyphFont m_asked; // as asked for; m_font is what the engine draws with
    QFont m_font;
};

// Exactly black pixels of image are ink, anything else (a gray edge too) background.
InkGrid inkGridOf(const QImage &image);

} // namespace vomra::test

#include "renderer.h"

#include "aliases.h"
#include "cp932.h"
#include "glyphs.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int TabColumns = 8;
constexpr char16_t IdeographicSpace = u'\u3000';

// The preview face with the measures the grid layout needs, resolved once.
struct Typeface
{
    QFont font;
    QRawFont raw;
    int colWidth;
    int ascent;
};

const Typeface &PreviewTypeface()
{
    static const Typeface face = [] {
        const QFont font = PreviewFont();
        const QFontMetrics metrics(font);
        return Typeface{font, QRawFont::fromFont(font), metrics.horizontalAdvance(u' '), metrics.ascent()};
    }();
    return face;
}

// Width of a line in half-width cells as the measuring step sees it: tabs
// advance to the next multiple of eight cells.
int ExpandedColumns(QStringView line)
{
    int columns = 0;
    for (const QChar c : line)
        columns = c == u'\t' ? (columns / TabColumns + 1) * TabColumns : columns + Cp932Columns(c);
    return columns;
}

// Characters that leave no ink; they still take their columns.
bool LeavesNoInk(QChar c)
{
    return c.unicode() <= u' ' || c.unicode() == u'\x7f' || c.unicode() == IdeographicSpace;
}

// Draws a line with every character at its code page 932 column, so that
// pictures copied by column always cover their token's cells, whatever the
// face's own advances are. Characters the preview face has are placed as one
// glyph run; the rare others go through QPainter's font fallback one by one.
void DrawLineOnGrid(QPainter &painter, const Typeface &face, QStringView line, int y)
{
    const int baseline = y + face.ascent;
    QList<QChar> chars;
    QList<QPointF> positions;
    chars.reserve(line.size());
    positions.reserve(line.size());

    int col = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const QPointF origin(col * face.colWidth, baseline);
        col += Cp932Columns(c);
        if (LeavesNoInk(c))
            continue;
        if (c.isHighSurrogate()) { // always paired, see WithoutUnpairedSurrogates
            painter.drawText(origin, line.sliced(i, 2).toString());
            col += Cp932Columns(line[++i]);
        } else {
            chars.append(c);
            positions.append(origin);
        }
    }
    if (chars.isEmpty())
        return;

    QList<quint32> glyphs(chars.size());
    int glyphCount = int(glyphs.size());
    face.raw.glyphIndexesForChars(chars.constData(), int(chars.size()), glyphs.data(), &glyphCount);

    // A glyph index of 0 means the face lacks the character.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (glyphs[i] == 0) {
            painter.drawText(positions[i], QString(chars[i]));
        } else {
            glyphs[kept] = glyphs[i];
            positions[kept] = positions[i];
            ++kept;
        }
    }
    glyphs.resize(kept);
    positions.resize(kept);

    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

// An unpaired surrogate is no character: it is drawn as U+FFFD, as the file
// decoder reads one, and takes that character's column. (Counted per code
// unit, a lone low surrogate would take none, and a line of them no room.)
QString WithoutUnpairedSurrogates(const QString &text)
{
    QString result = text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            result[i] = QChar::ReplacementCharacter;
    }
    return result;
}

// One token pass over the working copy of a line: every lead character is
// either the start of a token whose picture is drawn (both characters become
// one ideographic space) or is replaced by a space. Both replacements keep
// the code page 932 width, so the running column stays that of the drawn text.
template <typename DrawGlyph>
QString TokenPass(const QString &line, QChar lead, int y, int colWidth, DrawGlyph drawGlyph)
{
    if (!line.contains(lead))
        return line;
    QString result;
    result.reserve(line.size());
    int col = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c != lead) {
            result.append(c);
            col += Cp932Columns(c);
            continue;
        }
        const QStringView token = QStringView(line).sliced(i, std::min<qsizetype>(2, line.size() - i));
        if (token.size() == 2 && drawGlyph(QRect(col * colWidth, y, GlyphSize, GlyphSize), token)) {
            result.append(QChar(IdeographicSpace));
            col += Cp932Columns(token);
            ++i;
        } else {
            result.append(u' ');
            col += 1;
        }
    }
    return result;
}

// The Japanese faces preferred for the preview have half-width cells of half
// an em, so a glyph cell's size is right for them; for any other face look
// for the size whose half-width cell is half a glyph cell.
int PixelSizeForHalfCell(QFont font)
{
    for (int offset = 0; offset <= GlyphSize / 2; ++offset) {
        for (const int size : {GlyphSize + offset, GlyphSize - offset}) {
            font.setPixelSize(size);
            if (QFontMetrics(font).horizontalAdvance(u' ') == GlyphSize / 2)
                return size;
        }
    }
    return GlyphSize;
}

} // namespace

QStringList SplitText(QStringView delimiter, QStringView text)
{
    QStringList parts;
    while (!text.isEmpty()) {
        const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter);
        if (at < 0) {
            parts.append(text.toString());
            break;
        }
        parts.append(text.first(at).toString());
        text = text.sliced(at + delimiter.size());
    }
    return parts;
}

QFont PreviewFont()
{
    static const QFont font = [] {
        const QStringList installed = QFontDatabase::families();
        const QString preferred[] = {u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"VL Gothic"_s};
        const auto found = std::find_if(std::begin(preferred), std::end(preferred),
                                        [&](const QString &family) { return installed.contains(family); });
        QFont f = found != std::end(preferred) ? QFont(*found)
                                               : QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setStyleHint(QFont::Monospace);
        f.setKerning(false);
        f.setHintingPreference(QFont::PreferFullHinting);
        f.setPixelSize(PixelSizeForHalfCell(f));
        return f;
    }();
    return font;
}

int PreviewColumnWidth()
{
    return PreviewTypeface().colWidth;
}

void RenderCommand(QImage &target, const QString &text, bool mirrored, const QImage &sheet)
{
    const QString expanded = ExpandAliases(WithoutUnpairedSurrogates(text));
    const QStringList lines = SplitText(u"\r\n", expanded);
    const Typeface &face = PreviewTypeface();

    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, ExpandedColumns(line));
    // Null when there is nothing to draw or Qt cannot allocate the size.
    target = QImage(widest * face.colWidth, LinePitch * int(lines.size()), QImage::Format_RGB32);
    if (target.isNull())
        return;
    target.fill(PreviewBackground);

    // Cells are copied opaquely; matching the target's format keeps that a plain copy.
    const QImage cells = sheet.format() == QImage::Format_RGB32 ? sheet : sheet.convertToFormat(QImage::Format_RGB32);

    QPainter painter(&target);
    painter.setFont(face.font);
    painter.setPen(Qt::white);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int y = LinePitch * int(i);
        DrawLineOnGrid(painter, face, lines[i], y);
        const QString rest = TokenPass(lines[i], u'_', y, face.colWidth, [&](const QRect &dest, QStringView token) {
            return DrawUnderscoreGlyph(painter, cells, dest, token, mirrored);
        });
        TokenPass(rest, u'^', y, face.colWidth, [&](const QRect &dest, QStringView token) {
            return DrawCaretGlyph(painter, cells, dest, token);
        });
    }
}

// Alias expansion and the preview renderer on arbitrary text. The first
// byte chooses mirroring and whether the rest is UTF-16 (any code units,
// unpaired surrogates included) or UTF-8.

#include "aliases.h"
#include "fuzzinput.h"
#include "renderer.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Keeps one iteration fast: a bound on (widest line in columns) x (lines).
constexpr qsizetype kMaxColumnsTimesLines = 40000;
constexpr qsizetype kTabColumns = 8;

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "fuzz_render: %s\n", what);
    __builtin_trap();
}

const QImage &GlyphSheet()
{
    static const QImage sheet(QString::fromUtf8(RENVIKA_GLYPHSHEET_PNG));
    if (sheet.isNull())
        Fail("cannot load the glyph sheet " RENVIKA_GLYPHSHEET_PNG);
    return sheet;
}

QString DecodeText(QByteArrayView bytes, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(bytes);
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.data(), size_t(text.size()) * sizeof(char16_t));
    return text;
}

// The lines the renderer draws: the text cut at every CR LF, no line after
// a final CR LF, none at all for empty text. Aliases neither make nor take
// CR LF pairs, so the count holds before and after expansion.
QList<QStringView> PreviewLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(u"\r\n", start);
        if (end < 0) {
            lines.append(text.sliced(start));
            break;
        }
        lines.append(text.sliced(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_render";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    GlyphSheet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t flags = in.byte();
    const QString text = DecodeText(in.rest(), flags & 2);

    const QList<QStringView> lines = PreviewLines(text);
    qsizetype widestBound = 0;
    for (const QStringView line : lines)
        widestBound = std::max(widestBound, line.size() * kTabColumns);
    if (widestBound * lines.size() > kMaxColumnsTimesLines)
        return 0;

    const QString expanded = ExpandAliases(text);
    if (!text.contains(u'@') && expanded != text)
        Fail("text without '@' changed in alias expansion");
    if (expanded.size() > text.size())
        Fail("alias expansion made the text longer");
    if (PreviewLines(expanded).size() != lines.size())
        Fail("alias expansion changed the number of lines");

    QImage target(3, 3, QImage::Format_RGB32);
    RenderCommand(target, text, flags & 1, GlyphSheet());
    const bool nothingToDraw = std::all_of(lines.begin(), lines.end(), [](QStringView l) { return l.isEmpty(); });
    if (nothingToDraw != target.isNull())
        Fail("the picture is null although there is text to draw, or not null for none");
    if (!target.isNull() && target.height() != LinePitch * lines.size())
        Fail("the picture's height is not one line pitch per line");
    return 0;
}

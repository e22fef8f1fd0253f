#include "previewlimit.h"

#include "cp932.h"
#include "renderer.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr int TabColumns = 8;
const QString LineBreak = u"\r\n"_s;

// Columns a character may take once drawn: a tab can widen to a tab stop,
// and a surrogate may be unpaired, drawn as U+FFFD in a column of its own.
// Aliases only get shorter when expanded, so counts never underestimate.
int MostColumns(QChar c)
{
    if (c == u'\t')
        return TabColumns;
    return c.isSurrogate() ? 1 : Cp932Columns(c);
}

int WidestColumns(QStringView line)
{
    int columns = 0;
    for (const QChar c : line)
        columns += MostColumns(c);
    return columns;
}

qint64 PictureArea(qint64 lines, qint64 columns)
{
    return lines * LinePitch * columns * PreviewColumnWidth();
}

// The longest start of line that fits in MaxPreviewColumns.
QStringView CutLine(QStringView line)
{
    int columns = 0;
    qsizetype end = 0;
    for (; end < line.size(); ++end) {
        const QChar c = line[end];
        columns += MostColumns(c);
        if (columns > MaxPreviewColumns)
            break;
    }
    if (end > 0 && end < line.size() && line[end - 1].isHighSurrogate())
        --end;
    return line.first(end);
}

} // namespace

PreviewText FitPreviewText(const QString &blockText)
{
    const QList<QStringView> lines = QStringView(blockText).split(LineBreak);
    // Room for the note: a blank line and the note itself, up to 120 columns wide.
    constexpr int NoteLines = 2;
    constexpr int NoteColumns = 120;

    qint64 widest = 0;
    bool fits = true;
    for (qsizetype i = 0; i < lines.size() && fits; ++i) {
        widest = std::max<qint64>(widest, WidestColumns(lines[i]));
        fits = widest <= MaxPreviewColumns && PictureArea(i + 1, widest) <= MaxPreviewPixels;
    }
    if (fits)
        return {blockText, false};

    QStringList shown;
    widest = NoteColumns;
    for (const QStringView line : lines) {
        const QStringView cut = CutLine(line);
        const qint64 width = std::max<qint64>(widest, WidestColumns(cut));
        if (PictureArea(shown.size() + 1 + NoteLines, width) > MaxPreviewPixels)
            break;
        widest = width;
        shown.append(cut.toString());
    }
    shown.append(QString());
    shown.append(u"（ブロックが大きすぎるため、プレビューは一部だけを表示しています。全 %1 行中 %2 行、各行 %3 桁まで）"_s
                     .arg(lines.size())
                     .arg(shown.size() - 1)
                     .arg(MaxPreviewColumns));
    return {shown.join(LineBreak), true};
}

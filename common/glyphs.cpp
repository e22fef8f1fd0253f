#include "glyphs.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>
#include <cstdint>

namespace {

// Second characters of both vocabularies are printable ASCII, so a token's
// cell is found by indexing a table with its second character.
constexpr char16_t FirstPrintable = u' ';
constexpr char16_t LastPrintable = u'~';
constexpr int NoCell = -1;

using CellTable = std::array<std::int8_t, LastPrintable - FirstPrintable + 1>;

struct Entry
{
    char16_t second;
    std::int8_t cell;
    std::int8_t mirroredCell;
};

constexpr Entry UnderscoreTokens[] = {
    {u'+', 0, 0},     {u'.', 1, 1},     {u'1', 2, 4},     {u'2', 3, 3},     {u'3', 4, 2},
    {u'4', 5, 7},     {u'5', 6, 6},     {u'6', 7, 5},     {u'7', 8, 10},    {u'8', 9, 9},
    {u'9', 10, 8},    {u'N', 11, 11},   {u'A', 40, 40},   {u'B', 41, 41},   {u'C', 42, 42},
    {u'D', 43, 43},   {u'P', 66, 66},   {u'K', 67, 67},   {u'G', 68, 68},   {u'a', 30, 30},
    {u'b', 31, 31},   {u'c', 32, 32},   {u'd', 33, 33},   {u'e', 34, 34},   {u'f', 35, 35},
    {u'g', 36, 36},   {u'h', 37, 37},   {u'i', 38, 38},   {u'j', 39, 39},   {u'Z', 65, 65},
    {u'k', 14, 16},   {u'l', 15, 17},   {u'm', 16, 14},   {u'n', 17, 15},   {u'o', 18, 22},
    {u'p', 19, 23},   {u'q', 20, 24},   {u'r', 21, 25},   {u's', 22, 18},   {u't', 23, 19},
    {u'u', 24, 20},   {u'v', 25, 21},   {u'w', 26, 29},   {u'x', 27, 28},   {u'y', 28, 27},
    {u'z', 29, 26},   {u'L', 12, 13},   {u'M', 13, 12},   {u'S', 90, 90},   {u'`', 75, 75},
    {u'@', 76, 76},   {u')', 77, 77},   {u'(', 78, 78},   {u'*', 79, 79},   {u'&', 80, 80},
    {u'%', 81, 81},   {u'$', 82, 82},   {u'#', 83, 83},   {u']', 84, 84},   {u'[', 85, 85},
    {u'{', 86, 86},   {u'}', 87, 87},   {u'<', 88, 88},   {u'>', 89, 89},
};
static_assert(std::size(UnderscoreTokens) == 64);

constexpr Entry CaretTokens[] = {
    {u'e', 44, 44}, {u'f', 45, 45}, {u'g', 46, 46}, {u'h', 47, 47}, {u'i', 48, 48}, {u'j', 49, 49},
    {u'k', 50, 50}, {u'l', 51, 51}, {u'm', 52, 52}, {u'n', 53, 53}, {u'o', 54, 54}, {u'p', 55, 55},
    {u'q', 56, 56}, {u'r', 57, 57}, {u's', 58, 58}, {u't', 59, 59}, {u'u', 60, 60}, {u'v', 61, 61},
    {u'w', 62, 62}, {u'x', 63, 63}, {u'y', 64, 64}, {u'z', 65, 65}, {u'E', 69, 69}, {u'F', 70, 70},
    {u'G', 71, 71}, {u'H', 72, 72}, {u'I', 73, 73}, {u'J', 74, 74}, {u'S', 91, 91}, {u'+', 92, 92},
    {u'-', 93, 93},
};
static_assert(std::size(CaretTokens) == 31);

template <std::size_t N>
constexpr CellTable MakeTable(const Entry (&entries)[N], bool mirrored)
{
    CellTable table{};
    table.fill(NoCell);
    for (const Entry &e : entries)
        table[e.second - FirstPrintable] = mirrored ? e.mirroredCell : e.cell;
    return table;
}

constexpr CellTable UnderscoreCells = MakeTable(UnderscoreTokens, false);
constexpr CellTable MirroredUnderscoreCells = MakeTable(UnderscoreTokens, true);
constexpr CellTable CaretCells = MakeTable(CaretTokens, false);

std::optional<int> Lookup(const CellTable &table, QStringView token, char16_t lead)
{
    if (token.size() != 2 || token[0] != QChar(lead))
        return std::nullopt;
    const char16_t second = token[1].unicode();
    if (second < FirstPrintable || second > LastPrintable)
        return std::nullopt;
    const int cell = table[second - FirstPrintable];
    if (cell == NoCell)
        return std::nullopt;
    return cell;
}

bool CopyCell(QPainter &canvas, const QImage &sheet, const QRect &dest, std::optional<int> cell)
{
    if (!cell)
        return false;
    const QPainter::CompositionMode previous = canvas.compositionMode();
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(dest, sheet, QRect(*cell * GlyphSize, 0, GlyphSize, GlyphSize));
    canvas.setCompositionMode(previous);
    return true;
}

} // namespace

std::optional<int> UnderscoreGlyphCell(QStringView token, bool mirrored)
{
    return Lookup(mirrored ? MirroredUnderscoreCells : UnderscoreCells, token, u'_');
}

std::optional<int> CaretGlyphCell(QStringView token)
{
    return Lookup(CaretCells, token, u'^');
}

bool DrawUnderscoreGlyph(QPainter &canvas, const QImage &sheet, const QRect &dest, QStringView token,
                         bool mirrored)
{
    return CopyCell(canvas, sheet, dest, UnderscoreGlyphCell(token, mirrored));
}

bool DrawCaretGlyph(QPainter &canvas, const QImage &sheet, const QRect &dest, QStringView token)
{
    return CopyCell(canvas, sheet, dest, CaretGlyphCell(token));
}

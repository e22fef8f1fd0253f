#pragma once

#include <QRgb>
#include <QStringView>
#include <optional>

class QImage;
class QPainter;
class QRect;

// Edge of one glyph cell on the sheet, and of the rectangle a glyph covers in the preview.
inline constexpr int GlyphSize = 14;
// The sheet is one row of cells: 100 cells, 1400 x 14 pixels.
inline constexpr int GlyphCellCount = 100;
// Navy of the preview; also the background of every glyph cell.
inline constexpr QRgb PreviewBackground = qRgb(1, 42, 77);

// The sheet cell of an underscore token ("_6", "_A", ...), or nothing when the
// two characters are no underscore token. Mirroring swaps left and right.
std::optional<int> UnderscoreGlyphCell(QStringView token, bool mirrored);
// The sheet cell of a caret token ("^s", "^E", ...), or nothing.
std::optional<int> CaretGlyphCell(QStringView token);

// Copy the token's cell of the sheet opaquely into dest; false, and nothing
// drawn, when the token is not an underscore token.
bool DrawUnderscoreGlyph(QPainter &canvas, const QImage &sheet, const QRect &dest, QStringView token,
                         bool mirrored);
// The same for caret tokens, which are never mirrored.
bool DrawCaretGlyph(QPainter &canvas, const QImage &sheet, const QRect &dest, QStringView token);

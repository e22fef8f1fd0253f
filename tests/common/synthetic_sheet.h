#pragma once

#include "glyphs.h"

#include <QImage>
#include <QRect>

// A glyph sheet in which every cell is told apart by its colour, and a marker
// pixel at (1, 2) of each cell shows whether a copy kept the cell's origin.
inline QRgb SyntheticCellColour(int cell)
{
    return qRgb(cell, 255 - cell, 7);
}

inline QImage SyntheticSheet()
{
    QImage sheet(GlyphSize * GlyphCellCount, GlyphSize, QImage::Format_ARGB32);
    for (int cell = 0; cell < GlyphCellCount; ++cell) {
        for (int y = 0; y < GlyphSize; ++y)
            for (int x = 0; x < GlyphSize; ++x)
                sheet.setPixel(cell * GlyphSize + x, y, SyntheticCellColour(cell));
        sheet.setPixel(cell * GlyphSize + 1, 2, qRgb(255, cell, 200));
    }
    return sheet;
}

// The pixels of one sheet cell, in the format of image, for comparing with a region of it.
inline QImage SheetCell(const QImage &sheet, int cell, QImage::Format format)
{
    return sheet.copy(cell * GlyphSize, 0, GlyphSize, GlyphSize).convertToFormat(format);
}

inline QImage Region(const QImage &image, int x, int y)
{
    return image.copy(QRect(x, y, GlyphSize, GlyphSize));
}

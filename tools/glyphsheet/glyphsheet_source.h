#pragma once

// Turns the human-readable glyph sheet source (assets/glyphsheet.txt) into the
// 1400 x 14 sheet image. The format is described at the top of that file:
//
//   # comment (a line whose first non-blank character is '#')
//   colour C R G B [name]      palette entry; before the first cell it is global,
//                              inside a cell (before its pixel rows) it is local
//                              to that cell and may override a global entry
//   cell N [title]             starts cell N (0..99), followed by exactly 14 rows
//   ..............             one row of 14 palette characters
//
// Every cell 0..99 must appear exactly once. Malformed sources are reported
// through *error (with the line number) and give a null image.

#include <QImage>
#include <QString>
#include <QStringView>

QImage GlyphSheetFromSource(QStringView sourceText, QString *error);

// An enlarged copy for looking at the art: cells scaled `scale` times with
// nearest-neighbour sampling, wrapped into rows of `cellsPerRow` cells, each
// cell labelled with its number above it.
QImage GlyphSheetPreview(const QImage &sheet, int scale, int cellsPerRow);

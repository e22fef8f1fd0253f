#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>

// Vertical distance between the tops of two preview lines, in pixels.
inline constexpr int LinePitch = 18;

// Splits text at every delimiter; an empty text gives no element and a
// trailing delimiter no empty last element.
QStringList SplitText(QStringView delimiter, QStringView text);

// The monospaced face used for the preview (and the editor): a Japanese
// face in which one half-width cell is half a glyph cell wide.
QFont PreviewFont();
// Width of one half-width cell of that face, in pixels.
int PreviewColumnWidth();

// Draws a command block's text (lines separated by CR LF) as white text on
// navy, every known token covered by its picture from sheet. target is
// resized to fit: 0 x 0 for empty text, LinePitch pixels per line.
void RenderCommand(QImage &target, const QString &text, bool mirrored, const QImage &sheet);

#pragma once

#include <QString>

// The preview draws a block as one picture. A block too large for a picture
// the window can reasonably hold (tens of thousands of lines, lines of
// megabytes) is drawn in part, with a note at the end that says so.
struct PreviewText {
    QString text;     // what to draw
    bool cut = false; // whether text is a shortened copy with the note
};

// Longest line drawn, in half-width columns.
inline constexpr int MaxPreviewColumns = 2000;
// Largest picture drawn, in pixels (4 bytes each).
inline constexpr qint64 MaxPreviewPixels = 16'000'000;

// blockText as drawn: unchanged when its picture stays within the limits,
// else its first lines, each cut to MaxPreviewColumns, and the note.
PreviewText FitPreviewText(const QString &blockText);

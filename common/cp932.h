#pragma once

#include <QChar>
#include <QStringView>

// Columns a character takes in a fixed-pitch command list: the number of
// bytes Windows code page 932 uses for it (2 for full-width characters,
// 1 for ASCII and half-width katakana, 1 for what the code page cannot
// represent, such as a character outside the BMP: its high surrogate counts
// 1 and its low surrogate 0). O(1) per character.
int Cp932Columns(QChar c);
int Cp932Columns(QStringView text);

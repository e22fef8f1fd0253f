#include "cp932.h"

#include "cp932_table.h"

// Surrogates are counted per code unit: a character outside the BMP has no
// code page 932 encoding, and one column per half keeps the count of a text
// equal to the sum over its code units, which the renderer relies on when it
// walks a line character by character.
int Cp932Columns(QChar c)
{
    const char16_t u = c.unicode();
    return (Cp932DoubleByteBits[u >> 5] >> (u & 31)) & 1u ? 2 : 1;
}

int Cp932Columns(QStringView text)
{
    int columns = 0;
    for (const QChar c : text)
        columns += Cp932Columns(c);
    return columns;
}

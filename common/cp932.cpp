#include "cp932.h"

#include "cp932_table.h"

// A character outside the BMP has no code page 932 encoding and counts one
// column, like the "?" Windows writes for it. It is two code units here: the
// high surrogate takes the column and the low one none, so that a text's
// count stays the sum over its code units, as the renderer walks lines.
int Cp932Columns(QChar c)
{
    const char16_t u = c.unicode();
    if (QChar::isLowSurrogate(u))
        return 0;
    return (Cp932DoubleByteBits[u >> 5] >> (u & 31)) & 1u ? 2 : 1;
}

int Cp932Columns(QStringView text)
{
    int columns = 0;
    for (const QChar c : text)
        columns += Cp932Columns(c);
    return columns;
}

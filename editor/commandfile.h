#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A command list file read into editor text.
struct DecodedCommandFile {
    enum class Encoding { Utf8WithMark, Utf16LE, Utf16BE, Utf8, Cp932 };

    QString text; // line breaks are CR LF
    Encoding encoding = Encoding::Utf8;
    // Some bytes did not decode. They come out as U+FFFD (UTF-8, UTF-16) or
    // as U+001A (code page 932), and an incomplete last code page 932
    // character is left out; the rest of the text is intact.
    bool hadInvalidBytes = false;
};

// Decodes by byte-order mark: EF BB BF UTF-8, FF FE UTF-16 LE, FE FF
// UTF-16 BE (the mark is not part of the text). Without a mark the bytes are
// UTF-8 when they are valid UTF-8, else code page 932; pure ASCII is the
// same either way and reported as UTF-8.
DecodedCommandFile DecodeCommandFile(QByteArrayView bytes);

// Whether code page 932 can be decoded as Windows does it (0x8160 is U+FF5E,
// not the U+301C of plain Shift_JIS). Without it, the non-ASCII bytes of a
// file without mark that is not UTF-8 all count as invalid.
bool Cp932DecoderAvailable();

// The bytes of a saved command file: EF BB BF, then the text as UTF-8 as it
// is. An unpaired surrogate, which UTF-8 cannot express, is written as
// U+FFFD without disturbing its neighbours.
QByteArray EncodeCommandFile(QStringView text);

// The text with every CR LF, lone CR and lone LF made CR LF.
QString NormalizeLineBreaks(QStringView text);

// Command file decoding on any bytes, and encoding of any UTF-16 text,
// checked against simple reference rules: the mark picks the encoding, the
// text has only CR LF breaks, and what is saved reads back unchanged.

#include "commandfile.h"
#include "fuzzinput.h"

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;
using Encoding = DecodedCommandFile::Encoding;

namespace {

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "fuzz_commandfile: %s\n", what);
    __builtin_trap();
}

// Every break (CR LF, lone CR, lone LF) as CR LF, the slow obvious way.
QString ReferenceLineBreaks(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
}

bool OnlyCrLfBreaks(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    }
    return true;
}

struct Units {
    QString text; // unpaired surrogates replaced by U+FFFD
    bool replaced = false;
};

Units ReplaceUnpairedSurrogates(QStringView units)
{
    Units result;
    for (qsizetype i = 0; i < units.size(); ++i) {
        const QChar c = units[i];
        if (c.isHighSurrogate() && i + 1 < units.size() && units[i + 1].isLowSurrogate()) {
            result.text += c;
            result.text += units[++i];
        } else if (c.isSurrogate()) {
            result.text += QChar(u'\uFFFD');
            result.replaced = true;
        } else {
            result.text += c;
        }
    }
    return result;
}

QString Utf16Units(QByteArrayView bytes, bool bigEndian)
{
    QString units(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i) {
        const auto a = uint8_t(bytes[2 * i]), b = uint8_t(bytes[2 * i + 1]);
        units[i] = QChar(bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a));
    }
    return units;
}

bool IsAscii(QByteArrayView bytes)
{
    for (const char b : bytes)
        if (uint8_t(b) >= 0x80)
            return false;
    return true;
}

// Valid UTF-8 is what survives a round trip through QString. The leading
// 'a' keeps fromUtf8 from dropping a byte-order mark at the start.
bool IsUtf8(QByteArrayView bytes)
{
    const QByteArray prefixed = "a" + bytes.toByteArray();
    return QString::fromUtf8(prefixed).toUtf8() == prefixed;
}

void CheckUtf16(const DecodedCommandFile &decoded, QByteArrayView payload, bool bigEndian)
{
    Units expected = ReplaceUnpairedSurrogates(Utf16Units(payload, bigEndian));
    if (payload.size() % 2 != 0) {
        expected.text += QChar(u'\uFFFD');
        expected.replaced = true;
    }
    if (decoded.text != ReferenceLineBreaks(expected.text))
        Fail("UTF-16 text differs from its code units");
    if (decoded.hadInvalidBytes != expected.replaced)
        Fail("UTF-16 reports invalid bytes wrongly");
}

void CheckDecoding(QByteArrayView bytes)
{
    const DecodedCommandFile decoded = DecodeCommandFile(bytes);
    if (!OnlyCrLfBreaks(decoded.text))
        Fail("decoded text has a lone CR or LF");

    if (bytes.startsWith("\xEF\xBB\xBF")) {
        if (decoded.encoding != Encoding::Utf8WithMark)
            Fail("UTF-8 mark not recognised");
    } else if (bytes.startsWith("\xFF\xFE")) {
        if (decoded.encoding != Encoding::Utf16LE)
            Fail("UTF-16 LE mark not recognised");
        CheckUtf16(decoded, bytes.sliced(2), false);
    } else if (bytes.startsWith("\xFE\xFF")) {
        if (decoded.encoding != Encoding::Utf16BE)
            Fail("UTF-16 BE mark not recognised");
        CheckUtf16(decoded, bytes.sliced(2), true);
    } else if (decoded.encoding != (IsUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932)) {
        Fail("bytes without mark: UTF-8 and code page 932 told apart wrongly");
    } else if (decoded.encoding == Encoding::Utf8 && decoded.hadInvalidBytes) {
        Fail("valid UTF-8 reported as invalid");
    } else if (IsAscii(bytes) && decoded.text != ReferenceLineBreaks(QString::fromLatin1(bytes))) {
        Fail("ASCII not decoded as itself");
    }

    // What is saved reads back as it was.
    const DecodedCommandFile reread = DecodeCommandFile(EncodeCommandFile(decoded.text));
    if (reread.text != decoded.text || reread.encoding != Encoding::Utf8WithMark || reread.hadInvalidBytes)
        Fail("decoded text does not survive a save and a reopen");
}

// Any UTF-16 text, as the editor may hold it: the saved bytes are the mark
// and valid UTF-8, and read back with unpaired surrogates replaced.
void CheckEncoding(QByteArrayView bytes)
{
    const QString text = Utf16Units(bytes, false);
    if (NormalizeLineBreaks(text) != ReferenceLineBreaks(text))
        Fail("line breaks normalised wrongly");

    const QByteArray saved = EncodeCommandFile(text);
    if (!saved.startsWith("\xEF\xBB\xBF") || !IsUtf8(QByteArrayView(saved).sliced(3)))
        Fail("saved bytes are not a mark and UTF-8");
    const DecodedCommandFile reread = DecodeCommandFile(saved);
    if (reread.text != ReferenceLineBreaks(ReplaceUnpairedSurrogates(text).text) || reread.hadInvalidBytes)
        Fail("saved text reads back changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput in(data, size);
    CheckDecoding(in.rest());
    CheckEncoding(in.rest());
    return 0;
}

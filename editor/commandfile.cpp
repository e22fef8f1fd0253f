#include "commandfile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

using Encoding = DecodedCommandFile::Encoding;

constexpr char16_t kReplacement = u'\uFFFD';

// ICU's name for the code page as Windows has it (NEC and IBM extensions,
// Microsoft's mappings for the wave dash and minus sign).
constexpr char kCp932Name[] = "windows-31j";

struct Decoded {
    QString text;
    bool invalid = false;
};

// Stateless, so that an incomplete sequence at the end counts as an error
// instead of waiting for more input.
Decoded DecodeWith(QStringDecoder &&decoder, QByteArrayView bytes)
{
    Decoded result;
    result.text = decoder.decode(bytes);
    result.invalid = decoder.hasError();
    return result;
}

Decoded DecodeUtf8(QByteArrayView bytes)
{
    // ConvertInitialBom: a second mark after the one already removed is text.
    return DecodeWith(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless
                                                             | QStringDecoder::Flag::ConvertInitialBom),
                      bytes);
}

Decoded DecodeCp932(QByteArrayView bytes)
{
    QStringDecoder decoder(kCp932Name, QStringDecoder::Flag::Stateless);
    if (decoder.isValid())
        return DecodeWith(std::move(decoder), bytes);
    Decoded result;
    result.text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto unit = static_cast<unsigned char>(byte);
        result.invalid |= unit >= 0x80;
        result.text.append(QChar(unit < 0x80 ? char16_t(unit) : kReplacement));
    }
    return result;
}

// Done by hand because Qt's UTF-16 decoder passes unpaired surrogates
// through and ignores an odd last byte without reporting either.
Decoded DecodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    Decoded result;
    result.text.reserve(units + 1);
    const auto unitAt = [&](qsizetype i) -> char16_t {
        const char *p = bytes.data() + 2 * i;
        return bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    };
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (QChar::isHighSurrogate(unit) && i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1))) {
            result.text.append(QChar(unit));
            result.text.append(QChar(unitAt(++i)));
        } else if (QChar::isSurrogate(unit)) {
            result.text.append(QChar(kReplacement));
            result.invalid = true;
        } else {
            result.text.append(QChar(unit));
        }
    }
    if (bytes.size() % 2 != 0) {
        result.text.append(QChar(kReplacement));
        result.invalid = true;
    }
    return result;
}

DecodedCommandFile Finish(Decoded &&decoded, Encoding encoding)
{
    return {NormalizeLineBreaks(decoded.text), encoding, decoded.invalid};
}

} // namespace

DecodedCommandFile DecodeCommandFile(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Finish(DecodeUtf8(bytes.sliced(3)), Encoding::Utf8WithMark);
    if (bytes.startsWith("\xFF\xFE"))
        return Finish(DecodeUtf16(bytes.sliced(2), false), Encoding::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return Finish(DecodeUtf16(bytes.sliced(2), true), Encoding::Utf16BE);

    Decoded utf8 = DecodeUtf8(bytes);
    if (!utf8.invalid)
        return Finish(std::move(utf8), Encoding::Utf8);
    return Finish(DecodeCp932(bytes), Encoding::Cp932);
}

bool Cp932DecoderAvailable()
{
    QStringDecoder decoder(kCp932Name, QStringDecoder::Flag::Stateless);
    return decoder.isValid() && decoder.decode(QByteArrayView("\x81\x60")) == u"\uFF5E"_s;
}

QByteArray EncodeCommandFile(QStringView text)
{
    // Stateless: a high surrogate at the very end is written, not held back.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes("\xEF\xBB\xBF");
    bytes.append(QByteArray(encoder.encode(text)));
    return bytes;
}

QString NormalizeLineBreaks(QStringView text)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        result.append(text.sliced(start, i - start));
        result.append(u"\r\n");
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    result.append(text.sliced(start));
    return result;
}

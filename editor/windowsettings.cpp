#include "windowsettings.h"

#include "commandfile.h"
#include "textlines.h"

namespace {

int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int digit = -1;
    if (u >= u'0' && u <= u'9')
        digit = u - u'0';
    else if (u >= u'a' && u <= u'f')
        digit = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        digit = u - u'A' + 10;
    return digit < base ? digit : -1;
}

} // namespace

std::optional<qint32> ParseSettingsInteger(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size() && value[i] == u' ')
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'+' || value[i] == u'-'))
        negative = value[i++] == u'-';
    int base = 10;
    if (i < value.size() && value[i] == u'$') {
        base = 16;
        i += 1;
    } else if (value.sliced(i).startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        i += 2;
    }
    if (i == value.size())
        return std::nullopt;

    const quint64 limit = negative ? 0x80000000u : base == 16 ? 0xFFFFFFFFu : 0x7FFFFFFFu;
    quint64 magnitude = 0;
    for (; i < value.size(); ++i) {
        const int digit = DigitValue(value[i], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    const quint32 bits = negative ? 0u - quint32(magnitude) : quint32(magnitude);
    return qint32(bits); // two's complement, so 0xFFFFFFFF is -1
}

WindowSettings ParseWindowSettings(QStringView fileText)
{
    WindowSettings settings;
    TextLines lines(fileText);
    QStringView line;
    while (lines.next(line)) {
        std::optional<int> *target = nullptr;
        if (line.startsWith(u"width "))
            target = &settings.width;
        else if (line.startsWith(u"height "))
            target = &settings.height;
        else if (line.startsWith(u"left "))
            target = &settings.left;
        else if (line.startsWith(u"top "))
            target = &settings.top;
        else
            continue;
        // The value runs from the line's first space, the key's own.
        const std::optional<qint32> value = ParseSettingsInteger(line.sliced(line.indexOf(u' ')));
        if (!value) {
            settings.failed = true;
            break;
        }
        *target = *value;
    }
    return settings;
}

WindowSettings ParseWindowSettingsFile(QByteArrayView bytes)
{
    return ParseWindowSettings(DecodeCommandFile(bytes).text);
}

QByteArray FormatWindowSettings(int width, int height, int left, int top)
{
    QByteArray text;
    for (const auto &[key, value] : {std::pair{"width ", width}, std::pair{"height ", height},
                                     std::pair{"left ", left}, std::pair{"top ", top}})
        text += key + QByteArray::number(value) + "\r\n";
    return text;
}

// The settings file parser against a plain reference of its rules, on the
// input as a file, as one value, and as four integers to write and read back.

#include "commandfile.h"
#include "fuzzinput.h"
#include "windowsettings.h"

#include <QStringList>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void Fail(const char *what, QStringView input)
{
    std::fprintf(stderr, "fuzz_settings: %s\ninput: \"%s\"\n", what, qUtf8Printable(input.toString()));
    __builtin_trap();
}

// Spaces, a sign, "$", "0x" or "0X" for hexadecimal, then digits only, read
// with std::from_chars (which takes no sign for unsigned types) and
// range-checked against 32 bits.
std::optional<qint32> ReferenceInteger(QStringView value)
{
    for (const QChar c : value)
        if (c.unicode() >= 0x80)
            return std::nullopt;
    const std::string ascii = value.toString().toStdString();
    std::string_view s = ascii;
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.starts_with('$')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.starts_with("0x") || s.starts_with("0X")) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return std::nullopt;
    unsigned long long magnitude = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    const unsigned long long limit = negative ? 0x80000000ull : base == 16 ? 0xFFFFFFFFull : 0x7FFFFFFFull;
    if (magnitude > limit)
        return std::nullopt;
    const auto bits = static_cast<quint32>(negative ? 0ull - magnitude : magnitude);
    return static_cast<qint32>(bits);
}

// Lines cut at CR LF, CR or LF; a key at the start of a line, case and all;
// the value from the line's first space; a bad value stops the reading.
WindowSettings ReferenceSettings(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    WindowSettings settings;
    if (text.isEmpty())
        return settings;
    for (const QString &line : text.split(u'\n')) {
        std::optional<int> *target = nullptr;
        for (const auto &[key, field] : {std::pair{u"width "_s, &settings.width}, std::pair{u"height "_s, &settings.height},
                                         std::pair{u"left "_s, &settings.left}, std::pair{u"top "_s, &settings.top}})
            if (!target && line.startsWith(key))
                target = field;
        if (!target)
            continue;
        const std::optional<qint32> value = ReferenceInteger(QStringView(line).sliced(line.indexOf(u' ')));
        if (!value) {
            settings.failed = true;
            break;
        }
        *target = *value;
    }
    return settings;
}

void CheckFile(QByteArrayView bytes)
{
    const QString text = DecodeCommandFile(bytes).text;
    if (ParseWindowSettingsFile(bytes) != ReferenceSettings(text))
        Fail("settings file read differently from the reference", text);
}

void CheckValue(QStringView value)
{
    if (ParseSettingsInteger(value) != ReferenceInteger(value))
        Fail("value converted differently from the reference", value);
}

// Four integers written as a settings file read back as they were, and
// each one in decimal and in hexadecimal converts back to itself.
void CheckRoundTrip(FuzzInput &in)
{
    qint32 numbers[4];
    for (qint32 &n : numbers) {
        quint32 bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = bits << 8 | in.byte();
        n = static_cast<qint32>(bits);
    }
    const WindowSettings expected{numbers[0], numbers[1], numbers[2], numbers[3], false};
    const QByteArray file = FormatWindowSettings(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (ParseWindowSettingsFile(file) != expected)
        Fail("written settings read back changed", QString::fromLatin1(file));
    for (const qint32 n : numbers) {
        const QString forms[] = {QString::number(n), u"$"_s + QString::number(quint32(n), 16),
                                 u"0X"_s + QString::number(quint32(n), 16).toUpper()};
        for (const QString &form : forms)
            if (ParseSettingsInteger(form) != n)
                Fail("integer does not convert back to itself", form);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    CheckFile(in.rest());
    CheckValue(QString::fromLatin1(in.rest()));
    CheckValue(QString::fromUtf8(in.rest()));
    CheckRoundTrip(in);
    return 0;
}

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>

// The window bounds kept in "renvika.ini" beside the executable: lines
// "width N", "height N", "left N" and "top N".
struct WindowSettings {
    std::optional<int> width, height, left, top; // unset when the file has no such line
    bool failed = false; // a value did not convert; the lines from there on were not read
    friend bool operator==(const WindowSettings &, const WindowSettings &) = default;
};

// A settings value as a signed 32-bit integer: leading spaces, an optional
// '+' or '-', then decimal digits, or hexadecimal digits after "$", "0x" or
// "0X". Hexadecimal without sign may use the whole 32 bits as a two's
// complement pattern ("$FFFFFFFF" is -1); with '-' the magnitude must be at
// most 0x80000000. Anything else, trailing spaces included, is nullopt.
std::optional<qint32> ParseSettingsInteger(QStringView value);

// Reads the settings text (line breaks CR LF, CR or LF). Keys are
// case-sensitive and the last occurrence wins; other lines are ignored.
WindowSettings ParseWindowSettings(QStringView fileText);

// The file's bytes, decoded like a command file (byte-order mark, else
// UTF-8 or code page 932), then parsed.
WindowSettings ParseWindowSettingsFile(QByteArrayView bytes);

// The file as it is written: four ASCII lines, each ending in CR LF.
QByteArray FormatWindowSettings(int width, int height, int left, int top);

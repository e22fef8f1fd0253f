#include "windowsettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using OptionalInt = std::optional<int>;

WindowSettings Settings(OptionalInt width, OptionalInt height, OptionalInt left, OptionalInt top,
                        bool failed = false)
{
    return {width, height, left, top, failed};
}

} // namespace

class TestWindowSettings : public QObject {
    Q_OBJECT
private slots:
    void integer_data();
    void integer();
    void parse_data();
    void parse();
    void format();
    void roundTrip_data();
    void roundTrip();
    void fileWithMark();
};

void TestWindowSettings::integer_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<OptionalInt>("expected");

    const OptionalInt bad;
    QTest::newRow("decimal") << u"900"_s << OptionalInt(900);
    QTest::newRow("leading spaces") << u"   5"_s << OptionalInt(5);
    QTest::newRow("plus") << u"+5"_s << OptionalInt(5);
    QTest::newRow("space, minus") << u" -5"_s << OptionalInt(-5);
    QTest::newRow("leading zeros") << u"007"_s << OptionalInt(7);
    QTest::newRow("largest") << u"2147483647"_s << OptionalInt(2147483647);
    QTest::newRow("smallest") << u"-2147483648"_s << OptionalInt(-2147483647 - 1);
    QTest::newRow("above 32 bits") << u"2147483648"_s << bad;
    QTest::newRow("below 32 bits") << u"-2147483649"_s << bad;
    QTest::newRow("far above") << u"99999999999999999999999"_s << bad;
    QTest::newRow("dollar hex") << u"$1F"_s << OptionalInt(31);
    QTest::newRow("lower-case hex digits") << u"$ff"_s << OptionalInt(255);
    QTest::newRow("0x") << u"0x10"_s << OptionalInt(16);
    QTest::newRow("0X") << u" 0X1a"_s << OptionalInt(26);
    QTest::newRow("minus dollar") << u"-$10"_s << OptionalInt(-16);
    QTest::newRow("plus 0x") << u"+0x10"_s << OptionalInt(16);
    QTest::newRow("hex pattern of -1") << u"$FFFFFFFF"_s << OptionalInt(-1);
    QTest::newRow("hex pattern of the smallest") << u"$80000000"_s << OptionalInt(-2147483647 - 1);
    QTest::newRow("minus hex smallest") << u"-$80000000"_s << OptionalInt(-2147483647 - 1);
    QTest::newRow("minus hex too large") << u"-$80000001"_s << bad;
    QTest::newRow("hex above 32 bits") << u"$100000000"_s << bad;
    QTest::newRow("empty") << QString() << bad;
    QTest::newRow("spaces only") << u"  "_s << bad;
    QTest::newRow("sign only") << u"-"_s << bad;
    QTest::newRow("dollar only") << u"$"_s << bad;
    QTest::newRow("0x only") << u"0x"_s << bad;
    QTest::newRow("trailing space") << u"5 "_s << bad;
    QTest::newRow("space after sign") << u"- 5"_s << bad;
    QTest::newRow("two signs") << u"+-5"_s << bad;
    QTest::newRow("sign after dollar") << u"$-5"_s << bad;
    QTest::newRow("hex digit in decimal") << u"1F"_s << bad;
    QTest::newRow("letters") << u"abc"_s << bad;
    QTest::newRow("decimal point") << u"1.5"_s << bad;
    QTest::newRow("tab before") << u"\t5"_s << bad;
    QTest::newRow("full-width digit") << u"\uFF15"_s << bad;
}

void TestWindowSettings::integer()
{
    QFETCH(QString, value);
    QFETCH(OptionalInt, expected);
    QCOMPARE(ParseSettingsInteger(value), expected);
}

void TestWindowSettings::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<WindowSettings>("expected");

    QTest::newRow("empty") << QString() << Settings({}, {}, {}, {});
    QTest::newRow("all four") << u"width 900\r\nheight 800\r\nleft 10\r\ntop 10\r\n"_s
                              << Settings(900, 800, 10, 10);
    QTest::newRow("LF and CR breaks") << u"width 1\nheight 2\rleft 3\r\ntop 4"_s << Settings(1, 2, 3, 4);
    QTest::newRow("top only") << u"top 20"_s << Settings({}, {}, {}, 20);
    QTest::newRow("capital key ignored") << u"Width 5\r\nheight 6"_s << Settings({}, 6, {}, {});
    QTest::newRow("key without space ignored") << u"width5\r\nwidth\r\ntopx 3"_s << Settings({}, {}, {}, {});
    QTest::newRow("indented key ignored") << u" width 5"_s << Settings({}, {}, {}, {});
    QTest::newRow("other lines ignored") << u"[window]\r\n\r\n; note\r\nleft -20"_s
                                         << Settings({}, {}, -20, {});
    QTest::newRow("last occurrence wins") << u"width 1\r\nwidth 2"_s << Settings(2, {}, {}, {});
    QTest::newRow("extra spaces before the value") << u"width   5"_s << Settings(5, {}, {}, {});
    QTest::newRow("hex values") << u"width $384\r\nheight 0x320\r\nleft -$A"_s
                                << Settings(900, 800, -10, {});
    QTest::newRow("bad value stops reading")
        << u"width 700\r\nheight abc\r\nleft 30\r\ntop 40"_s << Settings(700, {}, {}, {}, true);
    QTest::newRow("bad value after an earlier one of the same key")
        << u"width 700\r\nwidth x"_s << Settings(700, {}, {}, {}, true);
    QTest::newRow("trailing space") << u"top 5 \r\nleft 3"_s << Settings({}, {}, {}, {}, true);
    QTest::newRow("empty value") << u"width \r\n"_s << Settings({}, {}, {}, {}, true);
    QTest::newRow("overflow") << u"left 2147483648"_s << Settings({}, {}, {}, {}, true);
}

void TestWindowSettings::parse()
{
    QFETCH(QString, text);
    QFETCH(WindowSettings, expected);
    const WindowSettings got = ParseWindowSettings(text);
    QCOMPARE(got.width, expected.width);
    QCOMPARE(got.height, expected.height);
    QCOMPARE(got.left, expected.left);
    QCOMPARE(got.top, expected.top);
    QCOMPARE(got.failed, expected.failed);
}

void TestWindowSettings::format()
{
    QCOMPARE(FormatWindowSettings(900, 800, 10, 10), QByteArray("width 900\r\nheight 800\r\nleft 10\r\ntop 10\r\n"));
    QCOMPARE(FormatWindowSettings(1, 2, -1920, -5), QByteArray("width 1\r\nheight 2\r\nleft -1920\r\ntop -5\r\n"));
}

void TestWindowSettings::roundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::newRow("defaults") << 900 << 800 << 10 << 10;
    QTest::newRow("left of and above the primary screen") << 1280 << 720 << -1600 << -300;
    QTest::newRow("32-bit limits") << 2147483647 << 0 << -2147483647 - 1 << 0;
}

void TestWindowSettings::roundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, left);
    QFETCH(int, top);
    QCOMPARE(ParseWindowSettingsFile(FormatWindowSettings(width, height, left, top)),
             Settings(width, height, left, top));
}

// Read like a command file: a byte-order mark is not part of the first key.
void TestWindowSettings::fileWithMark()
{
    QCOMPARE(ParseWindowSettingsFile("\xEF\xBB\xBFwidth 5\r\n"), Settings(5, {}, {}, {}));
    QCOMPARE(ParseWindowSettingsFile(QByteArray("\xFF\xFEt\0o\0p\0 \0-\0\x37\0", 14)),
             Settings({}, {}, {}, -7));
}

QTEST_APPLESS_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"

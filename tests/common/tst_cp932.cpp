#include "cp932.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void character_data();
    void character();
    void text_data();
    void text();
    void agreesWithIcuEncoder();
};

void TestCp932::character_data()
{
    QTest::addColumn<char16_t>("c");
    QTest::addColumn<int>("columns");
    QTest::newRow("ASCII letter") << u'A' << 1;
    QTest::newRow("tilde") << u'~' << 1;
    QTest::newRow("tab") << u'\t' << 1;
    QTest::newRow("NUL") << u'\0' << 1;
    QTest::newRow("DEL") << u'\x7f' << 1;
    QTest::newRow("first half-width katakana") << u'\uff61' << 1;
    QTest::newRow("last half-width katakana") << u'\uff9f' << 1;
    QTest::newRow("hiragana") << u'あ' << 2;
    QTest::newRow("kanji") << u'拳' << 2;
    QTest::newRow("ideographic space") << u'\u3000' << 2;
    QTest::newRow("full-width plus") << u'＋' << 2;
    QTest::newRow("full-width tilde") << u'\uff5e' << 2;
    QTest::newRow("wave dash, best fit") << u'\u301c' << 2;
    QTest::newRow("minus sign, best fit") << u'\u2212' << 2;
    QTest::newRow("em dash, best fit") << u'\u2014' << 2;
    QTest::newRow("cent sign, best fit") << u'\u00a2' << 2;
    QTest::newRow("section sign") << u'\u00a7' << 2;
    QTest::newRow("Greek alpha") << u'α' << 2;
    QTest::newRow("NEC circled one") << u'\u2460' << 2;
    QTest::newRow("IBM extension kanji") << u'\u7e8a' << 2;
    QTest::newRow("user-defined area") << u'\ue000' << 2;
    QTest::newRow("yen sign, best fit to one byte") << u'\u00a5' << 1;
    QTest::newRow("e acute, unmappable") << u'\u00e9' << 1;
    QTest::newRow("A macron, unmappable") << u'\u0100' << 1;
    QTest::newRow("kanji outside JIS") << u'\u4e02' << 1;
    QTest::newRow("Thai") << u'\u0e01' << 1;
    QTest::newRow("high surrogate") << u'\xd83d' << 1;
    QTest::newRow("low surrogate") << u'\xde00' << 0;
    QTest::newRow("last BMP") << u'\uffff' << 1;
}

void TestCp932::character()
{
    QFETCH(char16_t, c);
    QFETCH(int, columns);
    QCOMPARE(Cp932Columns(QChar(c)), columns);
}

void TestCp932::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::newRow("empty") << u""_s << 0;
    QTest::newRow("ASCII") << u"_2_3_6+_A"_s << 9;
    QTest::newRow("mixed") << u"1/4回転下から右 _t"_s << 3 + 6 * 2 + 3;
    QTest::newRow("half-width katakana") << u"ﾊﾄﾞｳｹﾝ"_s << 6;
    QTest::newRow("emoji, one column like its replacement") << u"a\U0001F600b"_s << 3;
    QTest::newRow("kanji outside the BMP") << u"\U00020B9F_6"_s << 3;
}

void TestCp932::text()
{
    QFETCH(QString, text);
    QFETCH(int, columns);
    QCOMPARE(Cp932Columns(text), columns);
}

// ICU's Shift_JIS is Windows-31J without Windows' best fit: it agrees with
// the table on every BMP character except the best-fit additions, and one
// private-use character ICU maps that Windows does not.
void TestCp932::agreesWithIcuEncoder()
{
    QStringEncoder probe("Shift_JIS");
    if (!probe.isValid())
        QSKIP("Qt was built without ICU's Shift_JIS");

    const QList<char16_t> differ = {u'\u00a2', u'\u00a3', u'\u00ac', u'\u2014',
                                    u'\u2016', u'\u2212', u'\u301c', u'\uf86f'};
    int doubleByte = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        if (QChar::isSurrogate(char32_t(u)))
            continue;
        const QChar c{char16_t(u)};
        QStringEncoder encoder("Shift_JIS");
        const QByteArray bytes = encoder.encode(QStringView(&c, 1));
        const int icuColumns = encoder.hasError() ? 1 : int(bytes.size());
        doubleByte += icuColumns == 2;
        if (differ.contains(char16_t(u)))
            QCOMPARE_NE(Cp932Columns(c), icuColumns);
        else if (Cp932Columns(c) != icuColumns)
            QFAIL(qPrintable(u"U+%1: table %2, ICU %3"_s.arg(u, 4, 16, QLatin1Char('0')).arg(Cp932Columns(c)).arg(icuColumns)));
    }
    // Sanity check that the encoder worked at all: JIS X 0208, the NEC and
    // IBM extensions and the user-defined area.
    QVERIFY(doubleByte > 9000);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"

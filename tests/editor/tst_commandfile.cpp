#include "commandfile.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

using Encoding = DecodedCommandFile::Encoding;

namespace {

QByteArray Encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8WithMark:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case Encoding::Utf16LE:
        return "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text));
    case Encoding::Utf16BE:
        return "\xFE\xFF" + QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(text));
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Cp932:
        return QStringEncoder("windows-31j").encode(text);
    }
    return {};
}

} // namespace

class TestCommandFile : public QObject {
    Q_OBJECT
private slots:
    void cp932Available();
    void decode_data();
    void decode();
    void decodeBytes_data();
    void decodeBytes();
    void encode_data();
    void encode();
    void roundTrip_data();
    void roundTrip();
    void saveAfterOpenKeepsBytes();
};

void TestCommandFile::cp932Available()
{
    QVERIFY(Cp932DecoderAvailable());
}

// Every encoding with every kind of line break; the text always comes back with CR LF.
void TestCommandFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");

    const QString expected = u"$cmd\r\n【技】_6_A\r\n\r\n$end\r\n最後"_s;
    const QList<std::pair<const char *, QString>> breaks{
        {"CR LF", u"$cmd\r\n【技】_6_A\r\n\r\n$end\r\n最後"_s},
        {"CR", u"$cmd\r【技】_6_A\r\r$end\r最後"_s},
        {"LF", u"$cmd\n【技】_6_A\n\n$end\n最後"_s},
        {"mixed", u"$cmd\r【技】_6_A\n\r\n$end\r\n最後"_s},
    };
    const QList<std::pair<const char *, Encoding>> encodings{
        {"UTF-8 with mark", Encoding::Utf8WithMark}, {"UTF-16 LE", Encoding::Utf16LE},
        {"UTF-16 BE", Encoding::Utf16BE},           {"UTF-8", Encoding::Utf8},
        {"cp932", Encoding::Cp932},
    };
    for (const auto &[encodingName, encoding] : encodings)
        for (const auto &[breakName, source] : breaks)
            QTest::addRow("%s, %s", encodingName, breakName) << Encode(source, encoding) << encoding << expected;

    QTest::newRow("final break kept") << QByteArray("a\nb\n") << Encoding::Utf8 << u"a\r\nb\r\n"_s;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << Encoding::Utf8 << u"a\r\n\r\nb"_s;
}

void TestCommandFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);

    const DecodedCommandFile file = DecodeCommandFile(bytes);
    QCOMPARE(file.text, text);
    QCOMPARE(file.encoding, encoding);
    QVERIFY(!file.hadInvalidBytes);
}

// Hand-made bytes: what the code page really maps, marks, and broken input.
void TestCommandFile::decodeBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("invalid");

    QTest::newRow("empty") << QByteArray() << Encoding::Utf8 << QString() << false;
    QTest::newRow("ASCII") << QByteArray("$cmd\r\n") << Encoding::Utf8 << u"$cmd\r\n"_s << false;
    QTest::newRow("UTF-8 mark only") << QByteArray("\xEF\xBB\xBF") << Encoding::Utf8WithMark << QString()
                                     << false;
    QTest::newRow("UTF-16 LE mark only") << QByteArray("\xFF\xFE") << Encoding::Utf16LE << QString() << false;
    QTest::newRow("UTF-16 BE mark only") << QByteArray("\xFE\xFF") << Encoding::Utf16BE << QString() << false;
    QTest::newRow("second UTF-8 mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a")
                                               << Encoding::Utf8WithMark << u"\uFEFFa"_s << false;
    QTest::newRow("UTF-8 Japanese without mark") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E")
                                                 << Encoding::Utf8 << u"日本語"_s << false;
    QTest::newRow("Shift_JIS Japanese") << QByteArray("\x93\xFA\x96\x7B\x8C\xEA") << Encoding::Cp932
                                        << u"日本語"_s << false;
    QTest::newRow("cp932 wave dash") << QByteArray("\x81\x60") << Encoding::Cp932 << u"\uFF5E"_s << false;
    QTest::newRow("cp932 minus is full-width hyphen-minus")
        << QByteArray("\x81\x7C") << Encoding::Cp932 << u"\uFF0D"_s << false;
    QTest::newRow("cp932 extensions and half-width kana")
        << QByteArray("\x87\x40\xFA\x40\xB1") << Encoding::Cp932 << u"\u2460\u2170\uFF71"_s << false;
    QTest::newRow("UTF-8 minus sign kept") << QByteArray("\xEF\xBB\xBF\xE2\x88\x92") << Encoding::Utf8WithMark
                                           << u"\u2212"_s << false;
    QTest::newRow("UTF-16 BE surrogate pair") << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6)
                                              << Encoding::Utf16BE << u"\U0001F600"_s << false;

    QTest::newRow("UTF-8 with mark, bad byte") << QByteArray("\xEF\xBB\xBF" "a\xFF" "b")
                                               << Encoding::Utf8WithMark << u"a\uFFFDb"_s << true;
    QTest::newRow("UTF-8 with mark, truncated last character")
        << QByteArray("\xEF\xBB\xBF" "a\xE6\x97") << Encoding::Utf8WithMark << u"a\uFFFD\uFFFD"_s << true;
    QTest::newRow("cp932 truncated last character")
        << QByteArray("\x93\xFA\x96") << Encoding::Cp932 << u"日"_s << true;
    QTest::newRow("cp932 unmapped byte") << QByteArray("a\xA0" "b") << Encoding::Cp932 << u"a\x1A" "b"_s
                                         << true;
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFD", 4) << Encoding::Cp932
                            << u"\x00\x01\x1A\x1A"_s << true;
    QTest::newRow("encoded surrogate is not UTF-8") << QByteArray("\xED\xA0\x80") << Encoding::Cp932
                                                    << u"\u605D\x1A"_s << true;
    QTest::newRow("UTF-16 LE odd length") << QByteArray("\xFF\xFE" "a\x00" "b", 5) << Encoding::Utf16LE
                                          << u"a\uFFFD"_s << true;
    QTest::newRow("UTF-16 LE lone high surrogate") << QByteArray("\xFF\xFE\x00\xD8" "a\x00", 6)
                                                   << Encoding::Utf16LE << u"\uFFFDa"_s << true;
    QTest::newRow("UTF-16 LE lone low surrogate") << QByteArray("\xFF\xFE" "a\x00\x00\xDC", 6)
                                                  << Encoding::Utf16LE << u"a\uFFFD"_s << true;
    QTest::newRow("UTF-16 BE high surrogate at the end") << QByteArray("\xFE\xFF\x00" "a\xD8\x3D", 6)
                                                         << Encoding::Utf16BE << u"a\uFFFD"_s << true;
}

void TestCommandFile::decodeBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    QFETCH(bool, invalid);

    const DecodedCommandFile file = DecodeCommandFile(bytes);
    QCOMPARE(file.text, text);
    QCOMPARE(file.encoding, encoding);
    QCOMPARE(file.hadInvalidBytes, invalid);
}

void TestCommandFile::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("line breaks unchanged") << u"a\r\nb\nc\r"_s << QByteArray("\xEF\xBB\xBF" "a\r\nb\nc\r");
    QTest::newRow("Japanese") << u"日本語"_s
                              << QByteArray("\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    QTest::newRow("lone surrogate inside") << u"a\xD800" "b"_s << QByteArray("\xEF\xBB\xBF" "a\xEF\xBF\xBD" "b");
    QTest::newRow("lone surrogate at the end") << u"a\xD800"_s << QByteArray("\xEF\xBB\xBF" "a\xEF\xBF\xBD");
}

void TestCommandFile::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeCommandFile(text), bytes);
}

void TestCommandFile::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("document") << u"$cmd\r\n【技】 _6_A\r\n～−－\u2212\r\n$end\r\n"_s;
    QTest::newRow("leading mark character") << u"\uFEFF$cmd"_s;
    QTest::newRow("outside the BMP") << u"\U0001F600\r\nx"_s;
    QTest::newRow("control characters") << u"\x00\x01\t\x7F"_s;
}

void TestCommandFile::roundTrip()
{
    QFETCH(QString, text);
    const DecodedCommandFile file = DecodeCommandFile(EncodeCommandFile(text));
    QCOMPARE(file.text, text);
    QCOMPARE(file.encoding, Encoding::Utf8WithMark);
    QVERIFY(!file.hadInvalidBytes);
}

void TestCommandFile::saveAfterOpenKeepsBytes()
{
    const QByteArray saved("\xEF\xBB\xBF$cmd\r\n\xE6\x97\xA5\r\n$end");
    QCOMPARE(EncodeCommandFile(DecodeCommandFile(saved).text), saved);
}

QTEST_APPLESS_MAIN(TestCommandFile)
#include "tst_commandfile.moc"

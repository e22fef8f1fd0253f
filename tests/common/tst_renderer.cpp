#include "renderer.h"
#include "synthetic_sheet.h"

#include <QFontMetrics>
#include <QRawFont>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int ColWidth = GlyphSize / 2;

struct Picture
{
    int column;
    int line;
    int cell;
};

QImage Render(const QString &text, bool mirrored = false)
{
    QImage target;
    RenderCommand(target, text, mirrored, SyntheticSheet());
    return target;
}

// Pixels that come from the synthetic sheet; text and background never have
// a blue of 7 with green mirroring red.
int SheetPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qBlue(p) == 7 && qGreen(p) == 255 - qRed(p);
        }
    return count;
}

// Pixels of white text ink (the background's red is 1, text is white).
int InkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qRed(image.pixel(x, y)) > 128;
    return count;
}

QRect Cells(int column, int count, int line = 0)
{
    return QRect(column * ColWidth, line * LinePitch, count * ColWidth, LinePitch);
}

} // namespace

Q_DECLARE_METATYPE(QList<Picture>)

class TestRenderer : public QObject
{
    Q_OBJECT

private slots:
    void splitText_data();
    void splitText();
    void previewFontHasHalfCells();
    void emptyText_data();
    void emptyText();
    void bitmapSize_data();
    void bitmapSize();
    void pictures_data();
    void pictures();
    void textStaysVisible_data();
    void textStaysVisible();
    void textOnColumnGrid_data();
    void textOnColumnGrid();
};

void TestRenderer::splitText_data()
{
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    const QString crlf = u"\r\n"_s;
    QTest::newRow("empty") << crlf << u""_s << QStringList();
    QTest::newRow("one line") << crlf << u"_2_3_6_A"_s << QStringList{u"_2_3_6_A"_s};
    QTest::newRow("two lines") << crlf << u"a\r\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("trailing delimiter") << crlf << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("adjacent delimiters") << crlf << u"a\r\n\r\nb"_s << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("leading delimiter") << crlf << u"\r\na"_s << QStringList{u""_s, u"a"_s};
    QTest::newRow("only delimiters") << crlf << u"\r\n\r\n"_s << QStringList{u""_s, u""_s};
    QTest::newRow("lone LF and CR") << crlf << u"a\nb\rc"_s << QStringList{u"a\nb\rc"_s};
    QTest::newRow("other delimiter") << u"--"_s << u"ab--cd---"_s << QStringList{u"ab"_s, u"cd"_s, u"-"_s};
}

void TestRenderer::splitText()
{
    QFETCH(QString, delimiter);
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    QCOMPARE(SplitText(delimiter, text), parts);
}

void TestRenderer::previewFontHasHalfCells()
{
    const QFontMetrics metrics(PreviewFont());
    QCOMPARE(metrics.horizontalAdvance(u' '), ColWidth);
    QCOMPARE(metrics.horizontalAdvance(u"波動拳"_s), 6 * ColWidth);
    // The fallback rows below rely on the face lacking Thai.
    QVERIFY(!QRawFont::fromFont(PreviewFont()).supportsCharacter(QChar(u'\u0e01')));
}

void TestRenderer::emptyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no text") << u""_s;
    QTest::newRow("one empty line") << u"\r\n"_s;
    QTest::newRow("only line breaks") << u"\r\n\r\n"_s;
}

// No columns or no lines: a null 0 x 0 bitmap, whatever the target held.
void TestRenderer::emptyText()
{
    QFETCH(QString, text);
    QImage target(5, 5, QImage::Format_RGB32);
    RenderCommand(target, text, false, SyntheticSheet());
    QVERIFY(target.isNull());
    QCOMPARE(target.size(), QSize(0, 0));
}

void TestRenderer::bitmapSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << u"abc"_s << 3 << 1;
    QTest::newRow("full-width") << u"波動拳"_s << 6 << 1;
    QTest::newRow("tokens count as text") << u"_2_3_6_A"_s << 8 << 1;
    QTest::newRow("aliases measured expanded") << u"@qdf@A-button"_s << 4 << 1;
    QTest::newRow("tab to next stop") << u"a\tb"_s << 9 << 1;
    QTest::newRow("tab at a stop") << u"abcdefgh\t"_s << 16 << 1;
    QTest::newRow("tab after full-width") << u"波動拳\t_A"_s << 10 << 1;
    QTest::newRow("widest line") << u"ab\r\n波動拳の\r\nc"_s << 8 << 3;
    QTest::newRow("trailing line break") << u"abc\r\n"_s << 3 << 1;
    QTest::newRow("empty lines count") << u"a\r\n\r\n\r\nb"_s << 1 << 4;
}

void TestRenderer::bitmapSize()
{
    QFETCH(QString, text);
    QFETCH(int, columns);
    QFETCH(int, lines);
    const QImage image = Render(text);
    QCOMPARE(image.size(), QSize(columns * ColWidth, lines * LinePitch));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), PreviewBackground);
}

void TestRenderer::pictures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<QList<Picture>>("pictures");
    QTest::newRow("token at column 0") << u"_6"_s << false << QList<Picture>{{0, 0, 7}};
    QTest::newRow("after two full-width") << u"波動_A"_s << false << QList<Picture>{{4, 0, 40}};
    QTest::newRow("after half-width katakana") << u"ﾊﾟ_A"_s << false << QList<Picture>{{2, 0, 40}};
    QTest::newRow("two underscores") << u"__A"_s << false << QList<Picture>{{1, 0, 40}};
    QTest::newRow("underscore caret letter") << u"_^s"_s << false << QList<Picture>{{1, 0, 58}};
    QTest::newRow("caret before token") << u"^_A"_s << false << QList<Picture>{{1, 0, 40}};
    QTest::newRow("lone underscore at end") << u"_A_"_s << false << QList<Picture>{{0, 0, 40}};
    QTest::newRow("no picture tokens") << u"_Q _R ^T ^W _あ _"_s << false << QList<Picture>{};
    QTest::newRow("tokens back to back") << u"_2_3_6_A"_s << false
                                         << QList<Picture>{{0, 0, 3}, {2, 0, 4}, {4, 0, 7}, {6, 0, 40}};
    QTest::newRow("mirrored") << u"_2_3_6_A"_s << true
                              << QList<Picture>{{0, 0, 3}, {2, 0, 2}, {4, 0, 5}, {6, 0, 40}};
    QTest::newRow("carets are never mirrored") << u"^s^S^z_Z"_s << true
                                               << QList<Picture>{{0, 0, 58}, {2, 0, 91}, {4, 0, 65}, {6, 0, 65}};
    QTest::newRow("alias") << u"@qdf"_s << false << QList<Picture>{{0, 0, 23}};
    QTest::newRow("symbol token joins an alias") << u"_@qdf"_s << false << QList<Picture>{{1, 0, 23}};
    QTest::newRow("after a tab") << u"\t_A"_s << false << QList<Picture>{{1, 0, 40}};
    QTest::newRow("after a minus sign") << u"\u2212_A"_s << false << QList<Picture>{{2, 0, 40}};
    QTest::newRow("after a fallback character") << u"\u0e01_A"_s << false << QList<Picture>{{1, 0, 40}};
    QTest::newRow("second line") << u"a\r\n_2"_s << false << QList<Picture>{{0, 1, 3}};
    QTest::newRow("lines apart") << u"_A\r\n\r\n  ^E"_s << false << QList<Picture>{{0, 0, 40}, {2, 2, 69}};
}

void TestRenderer::pictures()
{
    QFETCH(QString, text);
    QFETCH(bool, mirrored);
    QFETCH(QList<Picture>, pictures);

    const QImage sheet = SyntheticSheet();
    QImage image;
    RenderCommand(image, text, mirrored, sheet);
    QCOMPARE(image.format(), QImage::Format_RGB32);
    for (const Picture &p : pictures) {
        QCOMPARE(Region(image, p.column * ColWidth, p.line * LinePitch),
                 SheetCell(sheet, p.cell, QImage::Format_RGB32));
    }
    // Nothing else from the sheet: every cell has 195 pixels of its colour and one marker.
    QCOMPARE(SheetPixels(image), int(pictures.size()) * (GlyphSize * GlyphSize - 1));
}

void TestRenderer::textStaysVisible_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("inked");
    QTest::newRow("plain text") << u"波動拳"_s << Cells(0, 6);
    QTest::newRow("lone underscore at end") << u"abc_"_s << Cells(3, 1);
    QTest::newRow("token without picture") << u"_Q"_s << Cells(0, 2);
    QTest::newRow("caret token without picture") << u"^T"_s << Cells(0, 2);
    QTest::newRow("underscore before full-width") << u"_あ"_s << Cells(0, 3);
    QTest::newRow("second line") << u"_A\r\n_R"_s << Cells(0, 2, 1);
    QTest::newRow("fallback character") << u"\u0e01"_s << Cells(0, 1);
}

void TestRenderer::textStaysVisible()
{
    QFETCH(QString, text);
    QFETCH(QRect, inked);
    const QImage image = Render(text);
    QVERIFY(InkPixels(image, inked) > 0);
}

void TestRenderer::textOnColumnGrid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("blank");
    QTest::addColumn<QRect>("inked");
    // The face draws U+2212 half-width, code page 932 counts it full-width.
    QTest::newRow("after a minus sign") << u"\u2212A"_s << Cells(1, 1) << Cells(2, 1);
    QTest::newRow("after a tab") << u"\tA"_s << Cells(0, 1) << Cells(1, 1);
}

// Text after a character whose face advance differs from its column count
// still starts at its column.
void TestRenderer::textOnColumnGrid()
{
    QFETCH(QString, text);
    QFETCH(QRect, blank);
    QFETCH(QRect, inked);
    const QImage image = Render(text);
    QCOMPARE(InkPixels(image, blank), 0);
    QVERIFY(InkPixels(image, inked) > 0);
}

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"

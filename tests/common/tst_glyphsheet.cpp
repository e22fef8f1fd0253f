// The glyph sheet asset: assets/glyphsheet.png must be exactly what the
// generator makes of assets/glyphsheet.txt, and the pixels must follow the
// cell catalogue (geometry, opacity, colours, mirror pairs).
#include "glyphs.h"
#include "glyphsheet_source.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPoint>
#include <QTest>

#ifndef RENVIKA_GLYPHSHEET_SOURCE
#error "RENVIKA_GLYPHSHEET_SOURCE must name assets/glyphsheet.txt"
#endif
#ifndef RENVIKA_GLYPHSHEET_PNG
#error "RENVIKA_GLYPHSHEET_PNG must name assets/glyphsheet.png"
#endif

namespace {

constexpr QRgb Yellow = qRgb(255, 248, 64);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb BallRed = qRgb(236, 0, 22);
constexpr QRgb LightBlue = qRgb(78, 161, 246);
constexpr QRgb Rose = qRgb(235, 104, 119);
constexpr QRgb GuardGreen = qRgb(31, 195, 50);
constexpr QRgb ButtonCycle[10] = {qRgb(247, 40, 39),   qRgb(248, 210, 81), qRgb(128, 194, 105),
                                  qRgb(68, 138, 202),  qRgb(234, 104, 162), qRgb(137, 87, 161),
                                  qRgb(0, 183, 238),   qRgb(174, 93, 161), qRgb(248, 181, 81),
                                  qRgb(209, 192, 165)};

QImage LoadCommittedPng()
{
    QImageReader reader(QStringLiteral(RENVIKA_GLYPHSHEET_PNG), "png");
    return reader.read();
}

QImage GenerateFromSource(QString *error)
{
    QFile file(QStringLiteral(RENVIKA_GLYPHSHEET_SOURCE));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open the source");
        return QImage();
    }
    return GlyphSheetFromSource(QString::fromUtf8(file.readAll()), error);
}

// The cell's pixels, opaque RGB, row by row.
QList<QRgb> CellPixels(const QImage &sheet, int cell)
{
    QList<QRgb> pixels;
    for (int y = 0; y < GlyphSize; ++y)
        for (int x = 0; x < GlyphSize; ++x)
            pixels.append(sheet.pixel(cell * GlyphSize + x, y));
    return pixels;
}

QRgb CellPixel(const QImage &sheet, int cell, int x, int y)
{
    return sheet.pixel(cell * GlyphSize + x, y);
}

QString Describe(QRgb c)
{
    return QStringLiteral("(%1,%2,%3,a%4)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)).arg(qAlpha(c));
}

// A well-formed source with every cell background only; mutated by the error tests.
QString BlankSource()
{
    QString text = QStringLiteral("colour . 1 42 77 background\ncolour W 255 255 255 white\n");
    for (int n = 0; n < GlyphCellCount; ++n) {
        text += QStringLiteral("cell %1\n").arg(n);
        for (int y = 0; y < GlyphSize; ++y)
            text += QString(GlyphSize, u'.') + u'\n';
    }
    return text;
}

} // namespace

class TestGlyphSheet : public QObject
{
    Q_OBJECT

private:
    QImage sheet; // the committed PNG, as ARGB32

private slots:
    void initTestCase()
    {
        sheet = LoadCommittedPng();
        QVERIFY2(!sheet.isNull(), "assets/glyphsheet.png cannot be read as PNG");
        sheet = sheet.convertToFormat(QImage::Format_ARGB32);
    }

    // (a) The committed PNG is what the generator makes of the committed source.
    void committedPngMatchesSource()
    {
        QString error;
        const QImage generated = GenerateFromSource(&error);
        QVERIFY2(!generated.isNull(), qPrintable(QStringLiteral("source is malformed: ") + error));
        QVERIFY(error.isEmpty());
        QCOMPARE(generated.size(), sheet.size());
        const QImage expected = generated.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                if (expected.pixel(x, y) != sheet.pixel(x, y)) {
                    QFAIL(qPrintable(QStringLiteral("cell %1 pixel (%2,%3): PNG %4, source %5 - "
                                                    "run the regenerate-glyphsheet target")
                                         .arg(x / GlyphSize).arg(x % GlyphSize).arg(y)
                                         .arg(Describe(sheet.pixel(x, y)), Describe(expected.pixel(x, y)))));
                }
            }
        }
    }

    // (b) 1400 x 14, stored with an 8-bit alpha channel, alpha 255 everywhere.
    void geometryAndOpacity()
    {
        QCOMPARE(sheet.width(), GlyphSize * GlyphCellCount);
        QCOMPARE(sheet.width(), 1400);
        QCOMPARE(sheet.height(), GlyphSize);
        QImageReader reader(QStringLiteral(RENVIKA_GLYPHSHEET_PNG), "png");
        QCOMPARE(reader.imageFormat(), QImage::Format_ARGB32); // 8-bit RGBA PNG
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                QVERIFY2(qAlpha(sheet.pixel(x, y)) == 255,
                         qPrintable(QStringLiteral("pixel (%1,%2) is not opaque").arg(x).arg(y)));
    }

    // (c) Cells 94-99 are background only; every other cell draws something,
    // and every cell's four corner pixels are background, so that neighbouring
    // glyphs never touch diagonally.
    void cellContent_data()
    {
        QTest::addColumn<int>("cell");
        for (int n = 0; n < GlyphCellCount; ++n)
            QTest::addRow("cell %d", n) << n;
    }
    void cellContent()
    {
        QFETCH(int, cell);
        const QList<QRgb> pixels = CellPixels(sheet, cell);
        const auto drawn = std::count_if(pixels.begin(), pixels.end(),
                                         [](QRgb c) { return c != PreviewBackground; });
        if (cell >= 94)
            QCOMPARE(drawn, 0);
        else
            QVERIFY2(drawn > 0, "cell is empty");
        for (int y : {0, GlyphSize - 1})
            for (int x : {0, GlyphSize - 1})
                QVERIFY2(CellPixel(sheet, cell, x, y) == PreviewBackground,
                         qPrintable(QStringLiteral("corner (%1,%2) is not background").arg(x).arg(y)));
    }

    // (d) Mirrored tokens show mirror images: exact left-right reflections.
    void mirrorPairs_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        const int pairs[][2] = {{2, 4},   {5, 7},   {8, 10},  {12, 13}, {14, 16}, {15, 17},
                                {18, 22}, {19, 23}, {20, 24}, {21, 25}, {26, 29}, {27, 28}};
        for (const auto &p : pairs)
            QTest::addRow("%d/%d", p[0], p[1]) << p[0] << p[1];
    }
    void mirrorPairs()
    {
        QFETCH(int, left);
        QFETCH(int, right);
        for (int y = 0; y < GlyphSize; ++y)
            for (int x = 0; x < GlyphSize; ++x)
                QVERIFY2(CellPixel(sheet, left, x, y) == CellPixel(sheet, right, GlyphSize - 1 - x, y),
                         qPrintable(QStringLiteral("pixel (%1,%2) differs from its reflection").arg(x).arg(y)));
    }

    // Pictures without a side are left-right symmetric.
    void symmetricCells_data()
    {
        QTest::addColumn<int>("cell");
        for (int n : {0, 1, 3, 9, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 92, 93})
            QTest::addRow("cell %d", n) << n;
    }
    void symmetricCells()
    {
        QFETCH(int, cell);
        for (int y = 0; y < GlyphSize; ++y)
            for (int x = 0; x < GlyphSize / 2; ++x)
                QVERIFY2(CellPixel(sheet, cell, x, y) == CellPixel(sheet, cell, GlyphSize - 1 - x, y),
                         qPrintable(QStringLiteral("pixel (%1,%2) differs from its reflection").arg(x).arg(y)));
    }

    // (e) Catalogue colours. "only" cells are drawn in that colour and background
    // alone; button cells are filled with the colour and have white labels.
    void catalogueColours_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<bool>("only");      // nothing but colour and background
        QTest::addColumn<bool>("whiteLabel"); // a button whose fill is `colour`, label white
        for (int n : {0, 1, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89})
            QTest::addRow("symbol %d white", n) << n << White << true << false;
        for (int n = 2; n <= 29; ++n) {
            if (n != 6)
                QTest::addRow("arrow %d yellow", n) << n << Yellow << true << false;
        }
        QTest::addRow("ball 6 red") << 6 << BallRed << false << false;
        for (int n = 30; n <= 65; ++n)
            QTest::addRow("button %d cycle %d", n, (n - 30) % 10) << n << ButtonCycle[(n - 30) % 10] << false << true;
        QTest::addRow("P light blue") << 66 << LightBlue << false << true;
        QTest::addRow("K rose") << 67 << Rose << false << true;
        QTest::addRow("G green") << 68 << GuardGreen << false << true;
        for (int n : {69, 70, 71})
            QTest::addRow("punch %d light blue", n) << n << LightBlue << false << true;
        for (int n : {72, 73, 74})
            QTest::addRow("kick %d rose", n) << n << Rose << false << true;
    }
    void catalogueColours()
    {
        QFETCH(int, cell);
        QFETCH(QRgb, colour);
        QFETCH(bool, only);
        QFETCH(bool, whiteLabel);
        const QList<QRgb> pixels = CellPixels(sheet, cell);
        QVERIFY2(pixels.contains(colour), qPrintable(QStringLiteral("no pixel of ") + Describe(colour)));
        if (only) {
            for (QRgb c : pixels)
                QVERIFY2(c == colour || c == PreviewBackground, qPrintable(QStringLiteral("stray colour ") + Describe(c)));
        }
        if (whiteLabel) {
            // The fill shows just inside the rim above and below the label,
            // and covers a good part of the circle.
            for (const QPoint p : {QPoint(6, 1), QPoint(7, 1), QPoint(6, 12), QPoint(7, 12)})
                QCOMPARE(Describe(CellPixel(sheet, cell, p.x(), p.y())), Describe(colour));
            QVERIFY2(pixels.count(colour) >= 24, qPrintable(QStringLiteral("only %1 fill pixels").arg(pixels.count(colour))));
            QVERIFY2(pixels.contains(White), "no white label");
        }
    }

    // The yellow system buttons 90-93 are round and yellow-filled with a label.
    void systemButtons_data()
    {
        QTest::addColumn<int>("cell");
        for (int n : {90, 91, 92, 93})
            QTest::addRow("cell %d", n) << n;
    }
    void systemButtons()
    {
        QFETCH(int, cell);
        const QRgb centreRow = CellPixel(sheet, cell, 0, 6);
        QVERIFY(centreRow != PreviewBackground); // the circle reaches the cell's sides
        const QRgb fill = CellPixel(sheet, cell, 3, 3);
        QVERIFY2(qRed(fill) > 200 && qGreen(fill) > 180 && qBlue(fill) < 120, qPrintable(Describe(fill)));
        const QList<QRgb> pixels = CellPixels(sheet, cell);
        const auto dark = std::count_if(pixels.begin(), pixels.end(), [](QRgb c) {
            return c != PreviewBackground && qGray(c) < 100;
        });
        QVERIFY2(dark >= 8, "no dark label");
    }

    // (f) Malformed sources are reported, not crashed on.
    void malformedSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expectedError");
        const QString blank = BlankSource();
        const QString row = QString(GlyphSize, u'.') + u'\n';
        auto firstRowOfCell = [&](int n) {
            return blank.indexOf(QStringLiteral("cell %1\n").arg(n)) + QStringLiteral("cell %1\n").arg(n).size();
        };
        QString s;

        s = blank;
        s.replace(firstRowOfCell(5), row.size(), QString(GlyphSize - 1, u'.') + u'\n');
        QTest::newRow("short row") << s << QStringLiteral("row of cell 5 has 13 characters, expected 14");

        s = blank;
        s.replace(firstRowOfCell(7), row.size(), QString(GlyphSize + 1, u'.') + u'\n');
        QTest::newRow("long row") << s << QStringLiteral("row of cell 7 has 15 characters");

        s = blank;
        s.replace(firstRowOfCell(9), row.size(), QStringLiteral("......Q.......\n"));
        QTest::newRow("unknown character") << s << QStringLiteral("unknown palette character 'Q' in cell 9");

        s = blank;
        s.replace(firstRowOfCell(42), row.size(), QString());
        QTest::newRow("13 rows") << s << QStringLiteral("cell 42 has 13 rows, expected 14");

        s = blank;
        s.truncate(blank.indexOf(QStringLiteral("cell 99\n")));
        QTest::newRow("missing cell") << s << QStringLiteral("cell 99 is missing");

        s = blank;
        s.replace(QStringLiteral("cell 50\n"), QStringLiteral("cell 49\n"));
        QTest::newRow("duplicate cell") << s << QStringLiteral("cell 49 defined twice");

        s = blank;
        s.replace(QStringLiteral("cell 3\n"), QStringLiteral("cell 100\n"));
        QTest::newRow("cell out of range") << s << QStringLiteral("cell number must be 0..99");

        s = blank;
        s.replace(QStringLiteral("255 255 255"), QStringLiteral("255 256 255"));
        QTest::newRow("colour out of range") << s << QStringLiteral("colour component \"256\" is not 0..255");

        s = blank;
        s.prepend(row);
        QTest::newRow("row before any cell") << s << QStringLiteral("line 1: pixel row outside a cell");

        QTest::newRow("empty") << QString() << QStringLiteral("cell 0 is missing");
    }
    void malformedSource()
    {
        QFETCH(QString, source);
        QFETCH(QString, expectedError);
        QString error;
        const QImage image = GlyphSheetFromSource(source, &error);
        QVERIFY(image.isNull());
        QVERIFY2(error.contains(expectedError), qPrintable(error));
    }

    // A cell-local colour applies to its own cell only; the blank source is valid.
    void wellFormedSource()
    {
        QString s = BlankSource();
        QString error;
        QImage image = GlyphSheetFromSource(s, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), QSize(1400, 14));
        QCOMPARE(image.pixel(700, 7), PreviewBackground);

        const QString cell1 = QStringLiteral("cell 1\n");
        s.insert(s.indexOf(cell1) + cell1.size(), QStringLiteral("colour o 10 20 30 fill\n"));
        const QString cell2 = QStringLiteral("cell 2\n");
        s.replace(s.indexOf(cell2) + cell2.size(), GlyphSize, QStringLiteral("o............."));
        image = GlyphSheetFromSource(s, &error);
        QVERIFY(image.isNull()); // 'o' is local to cell 1
        QVERIFY2(error.contains(QStringLiteral("unknown palette character 'o' in cell 2")), qPrintable(error));

        s.replace(s.indexOf(cell1) + cell1.size() + QStringLiteral("colour o 10 20 30 fill\n").size(), GlyphSize,
                  QStringLiteral(".............o"));
        s.replace(s.indexOf(cell2) + cell2.size(), GlyphSize, QString(GlyphSize, u'.'));
        image = GlyphSheetFromSource(s, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.pixel(GlyphSize + 13, 0), qRgb(10, 20, 30));
        QCOMPARE(qAlpha(image.pixel(GlyphSize + 13, 0)), 255);
    }
};

QTEST_MAIN(TestGlyphSheet)
#include "tst_glyphsheet.moc"

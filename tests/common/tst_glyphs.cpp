#include "glyphs.h"
#include "synthetic_sheet.h"

#include <QPainter>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Expected
{
    QString token;
    int cell;
    int mirroredCell;
};

// The underscore vocabulary, written out independently of the library's table.
QList<Expected> UnderscoreTokens()
{
    QList<Expected> tokens = {
        {u"_+"_s, 0, 0},   {u"_."_s, 1, 1},   {u"_1"_s, 2, 4},   {u"_2"_s, 3, 3},   {u"_3"_s, 4, 2},
        {u"_4"_s, 5, 7},   {u"_5"_s, 6, 6},   {u"_6"_s, 7, 5},   {u"_7"_s, 8, 10},  {u"_8"_s, 9, 9},
        {u"_9"_s, 10, 8},  {u"_N"_s, 11, 11}, {u"_P"_s, 66, 66}, {u"_K"_s, 67, 67}, {u"_G"_s, 68, 68},
        {u"_Z"_s, 65, 65}, {u"_k"_s, 14, 16}, {u"_l"_s, 15, 17}, {u"_m"_s, 16, 14}, {u"_n"_s, 17, 15},
        {u"_o"_s, 18, 22}, {u"_p"_s, 19, 23}, {u"_q"_s, 20, 24}, {u"_r"_s, 21, 25}, {u"_s"_s, 22, 18},
        {u"_t"_s, 23, 19}, {u"_u"_s, 24, 20}, {u"_v"_s, 25, 21}, {u"_w"_s, 26, 29}, {u"_x"_s, 27, 28},
        {u"_y"_s, 28, 27}, {u"_z"_s, 29, 26}, {u"_L"_s, 12, 13}, {u"_M"_s, 13, 12}, {u"_S"_s, 90, 90},
        {u"_`"_s, 75, 75}, {u"_@"_s, 76, 76}, {u"_)"_s, 77, 77}, {u"_("_s, 78, 78}, {u"_*"_s, 79, 79},
        {u"_&"_s, 80, 80}, {u"_%"_s, 81, 81}, {u"_$"_s, 82, 82}, {u"_#"_s, 83, 83}, {u"_]"_s, 84, 84},
        {u"_["_s, 85, 85}, {u"_{"_s, 86, 86}, {u"_}"_s, 87, 87}, {u"_<"_s, 88, 88}, {u"_>"_s, 89, 89},
    };
    for (int i = 0; i < 4; ++i) // buttons A to D
        tokens.append({u"_"_s + QChar(u'A' + i), 40 + i, 40 + i});
    for (int i = 0; i < 10; ++i) // buttons 1 to 10
        tokens.append({u"_"_s + QChar(u'a' + i), 30 + i, 30 + i});
    return tokens;
}

QList<Expected> CaretTokens()
{
    QList<Expected> tokens = {
        {u"^E"_s, 69, 69}, {u"^F"_s, 70, 70}, {u"^G"_s, 71, 71}, {u"^H"_s, 72, 72}, {u"^I"_s, 73, 73},
        {u"^J"_s, 74, 74}, {u"^S"_s, 91, 91}, {u"^+"_s, 92, 92}, {u"^-"_s, 93, 93},
    };
    for (int i = 0; i < 22; ++i) // buttons E to Z
        tokens.append({u"^"_s + QChar(u'e' + i), 44 + i, 44 + i});
    return tokens;
}

constexpr QRgb CanvasColour = qRgb(9, 9, 9);
const QRect Dest(5, 3, GlyphSize, GlyphSize); // off the origin, to catch a copy to (0, 0)

QImage Canvas()
{
    QImage canvas(40, 30, QImage::Format_RGB32);
    canvas.fill(CanvasColour);
    return canvas;
}

// Every token the lookup accepts among all two-character strings with the given lead.
QSet<QString> AcceptedTokens(QChar lead, bool mirrored, bool caret)
{
    QSet<QString> accepted;
    for (int second = 0; second <= 0xFFFF; ++second) {
        const QString token = QString(lead) + QChar(char16_t(second));
        if (caret ? CaretGlyphCell(token).has_value() : UnderscoreGlyphCell(token, mirrored).has_value())
            accepted.insert(token);
    }
    return accepted;
}

} // namespace

class TestGlyphs : public QObject
{
    Q_OBJECT

private slots:
    void underscoreToken_data();
    void underscoreToken();
    void caretToken_data();
    void caretToken();
    void vocabulariesAreExactlyTheTables_data();
    void vocabulariesAreExactlyTheTables();
    void notAToken_data();
    void notAToken();
    void copyIsOpaqueAndKeepsPainterState();

private:
    const QImage sheet = SyntheticSheet();
};

void TestGlyphs::underscoreToken_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<int>("cell");
    for (const Expected &e : UnderscoreTokens()) {
        QTest::addRow("%s", qPrintable(e.token)) << e.token << false << e.cell;
        QTest::addRow("%s mirrored", qPrintable(e.token)) << e.token << true << e.mirroredCell;
    }
}

void TestGlyphs::underscoreToken()
{
    QFETCH(QString, token);
    QFETCH(bool, mirrored);
    QFETCH(int, cell);

    QCOMPARE(UnderscoreGlyphCell(token, mirrored), std::optional<int>(cell));

    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        QVERIFY(DrawUnderscoreGlyph(painter, sheet, Dest, token, mirrored));
    }
    QCOMPARE(Region(canvas, Dest.x(), Dest.y()), SheetCell(sheet, cell, canvas.format()));
    QCOMPARE(canvas.pixel(Dest.x() - 1, Dest.y()), CanvasColour);
    QCOMPARE(canvas.pixel(Dest.right() + 1, Dest.bottom() + 1), CanvasColour);
}

void TestGlyphs::caretToken_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("cell");
    for (const Expected &e : CaretTokens())
        QTest::addRow("%s", qPrintable(e.token)) << e.token << e.cell;
}

void TestGlyphs::caretToken()
{
    QFETCH(QString, token);
    QFETCH(int, cell);

    QCOMPARE(CaretGlyphCell(token), std::optional<int>(cell));

    QImage canvas = Canvas();
    {
        QPainter painter(&canvas);
        QVERIFY(DrawCaretGlyph(painter, sheet, Dest, token));
    }
    QCOMPARE(Region(canvas, Dest.x(), Dest.y()), SheetCell(sheet, cell, canvas.format()));
}

void TestGlyphs::vocabulariesAreExactlyTheTables_data()
{
    QTest::addColumn<bool>("caret");
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("underscore") << false << false;
    QTest::newRow("underscore mirrored") << false << true;
    QTest::newRow("caret") << true << false;
}

// No token beyond the tables has a picture, whatever its second character.
void TestGlyphs::vocabulariesAreExactlyTheTables()
{
    QFETCH(bool, caret);
    QFETCH(bool, mirrored);

    QSet<QString> expected;
    for (const Expected &e : caret ? CaretTokens() : UnderscoreTokens())
        expected.insert(e.token);
    QCOMPARE(expected.size(), caret ? 31 : 64);
    QCOMPARE(AcceptedTokens(caret ? u'^' : u'_', mirrored, caret), expected);
}

void TestGlyphs::notAToken_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("caret");
    for (const QString &token : {u"_Q"_s, u"_R"_s, u"_E"_s, u"__"_s, u"_"_s, u""_s, u"_AB"_s, u"_A "_s,
                                 u"^s"_s, u"^S"_s, u"A_"_s, u"_Ａ"_s})
        QTest::addRow("underscore '%s'", qPrintable(token)) << token << false;
    for (const QString &token : {u"^T"_s, u"^U"_s, u"^V"_s, u"^W"_s, u"^A"_s, u"^^"_s, u"^"_s, u""_s,
                                 u"^sx"_s, u"_A"_s, u"_S"_s, u"s^"_s})
        QTest::addRow("caret '%s'", qPrintable(token)) << token << true;
}

void TestGlyphs::notAToken()
{
    QFETCH(QString, token);
    QFETCH(bool, caret);

    QImage canvas = Canvas();
    const QImage untouched = canvas.copy();
    {
        QPainter painter(&canvas);
        for (const bool mirrored : {false, true}) {
            QVERIFY(!(caret ? CaretGlyphCell(token) : UnderscoreGlyphCell(token, mirrored)));
            QVERIFY(!(caret ? DrawCaretGlyph(painter, sheet, Dest, token)
                            : DrawUnderscoreGlyph(painter, sheet, Dest, token, mirrored)));
        }
    }
    QCOMPARE(canvas, untouched);
}

// The cell replaces what is under it, even on a canvas with alpha and with a
// painter set to blend; the painter is left as it was for the text after it.
void TestGlyphs::copyIsOpaqueAndKeepsPainterState()
{
    QImage translucentSheet = sheet.copy();
    translucentSheet.setPixel(40 * GlyphSize, 0, qRgba(10, 20, 30, 128));

    QImage canvas(GlyphSize, GlyphSize, QImage::Format_ARGB32);
    canvas.fill(qRgba(200, 100, 50, 255));
    {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        QVERIFY(DrawUnderscoreGlyph(painter, translucentSheet, canvas.rect(), u"_A", false));
        QCOMPARE(painter.compositionMode(), QPainter::CompositionMode_Plus);
    }
    QCOMPARE(canvas.pixel(0, 0), qRgba(10, 20, 30, 128));
    QCOMPARE(canvas.pixel(5, 5), SyntheticCellColour(40));
}

QTEST_GUILESS_MAIN(TestGlyphs)
#include "tst_glyphs.moc"

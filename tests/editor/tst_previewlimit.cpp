#include "previewlimit.h"

#include "cp932.h"
#include "glyphs.h"
#include "renderer.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString Lines(int count, const QString &line)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(line);
    return lines.join(u"\r\n"_s);
}

// The picture the renderer would make of text, without making it.
qint64 PictureArea(const QString &text)
{
    const QStringList lines = text.split(u"\r\n"_s);
    qint64 widest = 0;
    for (const QString &line : lines) {
        qint64 columns = 0;
        for (const QChar c : line)
            columns += c == u'\t' ? 8 : (c.unicode() < 0x80 ? 1 : 2);
        widest = std::max(widest, columns);
    }
    return lines.size() * LinePitch * widest * (GlyphSize / 2);
}

} // namespace

class TestPreviewLimit : public QObject {
    Q_OBJECT
private slots:
    void unchangedWithinLimits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("one line") << u"_6_A 波動拳"_s;
        QTest::newRow("750 lines of 60 columns") << Lines(750, QString(60, u'x'));
        QTest::newRow("longest line allowed") << QString(MaxPreviewColumns, u'x');
        QTest::newRow("full-width at the column limit") << QString(MaxPreviewColumns / 2, u'技');
        QTest::newRow("many short lines") << Lines(40000, u"_6"_s);
    }
    void unchangedWithinLimits()
    {
        QFETCH(QString, text);
        const PreviewText fitted = FitPreviewText(text);
        QVERIFY(!fitted.cut);
        QCOMPARE(fitted.text, text);
    }

    void largeBlocksAreCutWithANote_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("totalLines");
        QTest::newRow("20,000 lines") << Lines(20000, QString(60, u'技')) << 20000;
        QTest::newRow("one line of 2 MB") << QString(2'000'000, u'a') << 1;
        QTest::newRow("one column too many") << QString(MaxPreviewColumns + 1, u'x') << 1;
        QTest::newRow("tabs widen lines") << QString(MaxPreviewColumns / 8 + 1, u'\t') << 1;
        QTest::newRow("unpaired low surrogates, one column each")
            << QString(MaxPreviewColumns + 1, QChar(0xDC00)) << 1;
        QTest::newRow("wide lines, then many") << Lines(3, QString(5000, u'w')) + u"\r\n"_s + Lines(30000, u"x"_s)
                                               << 30003;
    }
    void largeBlocksAreCutWithANote()
    {
        QFETCH(QString, text);
        QFETCH(int, totalLines);
        const PreviewText fitted = FitPreviewText(text);
        QVERIFY(fitted.cut);
        QVERIFY(PictureArea(fitted.text) <= MaxPreviewPixels);
        const QStringList shown = fitted.text.split(u"\r\n"_s);
        QVERIFY(shown.size() >= 3);
        QVERIFY(shown.constLast().contains(u"全 %1 行中 %2 行"_s.arg(totalLines).arg(shown.size() - 2)));
        QCOMPARE(shown.at(shown.size() - 2), QString());
        // What is shown is the start of the block, line by line.
        const QStringList original = text.split(u"\r\n"_s);
        for (qsizetype i = 0; i < shown.size() - 2; ++i)
            QVERIFY2(original.at(i).startsWith(shown.at(i)), qPrintable(u"line %1"_s.arg(i)));
        QVERIFY(!shown.constFirst().isEmpty());
    }

    void cutKeepsSurrogatePairsWhole()
    {
        // U+20B9F, a kanji outside the BMP: two code units, one column.
        const QString kanji = u"\U00020B9F"_s;
        QString line = u"x"_s;
        while (Cp932Columns(line) < MaxPreviewColumns + 10)
            line += kanji;
        const PreviewText fitted = FitPreviewText(line);
        QVERIFY(fitted.cut);
        const QString first = fitted.text.split(u"\r\n"_s).constFirst();
        QVERIFY(!first.back().isHighSurrogate());
        QVERIFY(Cp932Columns(first) >= MaxPreviewColumns / 2); // pairs may be counted twice wide, never less
    }

    // The whole cut preview can really be drawn, and is as tall as its lines.
    void cutPreviewRenders()
    {
        const QString text = FitPreviewText(Lines(20000, u"_6_A 技"_s)).text;
        QImage sheet(GlyphSize * GlyphCellCount, GlyphSize, QImage::Format_RGB32);
        sheet.fill(Qt::red);
        QImage picture;
        RenderCommand(picture, text, false, sheet);
        QVERIFY(!picture.isNull());
        QCOMPARE(qint64(picture.height()), qint64(text.count(u"\r\n"_s) + 1) * LinePitch);
        QVERIFY(qint64(picture.width()) * picture.height() <= MaxPreviewPixels);
    }
};

QTEST_MAIN(TestPreviewLimit)
#include "tst_previewlimit.moc"

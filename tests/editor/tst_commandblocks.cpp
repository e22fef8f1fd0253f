#include "commandblocks.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandBlocks : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void initialDocument();
};

void TestCommandBlocks::parse_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("texts");

    // Line breaks: every kind ends a line, and the text always uses CR LF.
    QTest::newRow("empty document") << QString() << QStringList() << QStringList();
    QTest::newRow("CR LF") << u"$cmd\r\nCap\r\nbody\r\n$end\r\n"_s << QStringList{u"Cap"_s}
                           << QStringList{u"Cap\r\nbody"_s};
    QTest::newRow("LF") << u"$cmd\nCap\nbody\n$end\n"_s << QStringList{u"Cap"_s}
                        << QStringList{u"Cap\r\nbody"_s};
    QTest::newRow("CR") << u"$cmd\rCap\rbody\r$end\r"_s << QStringList{u"Cap"_s}
                        << QStringList{u"Cap\r\nbody"_s};
    QTest::newRow("no break after $end") << u"$cmd\nA\n$end"_s << QStringList{u"A"_s}
                                         << QStringList{u"A"_s};
    QTest::newRow("CR then CR LF is two breaks") << u"$cmd\r\r\nA\r\n$end"_s << QStringList{QString()}
                                                 << QStringList{u"A"_s};
    QTest::newRow("LF then CR is two breaks") << u"$cmd\nA\n\rB\n$end"_s << QStringList{u"A"_s}
                                              << QStringList{u"A\r\n\r\nB"_s};

    // Markers are case-sensitive four-character prefixes at the line start.
    QTest::newRow("longer markers") << u"$cmdx\nA\n$endless\n"_s << QStringList{u"A"_s}
                                    << QStringList{u"A"_s};
    QTest::newRow("capitals are content") << u"$CMD\n$cmd\nA\n$End\n$END\n$end"_s
                                          << QStringList{u"A"_s} << QStringList{u"A\r\n$End\r\n$END"_s};
    QTest::newRow("indented markers are content") << u"$cmd\n $cmd\n\t$end\n$end"_s
                                                  << QStringList{u" $cmd"_s}
                                                  << QStringList{u"$cmd\r\n\t$end"_s};
    QTest::newRow("short marker lines are content") << u"$cmd\n$cm\n$en\n$end"_s << QStringList{u"$cm"_s}
                                                    << QStringList{u"$cm\r\n$en"_s};
    QTest::newRow("no $end") << u"$cmd\nA\nB\n"_s << QStringList() << QStringList();
    QTest::newRow("lines after the last $end dropped") << u"$cmd\nA\n$end\n$cmd\nB\n"_s
                                                       << QStringList{u"A"_s} << QStringList{u"A"_s};

    // The accumulator is reset by "$cmd" only.
    QTest::newRow("$end again re-emits") << u"$cmd\nA\n$end\nB\n$end\n"_s
                                         << QStringList{u"A"_s, u"A"_s}
                                         << QStringList{u"A"_s, u"A\r\nB"_s};
    QTest::newRow("$end before any $cmd") << u"$info x\ny\n$end\n$cmd\nz\n$end\n"_s
                                          << QStringList{u"$info x"_s, u"z"_s}
                                          << QStringList{u"$info x\r\ny"_s, u"z"_s};
    QTest::newRow("$info discarded by $cmd") << u"$info x\n$cmd\nA\n$end\n"_s << QStringList{u"A"_s}
                                             << QStringList{u"A"_s};
    QTest::newRow("nested $cmd restarts") << u"$cmd\nlost\n$cmd\nB\n$end\n"_s << QStringList{u"B"_s}
                                          << QStringList{u"B"_s};
    QTest::newRow("empty block") << u"$cmd\n$end\n"_s << QStringList{QString()} << QStringList{QString()};
    QTest::newRow("$end alone") << u"$end"_s << QStringList{QString()} << QStringList{QString()};

    // Caption: first content line as is. Text: trimmed of characters <= 32.
    QTest::newRow("caption untrimmed, text trimmed")
        << u"$cmd\n  indented  \n\tnext\t\n$end\n"_s << QStringList{u"  indented  "_s}
        << QStringList{u"indented  \r\n\tnext"_s};
    QTest::newRow("empty first line") << u"$cmd\n\nA\n\n$end\n"_s << QStringList{QString()}
                                      << QStringList{u"A"_s};
    QTest::newRow("blank lines only") << u"$cmd\n  \n\t\n$end\n"_s << QStringList{u"  "_s}
                                      << QStringList{QString()};
    QTest::newRow("control characters trimmed")
        << u"$cmd\n\x01\x1f A\x7f\x00\n$end"_s << QStringList{u"\x01\x1f A\x7f\x00"_s}
        << QStringList{u"A\x7f"_s};
    QTest::newRow("ideographic and no-break spaces kept")
        << u"$cmd\n\u3000A\u00a0\n$end"_s << QStringList{u"\u3000A\u00a0"_s}
        << QStringList{u"\u3000A\u00a0"_s};
    QTest::newRow("inner blank lines kept") << u"$cmd\n A\n\n \nB \n$end"_s << QStringList{u" A"_s}
                                            << QStringList{u"A\r\n\r\n \r\nB"_s};
}

void TestCommandBlocks::parse()
{
    QFETCH(QString, document);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, texts);

    QStringList gotCaptions, gotTexts;
    for (const CommandBlock &block : ParseCommandBlocks(document)) {
        gotCaptions << block.caption;
        gotTexts << block.text;
    }
    QCOMPARE(gotCaptions, captions);
    QCOMPARE(gotTexts, texts);
}

void TestCommandBlocks::initialDocument()
{
    QFile file(QStringLiteral(RENVIKA_INITIAL_DOCUMENT));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<CommandBlock> blocks = ParseCommandBlocks(QString::fromUtf8(file.readAll()));
    QCOMPARE(blocks.size(), 2);
    QCOMPARE(blocks[0].caption, u"【基本テンプレート】"_s);
    QCOMPARE(blocks[1].caption, u"【書式】"_s);
    QVERIFY(blocks[0].text.startsWith(u"【基本テンプレート】\r\n---"_s));
}

QTEST_APPLESS_MAIN(TestCommandBlocks)
#include "tst_commandblocks.moc"

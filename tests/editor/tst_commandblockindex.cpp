#include "commandblockindex.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The document as a text editor holds it: lines without their breaks.
struct LineDocument {
    QStringList lines;

    CommandBlockIndex::LineReader reader() const
    {
        return [this](int line) { return lines.at(line); };
    }
    QList<CommandBlock> fullParse() const { return ParseCommandBlocks(lines.join(u"\r\n"_s)); }
    void replace(int first, int removed, const QStringList &inserted)
    {
        lines.remove(first, removed);
        for (qsizetype i = 0; i < inserted.size(); ++i)
            lines.insert(first + i, inserted[i]);
    }
};

// Checks that `splice` turns `before` into `after` and is as small as it claims.
bool SpliceExplains(const QList<CommandBlock> &before, const QList<CommandBlock> &after,
                    const BlockSplice &splice)
{
    if (splice.first < 0 || splice.removed < 0 || splice.added < 0
        || splice.first + splice.removed > before.size() || splice.first + splice.added > after.size())
        return false;
    QList<CommandBlock> applied = before;
    applied.remove(splice.first, splice.removed);
    for (qsizetype i = 0; i < splice.added; ++i)
        applied.insert(splice.first + i, after[splice.first + i]);
    if (applied != after)
        return false;
    // Rows reported as replaced on both sides must really differ at the ends.
    if (splice.removed > 0 && splice.added > 0) {
        if (before[splice.first] == after[splice.first])
            return false;
        if (before[splice.first + splice.removed - 1] == after[splice.first + splice.added - 1])
            return false;
    }
    return true;
}

} // namespace

class TestCommandBlockIndex : public QObject {
    Q_OBJECT
private slots:
    void edit_data();
    void edit();
    void randomEdits_data();
    void randomEdits();
    void argumentsNotMatchingTheDocument();
};

void TestCommandBlockIndex::edit_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("inserted");
    QTest::addColumn<BlockSplice>("splice");

    const QStringList two{u"$cmd"_s, u"A"_s, u"$end"_s, u"$cmd"_s, u"B"_s, u"$end"_s};

    QTest::newRow("typing in a body") << QStringList{u"$cmd"_s, u"A"_s, u"b"_s, u"$end"_s} << 2 << 1
                                      << QStringList{u"bc"_s} << BlockSplice{0, 1, 1};
    QTest::newRow("typing outside blocks") << QStringList{u"$cmd"_s, u"A"_s, u"$end"_s, u"x"_s} << 3 << 1
                                           << QStringList{u"xy"_s} << BlockSplice{1, 0, 0};
    QTest::newRow("typing in the second block") << two << 4 << 1 << QStringList{u"Bc"_s}
                                                << BlockSplice{1, 1, 1};
    QTest::newRow("deleting a $cmd line joins segments")
        << two << 3 << 1 << QStringList() << BlockSplice{1, 1, 1};
    QTest::newRow("breaking a $cmd line joins segments")
        << two << 3 << 1 << QStringList{u"$cmx"_s} << BlockSplice{1, 1, 1};
    QTest::newRow("a new $cmd line splits a segment")
        << two << 3 << 0 << QStringList{u"$cmd"_s, u"C"_s, u"$end"_s} << BlockSplice{1, 0, 1};
    QTest::newRow("$end typed into a block")
        << QStringList{u"$cmd"_s, u"A"_s, u"$en"_s} << 2 << 1 << QStringList{u"$end"_s}
        << BlockSplice{0, 0, 1};
    QTest::newRow("$end broken") << two << 5 << 1 << QStringList{u"$en"_s} << BlockSplice{1, 1, 0};
    QTest::newRow("line inserted above the first $cmd")
        << two << 0 << 0 << QStringList{u"$end"_s} << BlockSplice{0, 0, 1};
    QTest::newRow("first $cmd line becomes content")
        << QStringList{u"x"_s, u"$end"_s, u"$cmd"_s, u"A"_s, u"$end"_s} << 2 << 1 << QStringList{u"y"_s}
        << BlockSplice{1, 1, 1};
    QTest::newRow("$cmd typed on line 0") << QStringList{u"x"_s, u"$end"_s} << 0 << 1
                                          << QStringList{u"$cmd"_s} << BlockSplice{0, 1, 1};
    QTest::newRow("appended after the last line")
        << QStringList{u"$cmd"_s, u"A"_s} << 2 << 0 << QStringList{u"$end"_s} << BlockSplice{0, 0, 1};
    QTest::newRow("everything deleted") << two << 0 << 6 << QStringList() << BlockSplice{0, 2, 0};
    QTest::newRow("into an empty document")
        << QStringList() << 0 << 0 << two << BlockSplice{0, 0, 2};
    QTest::newRow("single empty line") << QStringList{QString()} << 0 << 1 << QStringList{u"$end"_s}
                                       << BlockSplice{0, 0, 1};
    QTest::newRow("whole block pasted over a block")
        << two << 0 << 3 << QStringList{u"$cmd"_s, u"C"_s, u"$end"_s, u"$end"_s} << BlockSplice{0, 1, 2};
}

void TestCommandBlockIndex::edit()
{
    QFETCH(QStringList, before);
    QFETCH(int, firstLine);
    QFETCH(int, removed);
    QFETCH(QStringList, inserted);
    QFETCH(BlockSplice, splice);

    LineDocument doc{before};
    CommandBlockIndex index;
    index.reset(int(doc.lines.size()), doc.reader());
    QCOMPARE(index.blocks(), doc.fullParse());

    doc.replace(firstLine, removed, inserted);
    const BlockSplice got = index.update(firstLine, removed, int(inserted.size()),
                                         int(doc.lines.size()), doc.reader());
    QCOMPARE(index.blocks(), doc.fullParse());
    QCOMPARE(got.first, splice.first);
    QCOMPARE(got.removed, splice.removed);
    QCOMPARE(got.added, splice.added);
}

void TestCommandBlockIndex::randomEdits_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("initialLines");
    QTest::newRow("empty start") << 1u << 0;
    QTest::newRow("small") << 2u << 12;
    QTest::newRow("medium") << 3u << 300;
    // More lines than one chunk of segments holds, so edits cross chunks.
    QTest::newRow("many segments") << 4u << 3000;
}

void TestCommandBlockIndex::randomEdits()
{
    QFETCH(quint32, seed);
    QFETCH(int, initialLines);

    QRandomGenerator random(seed);
    const QStringList vocabulary{u"$cmd"_s, u"$cmd"_s, u"$cmd x"_s, u"$end"_s, u"$end"_s, u"$endx"_s,
                                 u"$CMD"_s, u" $cmd"_s, u"$End"_s, QString(), u"  "_s, u"\t"_s,
                                 u"cap"_s, u"_6_A"_s, u"【技】"_s, u"\u3000x"_s};
    const QString characters = u"$cmdenx \tC\u3000"_s;
    const auto pick = [&](const auto &list) { return list.at(random.bounded(int(list.size()))); };
    const auto randomLines = [&](int count) {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << pick(vocabulary);
        return lines;
    };

    LineDocument doc{randomLines(initialLines)};
    CommandBlockIndex index;
    index.reset(int(doc.lines.size()), doc.reader());
    QCOMPARE(index.blocks(), doc.fullParse());

    for (int step = 0; step < 3000; ++step) {
        const int count = int(doc.lines.size());
        // Edits at the first and the last line are the ones most likely to go wrong.
        int line = 0;
        if (count > 0) {
            const int where = random.bounded(10);
            line = where == 0 ? 0 : where == 1 ? count - 1 : random.bounded(count);
        }

        int first = line, removed = 0;
        QStringList inserted;
        const int kind = count == 0 ? 2 : random.bounded(7);
        if (kind == 0) { // type a character
            QString text = doc.lines[line];
            text.insert(random.bounded(int(text.size()) + 1), pick(characters));
            removed = 1;
            inserted << text;
        } else if (kind == 1) { // delete a character
            QString text = doc.lines[line];
            if (!text.isEmpty())
                text.remove(random.bounded(int(text.size())), 1);
            removed = 1;
            inserted << text;
        } else if (kind == 2) { // insert whole lines, possibly after the last
            first = count == 0 ? 0 : random.bounded(count + 1);
            inserted = randomLines(1 + random.bounded(3));
        } else if (kind == 3) { // delete whole lines
            removed = std::min(count - line, 1 + random.bounded(3));
        } else if (kind == 4) { // split a line (Enter)
            const QString text = doc.lines[line];
            const int at = random.bounded(int(text.size()) + 1);
            removed = 1;
            inserted << text.left(at) << text.mid(at);
        } else if (kind == 5 && line + 1 < count) { // join with the next line (Delete at the end)
            removed = 2;
            inserted << doc.lines[line] + doc.lines[line + 1];
        } else { // paste over a range
            removed = std::min(count - line, random.bounded(4));
            inserted = randomLines(random.bounded(5));
        }

        // Editors often report more than they changed: widen the range at times.
        if (random.bounded(4) == 0 && first > 0) {
            --first;
            ++removed;
            inserted.prepend(doc.lines[first]);
        }
        if (random.bounded(4) == 0 && first + removed < count) {
            inserted.append(doc.lines[first + removed]);
            ++removed;
        }

        const QList<CommandBlock> before = index.blocks();
        doc.replace(first, removed, inserted);
        const BlockSplice splice = index.update(first, removed, int(inserted.size()),
                                                int(doc.lines.size()), doc.reader());
        const QList<CommandBlock> expected = doc.fullParse();
        if (index.blocks() != expected)
            QFAIL(qPrintable(u"blocks differ after step %1 (lines %2, -%3, +%4)"_s.arg(step).arg(first).arg(
                removed).arg(inserted.size())));
        if (!SpliceExplains(before, expected, splice))
            QFAIL(qPrintable(u"splice {%1, %2, %3} wrong after step %4"_s.arg(splice.first).arg(
                splice.removed).arg(splice.added).arg(step)));
    }
}

void TestCommandBlockIndex::argumentsNotMatchingTheDocument()
{
    LineDocument doc{{u"$cmd"_s, u"A"_s, u"$end"_s}};
    CommandBlockIndex index;
    index.reset(int(doc.lines.size()), doc.reader());

    // Two lines added at the end, but reported as a change of line 0 only.
    doc.replace(3, 0, {u"$cmd"_s, u"$end"_s});
    const BlockSplice splice = index.update(0, 1, 1, int(doc.lines.size()), doc.reader());
    QCOMPARE(index.blocks(), doc.fullParse());
    QCOMPARE(index.lineCount(), 5);
    QCOMPARE(splice, (BlockSplice{1, 0, 1}));
}

QTEST_APPLESS_MAIN(TestCommandBlockIndex)
#include "tst_commandblockindex.moc"

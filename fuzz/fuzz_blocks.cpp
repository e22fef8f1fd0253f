// The incremental block index against a full parse. The input is a document
// (UTF-8, any line breaks), a NUL byte, then edits decoded from the bytes
// after it. After the first parse and after every edit the index must hold
// exactly what ParseCommandBlocks finds in the whole text, and the splice it
// reports must turn the old block list into the new one.

#include "commandblockindex.h"
#include "commandblocks.h"
#include "fuzzinput.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxEdits = 48;
// Lines parsed by the full parses of one input, which keeps a run fast.
constexpr qsizetype kLineBudget = 20000;
constexpr int kMaxLines = 4000;
// Enough for a bulk edit of "$cmd" lines to spread the index's segments
// over several chunks.
constexpr int kMaxBulkLines = 1500;

// Pieces that edits are built from: markers, near-misses and content.
constexpr QStringView kPieces[] = {
    u"$cmd", u"$end", u"$cmd x", u"$end!", u"$CMD", u" $cmd", u"$cm", u"d",
    u"$", u"end", u"x", u" ", u"\t", u"\x01", u"ア", u"",
};
// What character edits insert; "\n" breaks a line.
constexpr QStringView kTypedPieces[] = {
    u"\n", u"\n", u"$cmd", u"$end", u"$cmd\n", u"\n$end", u"$", u"c", u"m", u"d",
    u"e", u"n", u" ", u"x", u"\t", u"ア",
};

[[noreturn]] void Fail(const char *what, const QStringList &lines)
{
    std::fprintf(stderr, "fuzz_blocks: %s\ndocument (%lld lines):\n", what, static_cast<long long>(lines.size()));
    for (const QString &line : lines)
        std::fprintf(stderr, "|%s\n", qUtf8Printable(line));
    __builtin_trap();
}

CommandBlockIndex::LineReader ReaderOf(const QStringList &lines)
{
    return [&lines](int line) {
        if (line < 0 || line >= lines.size())
            Fail("the index read a line outside the document", lines);
        return lines.at(line);
    };
}

// The splice, applied to `before`, gives `after`; rows replaced on both
// sides differ at either end of the range, as the index promises.
bool SpliceExplains(const QList<CommandBlock> &before, const QList<CommandBlock> &after, const BlockSplice &splice)
{
    if (splice.first < 0 || splice.removed < 0 || splice.added < 0
        || splice.first + splice.removed > before.size() || splice.first + splice.added > after.size()
        || before.size() - splice.removed + splice.added != after.size())
        return false;
    for (qsizetype i = 0; i < splice.first; ++i)
        if (before[i] != after[i])
            return false;
    for (qsizetype i = splice.first + splice.removed; i < before.size(); ++i)
        if (before[i] != after[i - splice.removed + splice.added])
            return false;
    if (splice.removed > 0 && splice.added > 0
        && (before[splice.first] == after[splice.first]
            || before[splice.first + splice.removed - 1] == after[splice.first + splice.added - 1]))
        return false;
    return true;
}

void Check(const CommandBlockIndex &index, const QStringList &lines, const QList<CommandBlock> &before,
           const BlockSplice &splice)
{
    const QList<CommandBlock> expected = ParseCommandBlocks(lines.join(u"\r\n"_s));
    if (index.lineCount() != lines.size())
        Fail("the index counts another number of lines", lines);
    if (index.blocks() != expected)
        Fail("the index differs from a full parse", lines);
    if (!SpliceExplains(before, expected, splice))
        Fail("the splice does not describe the change", lines);
}

QString Line(FuzzInput &in)
{
    QString line;
    for (int n = in.byte() % 4; n > 0; --n)
        line += in.pick(kPieces);
    return line;
}

QStringList Lines(FuzzInput &in, int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(Line(in));
    return lines;
}

// A few lines, or for a bulk edit hundreds that repeat a short pattern.
QStringList InsertedLines(FuzzInput &in, bool bulk)
{
    if (!bulk)
        return Lines(in, in.byte() % 4);
    const QStringList pattern = Lines(in, 1 + in.byte() % 3);
    const int count = in.upTo(kMaxBulkLines);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(pattern[i % pattern.size()]);
    return lines;
}

struct Edit {
    int firstLine = 0;
    int removedLines = 0;
    int addedLines = 0;
};

// Replaces whole lines, as a paste over a selection of full lines does.
Edit ReplaceLines(FuzzInput &in, QStringList &lines, bool bulk)
{
    const auto count = int(lines.size());
    Edit edit;
    edit.firstLine = in.upTo(count);
    edit.removedLines = in.upTo(std::min(count - edit.firstLine, bulk ? kMaxBulkLines : 8));
    const QStringList inserted = InsertedLines(in, bulk);
    edit.addedLines = int(inserted.size());
    lines.remove(edit.firstLine, edit.removedLines);
    for (qsizetype i = 0; i < inserted.size(); ++i)
        lines.insert(edit.firstLine + i, inserted[i]);
    return edit;
}

// Replaces characters of the text, as typing, deleting and pasting do; the
// line range is worked out the way the window does from a change of
// (position, characters removed, characters added) in a QTextDocument.
Edit TypeCharacters(FuzzInput &in, QStringList &lines)
{
    QString text = lines.join(u'\n');
    const auto oldCount = int(lines.size());
    const int position = in.upTo(int(text.size()));
    const int removed = in.upTo(std::min(int(text.size()) - position, 12));
    QString inserted;
    for (int n = in.byte() % 4; n > 0; --n)
        inserted += in.pick(kTypedPieces);
    text.replace(position, removed, inserted);
    lines = text.split(u'\n');

    Edit edit;
    edit.firstLine = int(QStringView(text).first(position).count(u'\n'));
    const int lastLine = int(QStringView(text).first(position + inserted.size()).count(u'\n'));
    edit.addedLines = lastLine - edit.firstLine + 1;
    edit.removedLines = edit.addedLines - (int(lines.size()) - oldCount);
    return edit;
}

// A range wider than the change is as right as the exact one.
Edit Widen(FuzzInput &in, Edit edit, int oldCount)
{
    const int before = in.upTo(std::min(edit.firstLine, 4));
    const int after = in.upTo(std::min(oldCount - edit.firstLine - edit.removedLines, 4));
    return {edit.firstLine - before, edit.removedLines + before + after, edit.addedLines + before + after};
}

// Arguments that cannot describe an edit of the known document; the index
// must notice and parse everything.
Edit Inconsistent(FuzzInput &in, Edit edit, int oldCount)
{
    switch (in.byte() % 4) {
    case 0:
        return {-1 - in.upTo(3), edit.removedLines, edit.addedLines};
    case 1:
        return {edit.firstLine, oldCount + 1 + in.upTo(3), edit.addedLines};
    case 2:
        return {oldCount + 1, 0, edit.addedLines};
    default:
        return {edit.firstLine, edit.removedLines + 1, edit.addedLines};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    QString document = QString::fromUtf8(in.until(0));
    document.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    QStringList lines = document.split(u'\n');
    if (lines.size() > kMaxLines)
        return 0;

    CommandBlockIndex index;
    index.reset(int(lines.size()), ReaderOf(lines));
    Check(index, lines, {}, {0, 0, index.blocks().size()});

    qsizetype budget = kLineBudget - lines.size();
    for (int n = 0; n < kMaxEdits && !in.empty() && lines.size() <= kMaxLines && budget > 0; ++n) {
        const auto oldCount = int(lines.size());
        const uint8_t kind = in.byte();
        Edit edit = kind & 1 ? TypeCharacters(in, lines) : ReplaceLines(in, lines, (kind & 0xE0) == 0xE0);
        if (kind & 2)
            edit = Widen(in, edit, oldCount);
        if ((kind & 0x1C) == 0x1C)
            edit = Inconsistent(in, edit, oldCount);

        const QList<CommandBlock> before = index.blocks();
        const BlockSplice splice =
            index.update(edit.firstLine, edit.removedLines, edit.addedLines, int(lines.size()), ReaderOf(lines));
        Check(index, lines, before, splice);
        budget -= lines.size();
    }
    return 0;
}

// Block parsing of a large command list: the whole-document parse, and the
// incremental re-parse after a one-character edit, against a bare scan of
// the same text for line breaks.
#include "commandblockindex.h"
#include "commandblocks.h"

#include <QStringList>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kBlocks = 40'000;

// 40,000 blocks with "$info" lines between games, about 10 MB as UTF-8.
const QStringList &DocumentLines()
{
    static const QStringList lines = [] {
        const QString body[] = {
            u"---------------------------------------------"_s,
            u"  波動拳      _2_3_6+_P    (空中可)  @qcf+@A-button"_s,
            u"  昇龍拳      _6_2_3+_P    ^s 無敵あり、着地まで隙大"_s,
            u"  竜巻旋風脚  _2_1_4+_K    ※ 空中でも出せる ～"_s,
            u"  真空波動拳  _2_3_6_2_3_6+_P  ゲージ1本消費"_s,
            u"  通常投げ    _4or_6+_C    近距離で"_s,
        };
        QStringList result;
        for (int i = 0; i < kBlocks; ++i) {
            if (i % 100 == 0)
                result << u"$info=game%1"_s.arg(i / 100) << QString();
            result << u"$cmd"_s << u"【キャラクター %1】"_s.arg(i);
            for (int k = 0; k < 4; ++k)
                result << body[(i + k) % std::size(body)];
            result << u"$end"_s << QString();
        }
        return result;
    }();
    return lines;
}

const QString &Document()
{
    static const QString text = DocumentLines().join(u"\r\n"_s);
    return text;
}

// A block body line at or before `line` (after it at the very start).
int BodyLineNear(const QStringList &lines, int line)
{
    line = std::min(line, int(lines.size()) - 1);
    while (line > 0 && !lines[line].startsWith(u"  "))
        --line;
    while (!lines[line].startsWith(u"  "))
        ++line;
    return line;
}

void SetLabel(benchmark::State &state)
{
    state.SetLabel(std::to_string(Document().toUtf8().size() / 1'000'000) + " MB UTF-8, "
                   + std::to_string(kBlocks) + " blocks");
}

void BM_ScanBaseline(benchmark::State &state)
{
    const QString &text = Document();
    for (auto _ : state)
        benchmark::DoNotOptimize(text.count(u'\n'));
    SetLabel(state);
}

void BM_ParseCommandBlocks(benchmark::State &state)
{
    const QString &text = Document();
    for (auto _ : state) {
        const QList<CommandBlock> blocks = ParseCommandBlocks(text);
        if (blocks.size() != kBlocks)
            state.SkipWithError("wrong block count");
        benchmark::DoNotOptimize(blocks.constData());
    }
    SetLabel(state);
}

void BM_IndexReset(benchmark::State &state)
{
    const QStringList &lines = DocumentLines();
    const auto reader = [&lines](int line) { return lines.at(line); };
    for (auto _ : state) {
        CommandBlockIndex index;
        index.reset(int(lines.size()), reader);
        benchmark::DoNotOptimize(index.blocks().constData());
    }
    SetLabel(state);
}

// One character typed into, then removed from, a block body at the given
// fraction of the document: each iteration is one keystroke.
void BM_IndexKeystroke(benchmark::State &state)
{
    QStringList lines = DocumentLines();
    const auto reader = [&lines](int line) { return lines.at(line); };
    CommandBlockIndex index;
    index.reset(int(lines.size()), reader);
    const int line = BodyLineNear(lines, int(lines.size() * state.range(0) / 100));
    const QString original = lines[line];
    const int count = int(lines.size());
    bool typed = false;
    for (auto _ : state) {
        lines[line] = typed ? original : original + u'x';
        typed = !typed;
        const BlockSplice splice = index.update(line, 1, 1, count, reader);
        if (splice.removed != 1 || splice.added != 1)
            state.SkipWithError("edit not seen as one changed block");
    }
    state.SetLabel("at " + std::to_string(state.range(0)) + "% of the document");
}

// Typing "$end" completes a block: the list grows by one row in the middle.
void BM_IndexBlockCountChange(benchmark::State &state)
{
    QStringList lines = DocumentLines();
    const auto reader = [&lines](int line) { return lines.at(line); };
    CommandBlockIndex index;
    index.reset(int(lines.size()), reader);
    const int line = BodyLineNear(lines, int(lines.size() / 2));
    const QString original = lines[line];
    const int count = int(lines.size());
    bool typed = false;
    for (auto _ : state) {
        lines[line] = typed ? original : u"$end"_s;
        typed = !typed;
        benchmark::DoNotOptimize(index.update(line, 1, 1, count, reader));
    }
}

BENCHMARK(BM_ScanBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCommandBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexReset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexKeystroke)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexBlockCountChange)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

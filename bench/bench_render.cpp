// Preview rendering against the bare cost of drawing the same lines with one
// QPainter::drawText per line. Run with QT_QPA_PLATFORM=offscreen or without
// a display; the ratios are printed after the table.
#include "cp932.h"
#include "glyphs.h"
#include "renderer.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// The reference block of the initial document: the lines between its second
// "$cmd" and the "$end" after it, joined with CR LF and trimmed.
QString FormatBlock()
{
    QFile file(QStringLiteral(RENVIKA_INITIAL_DOCUMENT));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", RENVIKA_INITIAL_DOCUMENT);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u"\r\n"_s);
    const qsizetype first = lines.indexOf(u"$cmd"_s, lines.indexOf(u"$cmd"_s) + 1) + 1;
    const qsizetype end = lines.indexOf(u"$end"_s, first);
    if (first <= 0 || end < 0)
        qFatal("no second block in %s", RENVIKA_INITIAL_DOCUMENT);
    return lines.mid(first, end - first).join(u"\r\n"_s).trimmed();
}

// 750 lines of 60 columns mixing kanji, kana, ASCII and tokens, some with a
// picture and some without.
QString GeneratedBlock()
{
    const QString pieces[] = {u"波動拳"_s, u"_2_3_6"_s, u"+"_s, u"_A"_s, u" "_s, u"昇龍拳"_s, u"_6_2_3"_s,
                              u"^s"_s,     u"(空中可)"_s, u"_Q"_s, u"ｶﾅ"_s, u"_k"_s, u"：弱・中・強"_s, u"^E"_s};
    QStringList lines;
    for (int i = 0; i < 750; ++i) {
        QString line;
        for (int k = i; Cp932Columns(line) < 60; ++k)
            line += pieces[k % std::size(pieces)];
        while (Cp932Columns(line) > 60)
            line.chop(1);
        lines.append(line);
    }
    return lines.join(u"\r\n"_s);
}

const QString &Text(int which)
{
    static const QString texts[] = {FormatBlock(), GeneratedBlock()};
    return texts[which];
}

const char *const TextNames[] = {"format block", "750x60 generated"};

void BM_RenderCommand(benchmark::State &state)
{
    const QString &text = Text(int(state.range(0)));
    QImage sheet(GlyphSize * GlyphCellCount, GlyphSize, QImage::Format_ARGB32);
    sheet.fill(PreviewBackground);
    for (auto _ : state) {
        QImage target;
        RenderCommand(target, text, false, sheet);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(TextNames[state.range(0)]);
}

// What one drawText per line costs on a bitmap of the renderer's size,
// including creating and filling that bitmap as the renderer must.
void BM_DrawTextBaseline(benchmark::State &state)
{
    const QString &text = Text(int(state.range(0)));
    const QStringList lines = SplitText(u"\r\n", text);
    QImage rendered;
    RenderCommand(rendered, text, false, QImage());
    const QFont font = PreviewFont();
    const int ascent = QFontMetrics(font).ascent();
    for (auto _ : state) {
        QImage target(rendered.size(), QImage::Format_RGB32);
        target.fill(PreviewBackground);
        QPainter painter(&target);
        painter.setFont(font);
        painter.setPen(Qt::white);
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(QPoint(0, LinePitch * int(i) + ascent), lines[i]);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(TextNames[state.range(0)]);
}

BENCHMARK(BM_RenderCommand)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawTextBaseline)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// Prints, after the usual table, each renderer time over its baseline's.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the mean, reported after the repetitions, wins.
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                millis[run.run_name.str()] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (int i = 0; i < 2; ++i) {
            const std::string arg = "/" + std::to_string(i);
            const auto render = millis.find("BM_RenderCommand" + arg);
            const auto baseline = millis.find("BM_DrawTextBaseline" + arg);
            if (render != millis.end() && baseline != millis.end())
                std::printf("%s: RenderCommand %.3f ms, drawText baseline %.3f ms, ratio %.2f (target <= 1.5)\n",
                            TextNames[i], render->second, baseline->second, render->second / baseline->second);
        }
    }

private:
    std::map<std::string, double> millis;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

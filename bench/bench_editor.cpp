// The main window on a 10 MB command list of 40,000 blocks: one keystroke
// handled by TForm1 against the same keystroke handled the straightforward
// way (whole text re-read and re-parsed, drop-down cleared and refilled item
// by item, block rendered), and the drop-down's list opened against a plain
// QComboBox holding the same items. Per-keystroke medians, their ratios, the
// editor's own share of a keystroke and the memory the document takes are
// printed after the table.
//
//   bench_editor [benchmark flags] [--open=FILE]
//
// With --open it also times opening FILE (decode, load, first refresh).
#include "commandblocks.h"
#include "commandfile.h"
#include "pictureview.h"
#include "renderer.h"
#include "tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kBlocks = 40'000;
constexpr int kSelectedBlock = kBlocks / 2;

struct GeneratedDocument {
    QString text;          // CR LF line breaks
    int selectedLine = -1; // the caption line of block kSelectedBlock
};

// Move lists as they are written: a caption, a rule, moves with tokens and
// aliases, notes, blank lines; "$info" lines between games. Each block comes
// to about 250 bytes of UTF-8, the whole to about 10 MB.
GeneratedDocument GenerateDocument()
{
    const QString moves[] = {
        u" 波動拳          _2_3_6+_P  (空中可)"_s,
        u" 昇龍拳          @qdf+@punch  ^s 無敵あり"_s,
        u" 竜巻旋風脚      _2_1_4+_K  着地まで隙大"_s,
        u" 真空波動拳      _2_3_6_2_3_6+_P  ゲージ1本"_s,
        u" 投げ            _4or_6+@C-button  近距離で"_s,
        u" ダッシュ        _6_N_6  ／  バックステップ _4_N_4"_s,
        u" 超必殺技        @hcf@hcf+_A_C  体力点滅時"_s,
    };
    const QString notes[] = {u"※ 溜め技は約2秒"_s, u"・ボタン同時押しで挑発"_s, QString()};
    GeneratedDocument document;
    QStringList lines;
    for (int i = 0; i < kBlocks; ++i) {
        if (i % 40 == 0)
            lines << QString() << u"$info=game%1,game%1a"_s.arg(i / 40) << QString();
        lines << u"$cmd"_s;
        if (i == kSelectedBlock)
            document.selectedLine = int(lines.size());
        lines << u"[ キャラクター%1 ]"_s.arg(i) << u"────────────"_s;
        for (int k = 0; k < 3; ++k)
            lines << moves[(i + 2 * k) % std::size(moves)];
        lines << notes[i % std::size(notes)] << u"$end"_s;
    }
    document.text = lines.join(u"\r\n"_s);
    return document;
}

// Resident memory of this process, in KiB.
long ResidentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // A file of /proc has no size: read it whole rather than test atEnd().
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

// The same window parts, refreshed the straightforward way on every change.
class StraightforwardWindow : public QWidget {
public:
    StraightforwardWindow(const TForm1 &form, const QString &text)
        : sheet(form.Image2->picture())
    {
        combo = new QComboBox(this);
        combo->setFont(form.ComboBox1->font());
        combo->setMaxVisibleItems(form.ComboBox1->maxVisibleItems());
        image = new PictureView(this);
        editor = new QPlainTextEdit(this);
        editor->setFont(form.Memo1->font());
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
        editor->setPlainText(text);
        auto *layout = new QHBoxLayout(this);
        auto *left = new QVBoxLayout;
        left->addWidget(combo);
        left->addWidget(image, 1);
        layout->addLayout(left);
        layout->addWidget(editor);
        resize(form.size());
        refresh();
        combo->setCurrentIndex(kSelectedBlock);
        refresh();
        connect(editor, &QPlainTextEdit::textChanged, this, &StraightforwardWindow::refresh);
    }

    QComboBox *combo;
    PictureView *image;
    QPlainTextEdit *editor;

private:
    void refresh()
    {
        const int saved = combo->currentIndex();
        const QList<CommandBlock> blocks = ParseCommandBlocks(editor->toPlainText());
        combo->clear();
        for (const CommandBlock &block : blocks)
            combo->addItem(block.caption);
        if (blocks.isEmpty())
            return;
        const int selected = saved >= 0 && saved < blocks.size() ? saved : 0;
        combo->setCurrentIndex(selected);
        QImage bmp;
        RenderCommand(bmp, blocks.at(selected).text, false, sheet);
        image->setPicture(std::move(bmp));
    }

    const QImage sheet;
};

struct Fixture {
    QTemporaryDir settingsDir;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<StraightforwardWindow> plain;
    int selectedLine = -1;
    qsizetype utf8Bytes = 0;
    qsizetype utf16Chars = 0;
    long residentBefore = 0;
    long residentAfter = 0;
    double loadMs = 0;
};

Fixture *fixture = nullptr;
std::map<std::string, double> medianMicros; // by benchmark run name
QString openedFile;

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    const auto middle = samples.begin() + std::ptrdiff_t(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// Times `body` per iteration, then runs `untimed`; the median goes into the
// table and into medianMicros[key].
template <typename Body, typename Untimed>
void TimeEach(benchmark::State &state, const std::string &key, Body body, Untimed untimed)
{
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count() * 1e6);
        untimed();
    }
    const double median = Median(std::move(samples));
    state.counters["median_us"] = median;
    medianMicros[key] = median;
}

// Puts the caret at the end of the selected block's caption, in an active window.
void PlaceCaret(QPlainTextEdit *editor)
{
    QTextCursor cursor(editor->document()->findBlockByNumber(fixture->selectedLine));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(cursor);
    QWidget *window = editor->window();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        qFatal("the window did not become active");
    editor->setFocus();
}

// A key goes to the window as the platform sends it, through shortcuts and
// focus to the editor, and the events it posts are processed, painting
// included; an insertion through QTextCursor skips all of that.
enum class Typing { KeyEvent, Cursor };
const char *const TypingNames[] = {"key event, painted", "QTextCursor, not painted"};

// One character per iteration, typed and then taken back with Backspace,
// so the document keeps its size; `combo` (if any) must follow the edit.
void TypeCharacters(benchmark::State &state, const char *key, QPlainTextEdit *editor, const QComboBox *combo)
{
    const auto typing = Typing(state.range(0));
    PlaceCaret(editor);
    bool typed = false;
    const auto keystroke = [&] {
        if (typing == Typing::Cursor) {
            QTextCursor cursor = editor->textCursor();
            typed ? cursor.deletePreviousChar() : cursor.insertText(u"x"_s);
        } else {
            QTest::keyClick(editor->windowHandle(), typed ? Qt::Key_Backspace : Qt::Key_X);
        }
        typed = !typed;
    };
    QCoreApplication::processEvents();
    keystroke();
    if (!editor->textCursor().block().text().endsWith(u'x'))
        state.SkipWithError("the key did not reach the editor");
    else if (combo && !combo->itemText(kSelectedBlock).endsWith(u'x'))
        state.SkipWithError("the drop-down did not follow the typed key");
    keystroke();
    TimeEach(state, key + std::to_string(state.range(0)), keystroke, [] {});
    if (typed)
        QTest::keyClick(editor->windowHandle(), Qt::Key_Backspace);
    QCoreApplication::processEvents();
    state.SetLabel(TypingNames[state.range(0)]);
}

void BM_TypeCharacter(benchmark::State &state)
{
    TypeCharacters(state, "TForm1/", fixture->form->Memo1, fixture->form->ComboBox1);
    if (fixture->form->ComboBox1->currentIndex() != kSelectedBlock)
        state.SkipWithError("the selection moved");
}

void BM_TypeCharacterStraightforward(benchmark::State &state)
{
    TypeCharacters(state, "straightforward/", fixture->plain->editor, fixture->plain->combo);
}

// The editor's own share of a keystroke: the baseline window's editor with
// its refresh held off.
void BM_TypeCharacterEditorOnly(benchmark::State &state)
{
    const QSignalBlocker quiet(fixture->plain->editor);
    TypeCharacters(state, "editor/", fixture->plain->editor, nullptr);
}

// One opening of the drop-down's list, painted; closing it is not timed.
void OpenDropDown(benchmark::State &state, const char *key, QComboBox *combo)
{
    QApplication::setActiveWindow(combo->window());
    const auto open = [combo] {
        combo->showPopup();
        QCoreApplication::processEvents();
    };
    const auto close = [combo] {
        combo->hidePopup();
        QCoreApplication::processEvents();
    };
    TimeEach(state, key, open, close);
}

void BM_OpenDropDown(benchmark::State &state)
{
    OpenDropDown(state, "TForm1/popup", fixture->form->ComboBox1);
}

void BM_OpenDropDownPlainComboBox(benchmark::State &state)
{
    OpenDropDown(state, "straightforward/popup", fixture->plain->combo);
}

// Opening a file as the File menu does: decode, load, first refresh, paint;
// each time into a new window.
void BM_OpenCommandFile(benchmark::State &state)
{
    QFile file(openedFile);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("cannot read the file");
        return;
    }
    const QByteArray bytes = file.readAll();
    std::unique_ptr<TForm1> form;
    const auto newWindow = [&form] {
        form = std::make_unique<TForm1>(fixture->settingsDir.filePath(u"open.ini"_s));
        form->show();
        QCoreApplication::processEvents();
    };
    const auto open = [&] {
        form->Memo1->setPlainText(DecodeCommandFile(bytes).text);
        QCoreApplication::processEvents();
    };
    int blocks = 0;
    newWindow();
    TimeEach(state, "open", open, [&] {
        blocks = form->ComboBox1->count();
        newWindow();
    });
    state.SetLabel(std::to_string(bytes.size() / 1024) + " KiB, " + std::to_string(blocks) + " blocks");
}

void Load(Fixture &f)
{
    f.form = std::make_unique<TForm1>(f.settingsDir.filePath(u"renvika.ini"_s));
    f.form->show();
    if (!QTest::qWaitForWindowExposed(f.form.get()))
        qFatal("the window was not shown");
    QCoreApplication::processEvents();
    {
        // The text is held across both readings, so that their difference
        // is what the window keeps of it.
        const GeneratedDocument document = GenerateDocument();
        f.selectedLine = document.selectedLine;
        f.utf8Bytes = document.text.toUtf8().size();
        f.utf16Chars = document.text.size();
        f.residentBefore = ResidentKiB();
        const auto start = std::chrono::steady_clock::now();
        f.form->Memo1->setPlainText(document.text);
        QCoreApplication::processEvents();
        f.loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        f.form->ComboBox1->setCurrentIndex(kSelectedBlock);
        QCoreApplication::processEvents();
        f.residentAfter = ResidentKiB();
    }
    if (f.form->ComboBox1->count() != kBlocks)
        qFatal("the window found %d blocks, not %d", f.form->ComboBox1->count(), kBlocks);

    f.plain = std::make_unique<StraightforwardWindow>(*f.form, f.form->Memo1->toPlainText());
    f.plain->show();
    if (!QTest::qWaitForWindowExposed(f.plain.get()))
        qFatal("the baseline window was not shown");
}

void PrintRatio(const char *what, const std::string &ours, const std::string &baseline, const char *target)
{
    const auto a = medianMicros.find(ours);
    const auto b = medianMicros.find(baseline);
    if (a == medianMicros.end() || b == medianMicros.end())
        return;
    std::printf("%s: TForm1 %.3f ms, baseline %.3f ms, ratio %.1f (%s)\n", what, a->second / 1000,
                b->second / 1000, b->second / a->second, target);
}

void PrintSummary(const Fixture &f)
{
    std::printf("\nDocument: %d blocks, %.2f MB UTF-8 (%lld UTF-16 characters); setPlainText with "
                "first refresh %.0f ms\n",
                kBlocks, double(f.utf8Bytes) / 1e6, static_cast<long long>(f.utf16Chars), f.loadMs);
    std::printf("Resident memory: %.1f MiB before loading, %.1f MiB after, %.1f MiB kept for the document\n",
                double(f.residentBefore) / 1024, double(f.residentAfter) / 1024,
                double(f.residentAfter - f.residentBefore) / 1024);
    for (int typing = 0; typing < int(std::size(TypingNames)); ++typing) {
        const std::string arg = std::to_string(typing);
        PrintRatio(TypingNames[typing], "TForm1/" + arg, "straightforward/" + arg,
                   typing == 0 ? "TForm1 median target < 1 ms, ratio target >= 30" : "for comparison");
        const auto editor = medianMicros.find("editor/" + arg);
        const auto ours = medianMicros.find("TForm1/" + arg);
        if (editor != medianMicros.end() && ours != medianMicros.end())
            std::printf("  of which the editor alone: %.3f ms (%.0f %%)\n", editor->second / 1000,
                        100 * editor->second / ours->second);
    }
    PrintRatio("open drop-down", "TForm1/popup", "straightforward/popup", "TForm1 median target < 5 ms");
}

} // namespace

BENCHMARK(BM_TypeCharacter)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeCharacterStraightforward)
    ->DenseRange(0, 1)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeCharacterEditorOnly)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDropDown)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDropDownPlainComboBox)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(u"--open="_s))
            openedFile = arg.mid(7);
        else
            qFatal("unknown argument %s", argv[i]);
    }
    if (!openedFile.isEmpty())
        benchmark::RegisterBenchmark("BM_OpenCommandFile", BM_OpenCommandFile)
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);

    Fixture f;
    Load(f);
    fixture = &f;
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary(f);
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}

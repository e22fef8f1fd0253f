#include "tform1.h"

#include "blockcaptionmodel.h"
#include "commandfile.h"
#include "documenttext.h"
#include "dropdownliststyle.h"
#include "formprompts.h"
#include "pictureview.h"
#include "previewlimit.h"
#include "savefile.h"
#include "windowplacement.h"
#include "windowsettings.h"

#include "glyphs.h"
#include "renderer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;

TForm1 *Form1 = nullptr;

namespace {

const QString AppCaption = u"Renvika v1.1"_s;
constexpr int WheelStep = 36;

// The system's monotonic millisecond tick.
qint64 TickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The window's proportional Japanese face, with the nearest faces found here.
QFont UiFont(const QStringList &preferred, int pixelSize)
{
    QFont font;
    font.setFamilies(preferred + QStringList{u"IPAPGothic"_s, u"IPAGothic"_s});
    font.setPixelSize(pixelSize);
    return font;
}

const QStringList Meiryo{u"メイリオ"_s, u"Meiryo"_s};
const QStringList MeiryoUi{u"Meiryo UI"_s, u"メイリオ"_s, u"Meiryo"_s};

// Reads lines of the editor's document for the block index. Runs of
// consecutive lines, as a re-parse reads them, step from block to block
// instead of searching the document for each line.
CommandBlockIndex::LineReader DocumentLines(const QTextDocument *document)
{
    return [document, block = QTextBlock(), number = -1](int line) mutable {
        block = line == number + 1 && block.isValid() ? block.next() : document->findBlockByNumber(line);
        number = line;
        return block.text();
    };
}

// Shows the busy cursor while a file is read or written.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString ReadResourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeCommandFile(file.readAll()).text;
}

} // namespace

TForm1::TForm1(QString settingsPath, FormPrompts *prompts, QWidget *parent)
    : QMainWindow(parent), settingsPath(std::move(settingsPath))
{
    if (!prompts) {
        ownPrompts = std::make_unique<ModalPrompts>();
        prompts = ownPrompts.get();
    }
    this->prompts = prompts;
    createComponents();
    createActions();
    createMenus();
    connectHandlers();
    FormCreate();
}

TForm1::~TForm1()
{
    // The drop-down's model and the editor's change signal point into
    // commands, which goes before the child widgets do.
    disconnect(Memo1->document(), nullptr, this, nullptr);
    blockCaptions->resetBlocks(nullptr);
}

void TForm1::createComponents()
{
    setFont(UiFont(Meiryo, 11));

    Image2 = new PictureView(this);
    Image2->setPicture(QImage(u":/assets/glyphsheet.png"_s).convertToFormat(QImage::Format_RGB32));
    Image2->move(16, 760);
    Image2->hide();

    GridPanel1 = new QWidget(this);
    auto *grid = new QGridLayout(GridPanel1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    setCentralWidget(GridPanel1);

    Panel1 = new QWidget(GridPanel1);
    Panel2 = new QWidget(GridPanel1);
    grid->addWidget(Panel1, 0, 0);
    grid->addWidget(Panel2, 0, 1);

    ComboBox1 = new QComboBox(Panel1);
    blockCaptions = new BlockCaptionModel(ComboBox1);
    // Tens of thousands of blocks: items all have one height, and nothing
    // measures every caption to size the box or its list, which opens as
    // 20 rows under the box whatever the style (set before the view, as it
    // decides whether the view gets a scroll bar).
    auto *listStyle = new DropDownListStyle(ComboBox1->style()->name());
    listStyle->setParent(ComboBox1);
    ComboBox1->setStyle(listStyle);
    auto *list = new QListView(ComboBox1);
    list->setUniformItemSizes(true);
    ComboBox1->setView(list);
    ComboBox1->setModel(blockCaptions);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(20);
    ComboBox1->setMaxVisibleItems(20);
    ComboBox1->setFont(UiFont(Meiryo, 12));
    ComboBox1->setFixedHeight(26);
    ComboBox1->setEnabled(false);

    ScrollBox1 = new QScrollArea(Panel1);
    ScrollBox1->setMinimumWidth(320);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    QPalette navy = ScrollBox1->palette();
    navy.setColor(QPalette::Window, QColor::fromRgb(PreviewBackground));
    ScrollBox1->setPalette(navy);
    ScrollBox1->setAutoFillBackground(true);
    ScrollBox1->viewport()->setPalette(navy);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);

    Image1 = new PictureView;
    ScrollBox1->setWidget(Image1);

    auto *left = new QVBoxLayout(Panel1);
    left->setContentsMargins(8, 8, 3, 5);
    left->setSpacing(6);
    left->addWidget(ComboBox1);
    left->addWidget(ScrollBox1, 1);

    Label2 = new QLabel(u"処理時間:"_s, Panel2);
    Label1 = new QLabel(u"0 ms"_s, Panel2);
    Label1->setFont(UiFont(MeiryoUi, 12));
    QPalette timeColour = Label1->palette();
    timeColour.setColor(QPalette::WindowText, QColor::fromRgb(PreviewBackground));
    Label1->setPalette(timeColour);

    Memo1 = new QPlainTextEdit(Panel2);
    QFont memoFont = PreviewFont();
    memoFont.setPixelSize(13);
    Memo1->setFont(memoFont);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(ReadResourceText(u":/assets/initial-document.txt"_s));
    Memo1->document()->setModified(false);

    auto *timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(5, 3, 0, 0);
    timeRow->setSpacing(6);
    timeRow->addWidget(Label2);
    timeRow->addWidget(Label1);
    timeRow->addStretch();
    auto *right = new QVBoxLayout(Panel2);
    right->setContentsMargins(6, 8, 8, 7);
    right->setSpacing(8);
    right->addLayout(timeRow);
    right->addWidget(Memo1, 1);

    const QString filter = u"コマンドファイル(UTF-8) (*.dat *.txt)"_s;
    const QString allFiles = u"すべてのファイル (*)"_s;
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilters({filter, allFiles});
    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters({filter, allFiles});
    for (QFileDialog *dialog : {OpenDialog1, SaveDialog1}) {
        dialog->setOption(QFileDialog::HideNameFilterDetails);
        dialog->selectNameFilter(filter);
    }
}

void TForm1::createActions()
{
    ActionManager1 = new QObject(this);
    actOpen = new QAction(u"開く(&O)..."_s, ActionManager1);
    actOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actSave = new QAction(u"保存(&S)..."_s, ActionManager1);
    actSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Action1 = new QAction(u"終了(&X)"_s, ActionManager1);
    Action1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    actUpdateCommand = new QAction(u"表示更新"_s, ActionManager1);
}

void TForm1::createMenus()
{
    ActionMainMenuBar1 = menuBar();
    ActionMainMenuBar1->setFont(UiFont(Meiryo, 12));
    QMenu *fileMenu = ActionMainMenuBar1->addMenu(u"ファイル(&F)"_s);
    fileMenu->addAction(actOpen);
    fileMenu->addAction(actSave);
    fileMenu->addSeparator();
    fileMenu->addAction(Action1);
}

void TForm1::connectHandlers()
{
    connect(actOpen, &QAction::triggered, this, &TForm1::actOpenExecute);
    connect(actSave, &QAction::triggered, this, &TForm1::actSaveExecute);
    connect(Action1, &QAction::triggered, this, &TForm1::Action1Execute);
    connect(actUpdateCommand, &QAction::triggered, this, &TForm1::actUpdateCommandExecute);
    connect(Memo1->document(), &QTextDocument::contentsChange, this, &TForm1::Memo1Change);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
    connect(Image1, &PictureView::clicked, this, &TForm1::Image1Click);
    Memo1->installEventFilter(this);
    for (QWidget *w : {static_cast<QWidget *>(ScrollBox1->viewport()), static_cast<QWidget *>(Image1),
                       static_cast<QWidget *>(ScrollBox1->verticalScrollBar()),
                       static_cast<QWidget *>(ScrollBox1->horizontalScrollBar())})
        w->installEventFilter(this);
}

void TForm1::FormCreate()
{
    ScrollBox1->widget()->move(0, 0);
    setWindowTitle(AppCaption);
    commands = std::make_unique<CommandBlockIndex>();
    blockCaptions->resetBlocks(&commands->blocks());
    datopened = false;
    filename.clear();
    const WindowBounds defaults;
    setOuterBounds({defaults.left, defaults.top, defaults.width, defaults.height});
    LoadWindowSettings();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shown) {
        shown = true;
        fitFrameOnce();
        FormShow();
    }
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    fitFrameOnce();
}

// The bounds are outer bounds, but the frame the window manager draws is
// known only once it has taken the window, which may be after it is shown:
// the first time a frame shows up, the bounds are applied again with it.
void TForm1::fitFrameOnce()
{
    if (frameFitted || !isVisible() || frameGeometry().size() == size())
        return;
    frameFitted = true;
    setOuterBounds(outerBounds);
}

void TForm1::FormShow()
{
    actUpdateCommandExecute();
}

void TForm1::actUpdateCommandExecute()
{
    if (!commands)
        return;
    const qint64 started = TickCount();
    const int saved = ComboBox1->currentIndex();
    const QTextDocument *document = Memo1->document();
    const QSignalBlocker quiet(ComboBox1);
    commands->reset(document->blockCount(), DocumentLines(document));
    blockCaptions->resetBlocks(&commands->blocks());
    refreshSelection(saved, started);
}

void TForm1::Memo1Change(int position, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved); // the line counts tell how many old lines went
    if (!commands || replacingText)
        return;
    const qint64 started = TickCount();
    const int saved = ComboBox1->currentIndex();
    const QTextDocument *document = Memo1->document();
    const int lastPosition = std::max(0, document->characterCount() - 1);
    const int firstLine = document->findBlock(std::min(position, lastPosition)).blockNumber();
    const int lastLine = document->findBlock(std::min(position + charsAdded, lastPosition)).blockNumber();
    const int addedLines = lastLine - firstLine + 1;
    const int newLineCount = document->blockCount();
    const int removedLines = addedLines - (newLineCount - commands->lineCount());
    const QSignalBlocker quiet(ComboBox1);
    const BlockSplice splice =
        commands->update(firstLine, removedLines, addedLines, newLineCount, DocumentLines(document));
    blockCaptions->spliceRows(splice);
    refreshSelection(saved, started);
}

// The tail of every refresh: the drop-down keeps its selection by index,
// the selected block is drawn, and the time of it all is shown.
void TForm1::refreshSelection(int saved, qint64 startedMs)
{
    const int count = ComboBox1->count();
    ComboBox1->setEnabled(count > 0);
    if (count > 0) {
        {
            const QSignalBlocker quiet(ComboBox1);
            ComboBox1->setCurrentIndex(saved >= 0 && saved < count ? saved : 0);
        }
        ComboBox1Change();
    } else {
        Image1->setPicture({});
    }
    showElapsed(startedMs);
}

void TForm1::ComboBox1Change()
{
    const int index = ComboBox1->currentIndex();
    if (!commands || ComboBox1->count() == 0 || index < 0 || index >= commands->blocks().size())
        return;
    const qint64 started = TickCount();
    QImage bmp;
    RenderCommand(bmp, FitPreviewText(commands->blocks().at(index).text).text, false, Image2->picture());
    Image1->setPicture(std::move(bmp));
    showElapsed(started);
}

void TForm1::showElapsed(qint64 startedMs)
{
    const auto elapsed = quint32(TickCount() - startedMs);
    Label1->setText(QString::number(elapsed) + u" ms"_s);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        return FormMouseWheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint());
    }
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::SelectAll))
            return Memo1KeyPress(QChar(1));
        // A command list has one kind of line break: Shift+Enter must not
        // insert the editor's soft line separator, which is no break in a file.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers().testFlag(Qt::ShiftModifier)) {
            Memo1->textCursor().insertBlock();
            Memo1->ensureCursorVisible();
            return true;
        }
        if (!key->text().isEmpty())
            return Memo1KeyPress(key->text().front());
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormMouseWheel(int wheelDelta, const QPoint &mousePos)
{
    QWidget *under = childAt(mapFromGlobal(mousePos));
    if (wheelDelta == 0 || !under || (under != ScrollBox1 && !ScrollBox1->isAncestorOf(under)))
        return false;
    QScrollBar *bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + (wheelDelta > 0 ? -WheelStep : WheelStep));
    return true;
}

bool TForm1::Memo1KeyPress(QChar key)
{
    if (key == QChar(1)) { // Ctrl+A
        Memo1->selectAll();
        return true;
    }
    return false;
}

void TForm1::Image1Click()
{
    ScrollBox1->setFocus(Qt::MouseFocusReason);
}

void TForm1::Action1Execute()
{
    close();
}

int TForm1::showMessage(QMessageBox::Icon icon, const QString &caption, const QString &text,
                        QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, this);
    return prompts->execMessageBox(box);
}

void TForm1::showError(const QString &text)
{
    showMessage(QMessageBox::Critical, u"エラー"_s, text, QMessageBox::Ok);
}

bool TForm1::maybeSave()
{
    if (!Memo1->document()->isModified())
        return true;
    const int answer = showMessage(QMessageBox::Warning, AppCaption,
                                   u"テキストが変更されています。変更を保存しますか?"_s,
                                   QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return saveToChosenFile();
    return answer == QMessageBox::Discard;
}

void TForm1::actOpenExecute()
{
    if (!maybeSave() || !prompts->execFileDialog(*OpenDialog1))
        return;
    const QString path = QFileInfo(OpenDialog1->selectedFiles().constFirst()).absoluteFilePath();
    std::optional<BusyCursor> busy(std::in_place);
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        busy.reset();
        filename.clear();
        datopened = false;
        setWindowTitle(AppCaption);
        showError(u"ファイルオープンに失敗しました"_s);
        return;
    }
    DecodedCommandFile decoded = DecodeCommandFile(bytes);
    bytes = {};
    const bool unreadable = ReplaceDocumentBreakCharacters(decoded.text) || decoded.hadInvalidBytes;
    if (decoded.text != DocumentText(*Memo1->document())) {
        {
            // The editor reports a new text as two changes, the old text
            // going and the new one coming: one refresh follows both.
            const QScopedValueRollback replacing(replacingText, true);
            Memo1->setPlainText(decoded.text);
        }
        actUpdateCommandExecute();
    }
    Memo1->document()->setModified(false);
    filename = path;
    datopened = true;
    setWindowTitle(AppCaption + u" - "_s + QDir::toNativeSeparators(path));
    busy.reset();
    if (unreadable)
        showMessage(QMessageBox::Warning, AppCaption,
                    u"このファイルには、文字として読み取れないバイトか、エディタで扱えない文字がありました。"
                    u"その部分は置換文字（\uFFFD）で表示されており、保存すると元には戻りません。"_s,
                    QMessageBox::Ok);
}

void TForm1::actSaveExecute()
{
    saveToChosenFile();
}

// Asks for a file name and writes the text there; false when cancelled or failed.
bool TForm1::saveToChosenFile()
{
    if (datopened) {
        const QFileInfo opened(filename);
        SaveDialog1->setDirectory(opened.absolutePath());
        SaveDialog1->selectFile(opened.fileName());
    } else {
        SaveDialog1->selectFile(u"新規DATファイル.dat"_s);
    }
    if (!prompts->execFileDialog(*SaveDialog1))
        return false;
    const QString path = SaveDialog1->selectedFiles().constFirst();
    const bool saved = [&] {
        const BusyCursor busy;
        return SaveBytesAtomically(path, EncodeCommandFile(DocumentText(*Memo1->document())));
    }();
    if (!saved) {
        showError(u"DATファイルの保存に失敗しました。"_s);
        return false;
    }
    Memo1->document()->setModified(false);
    return true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    blockCaptions->resetBlocks(nullptr);
    commands.reset();
    SaveWindowSettings();
}

void TForm1::LoadWindowSettings()
{
    QFile file(settingsPath);
    if (!file.exists())
        return;
    WindowSettings settings;
    if (file.open(QIODevice::ReadOnly))
        settings = ParseWindowSettingsFile(file.readAll());
    else
        settings.failed = true;
    const QRect current = frameGeometry();
    const WindowBounds bounds{settings.left.value_or(current.left()), settings.top.value_or(current.top()),
                              settings.width.value_or(current.width()),
                              settings.height.value_or(current.height())};
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    setOuterBounds(PlaceOnScreens(bounds, screens, minimumSizeHint()));
    if (settings.failed)
        showError(u"設定の読み込みに失敗しました。"_s);
}

void TForm1::SaveWindowSettings()
{
    const QRect bounds = frameGeometry();
    // A folder we may not write to keeps the old file; nothing to tell the user.
    SaveBytesAtomically(settingsPath,
                        FormatWindowSettings(bounds.width(), bounds.height(), bounds.left(), bounds.top()));
}

// Outer bounds include the frame the window manager draws, once it is known.
void TForm1::setOuterBounds(const QRect &bounds)
{
    outerBounds = bounds;
    const QSize frame = frameGeometry().size() - size();
    move(bounds.topLeft());
    resize(bounds.size() - frame);
}

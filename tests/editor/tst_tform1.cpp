// Drives the real main window offscreen, as a user would.
#include "commandblocks.h"
#include "documenttext.h"
#include "pictureview.h"
#include "renderer.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

QStringList ComboItems(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    return items;
}

QImage Rendered(const QString &text, const TForm1 &form)
{
    QImage image;
    RenderCommand(image, text, false, form.Image2->picture());
    return image;
}

void ReplaceText(TForm1 &form, const QString &text)
{
    QTextCursor cursor(form.Memo1->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

} // namespace

class TestTForm1 : public QObject, public WindowFixture {
    Q_OBJECT

    // The window shows exactly the blocks of its text and the selected one's picture.
    void verifyMatchesText()
    {
        const QList<CommandBlock> blocks = ParseCommandBlocks(DocumentText(*form->Memo1->document()));
        QStringList captions;
        for (const CommandBlock &block : blocks)
            captions.append(block.caption);
        QCOMPARE(ComboItems(*form->ComboBox1), captions);
        QCOMPARE(form->ComboBox1->isEnabled(), !blocks.isEmpty());
        if (blocks.isEmpty()) {
            QCOMPARE(form->Image1->size(), QSize(0, 0));
            return;
        }
        const int selected = form->ComboBox1->currentIndex();
        QVERIFY(selected >= 0 && selected < blocks.size());
        QCOMPARE(form->Image1->picture(), Rendered(blocks.at(selected).text, *form));
        QCOMPARE(form->Image1->size(), form->Image1->picture().size());
    }

private slots:
    void init()
    {
        QFile::remove(settingsPath());
        startWindow();
    }

    void cleanup() { stopWindow(); }

    void startsWithTheTemplateAndItsFirstBlock()
    {
        QCOMPARE(form->windowTitle(), u"Renvika v1.1"_s);
        QCOMPARE(ComboItems(*form->ComboBox1), (QStringList{u"【基本テンプレート】"_s, u"【書式】"_s}));
        QCOMPARE(form->ComboBox1->currentIndex(), 0);
        QVERIFY(form->ComboBox1->isEnabled());
        QCOMPARE(form->ComboBox1->maxVisibleItems(), 20);
        QVERIFY(!form->Image1->picture().isNull());
        QCOMPARE(form->Image1->pos(), QPoint(0, 0));
        QCOMPARE(form->Label2->text(), u"処理時間:"_s);
        QVERIFY(QRegularExpression(u"^\\d+ ms$"_s).match(form->Label1->text()).hasMatch());
        QVERIFY(!form->Image2->isVisible());
        QCOMPARE(form->Image2->picture().size(), QSize(1400, 14));
        QVERIFY(prompts.messages.isEmpty());
        verifyMatchesText();
    }

    void menuHasTheFileItemsWithShortcuts()
    {
        QCOMPARE(form->actOpen->text(), u"開く(&O)..."_s);
        QCOMPARE(form->actOpen->shortcut(), QKeySequence(u"Ctrl+O"_s));
        QCOMPARE(form->actSave->text(), u"保存(&S)..."_s);
        QCOMPARE(form->actSave->shortcut(), QKeySequence(u"Ctrl+S"_s));
        QCOMPARE(form->Action1->text(), u"終了(&X)"_s);
        QCOMPARE(form->Action1->shortcut(), QKeySequence(u"Ctrl+Q"_s));
        QCOMPARE(form->actUpdateCommand->text(), u"表示更新"_s);
        const QList<QAction *> menus = form->ActionMainMenuBar1->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus.constFirst()->text(), u"ファイル(&F)"_s);
        const QList<QAction *> items = menus.constFirst()->menu()->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.at(0), form->actOpen);
        QCOMPARE(items.at(1), form->actSave);
        QVERIFY(items.at(2)->isSeparator());
        QCOMPARE(items.at(3), form->Action1);
    }

    void typingABlockAddsItAndKeepsTheSelection()
    {
        form->ComboBox1->setCurrentIndex(1);
        form->Memo1->moveCursor(QTextCursor::End);
        form->Memo1->setFocus();
        QTest::keyClicks(form->Memo1, u"$cmd"_s);
        QTest::keyClick(form->Memo1, Qt::Key_Return);
        QTest::keyClicks(form->Memo1, u"New move _6_A"_s);
        QTest::keyClick(form->Memo1, Qt::Key_Return);
        QTest::keyClicks(form->Memo1, u"$end"_s);
        QCOMPARE(form->ComboBox1->count(), 3);
        QCOMPARE(form->ComboBox1->itemText(2), u"New move _6_A"_s);
        QCOMPARE(form->ComboBox1->currentIndex(), 1);
        verifyMatchesText();

        form->ComboBox1->setCurrentIndex(2);
        QCOMPARE(form->Image1->picture(), Rendered(u"New move _6_A"_s, *form));
        QTest::keyClick(form->Memo1, Qt::Key_Up);
        QTest::keyClick(form->Memo1, Qt::Key_End);
        QTest::keyClicks(form->Memo1, u"_B"_s);
        QCOMPARE(form->ComboBox1->itemText(2), u"New move _6_A_B"_s);
        QCOMPARE(form->Image1->picture(), Rendered(u"New move _6_A_B"_s, *form));
    }

    void selectionFallsBackToTheFirstBlock()
    {
        ReplaceText(*form, u"$cmd\r\none\r\n$end\r\n$cmd\r\ntwo\r\n$end\r\n$cmd\r\nthree\r\n$end\r\n"_s);
        form->ComboBox1->setCurrentIndex(2);
        QCOMPARE(form->Image1->picture(), Rendered(u"three"_s, *form));
        // Editing above the selection keeps the index, even though it now names another block.
        QTextCursor cursor(form->Memo1->document()->findBlockByNumber(1));
        cursor.insertText(u"x"_s);
        QCOMPARE(form->ComboBox1->currentIndex(), 2);
        ReplaceText(*form, u"$cmd\r\nonly\r\n$end\r\n"_s);
        QCOMPARE(form->ComboBox1->currentIndex(), 0);
        QCOMPARE(form->Image1->picture(), Rendered(u"only"_s, *form));
        verifyMatchesText();
    }

    void emptyEditorDisablesTheDropDown()
    {
        form->Memo1->clear();
        QCOMPARE(form->ComboBox1->count(), 0);
        QVERIFY(!form->ComboBox1->isEnabled());
        QCOMPARE(form->Image1->size(), QSize(0, 0));
        QVERIFY(QRegularExpression(u"^\\d+ ms$"_s).match(form->Label1->text()).hasMatch());
        QTest::keyClicks(form->Memo1, u"$end"_s);
        QCOMPARE(ComboItems(*form->ComboBox1), QStringList{QString()});
        QVERIFY(form->ComboBox1->isEnabled());
        QCOMPARE(form->Image1->size(), QSize(0, 0)); // an empty block draws nothing
    }

    void longCaptionsAreShownCut()
    {
        const QString caption(5000, u'技');
        ReplaceText(*form, u"$cmd\r\n"_s + caption + u" _6\r\n$end"_s);
        const QString shown = form->ComboBox1->itemText(0);
        QCOMPARE(shown.size(), 257);
        QCOMPARE(shown.back(), QChar(0x2026));
        QVERIFY(caption.startsWith(shown.chopped(1)));
        ReplaceText(*form, u"$cmd\r\n"_s + caption.left(256) + u"\r\n$end"_s);
        QCOMPARE(form->ComboBox1->itemText(0), caption.left(256));
    }

    void dropDownListShowsTwentyRows()
    {
        QStringList blocks;
        for (int i = 0; i < 100; ++i)
            blocks.append(u"$cmd\r\nblock %1\r\n$end"_s.arg(i));
        ReplaceText(*form, blocks.join(u"\r\n"_s));
        form->ComboBox1->setCurrentIndex(50);
        form->ComboBox1->showPopup();
        const QAbstractItemView *view = form->ComboBox1->view();
        QVERIFY(view->isVisible());
        const int top = view->indexAt(QPoint(1, 1)).row();
        const int bottom = view->indexAt(QPoint(1, view->viewport()->height() - 1)).row();
        QCOMPARE(bottom - top + 1, 20);
        QVERIFY(view->verticalScrollBar()->isVisible());
        // The list opens at the selected block.
        QVERIFY(top <= 50 && 50 <= bottom);
        form->ComboBox1->hidePopup();
    }

    // Random edits through the editor's own cursor: the drop-down and the
    // preview always equal a parse of the whole text.
    void randomEditsKeepBlocksInStep()
    {
        QRandomGenerator random(20261211);
        const QStringList pieces{u"$cmd"_s, u"$end"_s, u"\r\n"_s, u"\n"_s, u"x"_s, u"_6"_s, u"$cmd\r\nA\r\n$end\r\n"_s,
                                 u" $cmd"_s, u"【技】"_s, u"\r"_s};
        for (int step = 0; step < 400; ++step) {
            QTextCursor cursor(form->Memo1->document());
            const int length = form->Memo1->document()->characterCount() - 1;
            const int at = random.bounded(length + 1);
            cursor.setPosition(at);
            if (random.bounded(3) == 0 && length > 0) {
                cursor.setPosition(std::min(length, at + random.bounded(1, 12)), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
            } else {
                cursor.insertText(pieces.at(random.bounded(pieces.size())));
            }
            if (random.bounded(5) == 0 && form->ComboBox1->count() > 0)
                form->ComboBox1->setCurrentIndex(random.bounded(form->ComboBox1->count()));
            if (QTest::currentTestFailed())
                return;
            verifyMatchesText();
        }
    }

    void undoRestoresTheBlocks()
    {
        const QStringList before = ComboItems(*form->ComboBox1);
        QTextCursor cursor(form->Memo1->document()->findBlockByNumber(17)); // the second "$cmd"
        cursor.select(QTextCursor::LineUnderCursor);
        cursor.removeSelectedText();
        QCOMPARE(form->ComboBox1->count(), 2);
        QVERIFY(ComboItems(*form->ComboBox1) != before);
        form->Memo1->undo();
        QCOMPARE(ComboItems(*form->ComboBox1), before);
        verifyMatchesText();
    }

    void wheelOverThePreviewScrollsBy36()
    {
        QStringList lines{u"$cmd"_s};
        for (int i = 0; i < 200; ++i)
            lines.append(u"line %1 _6"_s.arg(i));
        lines.append(u"$end"_s);
        ReplaceText(*form, lines.join(u"\r\n"_s));
        QScrollBar *bar = form->ScrollBox1->verticalScrollBar();
        QVERIFY(bar->maximum() > 100);
        QCOMPARE(bar->value(), 0);
        QWidget *viewport = form->ScrollBox1->viewport();
        const QPoint inside = viewport->rect().center();
        auto wheel = [&](QWidget *target, QPoint local, int delta) {
            QWheelEvent event(local, target->mapToGlobal(local), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
        };
        wheel(viewport, inside, -120);
        QCOMPARE(bar->value(), 36);
        wheel(viewport, inside, -480); // one event, one step, whatever its size
        QCOMPARE(bar->value(), 72);
        wheel(form->Image1, form->Image1->mapFrom(viewport, inside), 120);
        QCOMPARE(bar->value(), 36);

        // Over the editor the wheel scrolls the editor, not the preview.
        QScrollBar *editorBar = form->Memo1->verticalScrollBar();
        const int editorBefore = editorBar->value();
        wheel(form->Memo1->viewport(), form->Memo1->viewport()->rect().center(), -120);
        QCOMPARE(bar->value(), 36);
        QVERIFY(editorBar->value() > editorBefore);
    }

    void ctrlASelectsEverythingAndInsertsNothing()
    {
        const QString before = DocumentText(*form->Memo1->document());
        form->Memo1->setFocus();
        QTest::keyClick(form->Memo1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(DocumentText(*form->Memo1->document()), before);
        const QTextCursor cursor = form->Memo1->textCursor();
        QCOMPARE(cursor.selectionStart(), 0);
        QCOMPARE(cursor.selectionEnd(), form->Memo1->document()->characterCount() - 1);
    }

    void shiftEnterStartsANewLine()
    {
        form->Memo1->clear();
        QTest::keyClicks(form->Memo1, u"$cmd"_s);
        QTest::keyClick(form->Memo1, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(form->Memo1, u"a"_s);
        QTest::keyClick(form->Memo1, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(form->Memo1, u"$end"_s);
        QCOMPARE(DocumentText(*form->Memo1->document()), u"$cmd\r\na\r\n$end"_s);
        QCOMPARE(ComboItems(*form->ComboBox1), QStringList{u"a"_s});
    }

    void clickOnThePreviewFocusesTheScrollBox()
    {
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->Memo1->setFocus();
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(form->ScrollBox1->hasFocus());
    }

    void exitClosesLikeTheCloseButton()
    {
        form->Action1->trigger();
        QVERIFY(!form->isVisible());
        QVERIFY(QFile::exists(settingsPath()));
    }
};

QTEST_MAIN(TestTForm1)
#include "tst_tform1.moc"

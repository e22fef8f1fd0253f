// Opening and saving command files and remembering the window, through the
// real window offscreen, with its dialogs answered by a script.
#include "documenttext.h"
#include "filetesting.h"
#include "pictureview.h"
#include "renderer.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace Qt::StringLiterals;

class TestTForm1Files : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(settingsPath());
        startWindow();
    }

    void cleanup() { stopWindow(); }

    void opensEveryEncodingWithCrLf_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = u"$cmd\n【技】 _6_A\r〜−\r\n$end"_s;
        auto utf16 = [&](QStringConverter::Encoding encoding) { return QByteArray(QStringEncoder(encoding)(text)); };
        QTest::newRow("UTF-8 with mark") << Utf8Mark + text.toUtf8();
        QTest::newRow("UTF-8 without mark") << text.toUtf8();
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + utf16(QStringConverter::Utf16LE);
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF") + utf16(QStringConverter::Utf16BE);
        // The same text in code page 932: 【 81 79, 技 8B 5A, 】 81 7A, 〜 81 60, − 81 7C.
        QTest::newRow("code page 932")
            << QByteArray("$cmd\n\x81\x79\x8B\x5A\x81\x7A _6_A\r\x81\x60\x81\x7C\r\n$end");
    }
    void opensEveryEncodingWithCrLf()
    {
        QFETCH(QByteArray, bytes);
        const QString file = path(u"move list.dat"_s);
        WriteAll(file, bytes);
        open(file);
        QVERIFY(messageTexts().isEmpty());
        const QString opened = DocumentText(*form->Memo1->document());
        QVERIFY(opened.startsWith(u"$cmd\r\n【技】 _6_A\r\n"_s));
        QVERIFY(opened.endsWith(u"\r\n$end"_s));
        QCOMPARE(form->ComboBox1->itemText(0), u"【技】 _6_A"_s);
        QCOMPARE(form->windowTitle(), u"Renvika v1.1 - "_s + QDir::toNativeSeparators(file));
    }

    void saveWritesUtf8WithMarkAndReopensIdentical()
    {
        const QString lfOnly = path(u"lf.txt"_s);
        WriteAll(lfOnly, "$cmd\nline _6\n$end\n");
        open(lfOnly);
        QCOMPARE(DocumentText(*form->Memo1->document()), u"$cmd\r\nline _6\r\n$end\r\n"_s);
        const QString saved = path(u"saved.dat"_s);
        save(saved);
        QCOMPARE(ReadAll(saved), Utf8Mark + "$cmd\r\nline _6\r\n$end\r\n");
        // Saving does not change which file the window refers to.
        QCOMPARE(form->windowTitle(), u"Renvika v1.1 - "_s + QDir::toNativeSeparators(lfOnly));

        open(saved);
        const QString again = path(u"again.dat"_s);
        save(again);
        QCOMPARE(ReadAll(again), ReadAll(saved));
    }

    void saveRightAfterStartWritesTheTemplate()
    {
        const QString target = path(u"new.dat"_s);
        save(target);
        QCOMPARE(prompts.fileDialogs.size(), 1);
        const auto asked = prompts.fileDialogs.constFirst();
        QCOMPARE(asked.mode, QFileDialog::AcceptSave);
        QCOMPARE(QFileInfo(asked.selected.value(0)).fileName(), u"新規DATファイル.dat"_s);
        QVERIFY(asked.confirmsOverwrite);
        QCOMPARE(asked.defaultSuffix, QString());
        QCOMPARE(asked.filters.size(), 2);
        QVERIFY(asked.filters.at(0).startsWith(u"コマンドファイル(UTF-8)"_s));
        QVERIFY(asked.filters.at(1).startsWith(u"すべてのファイル"_s));
        QCOMPARE(asked.selectedFilter, u"コマンドファイル(UTF-8)"_s); // shown without its patterns
        QFile initial(u":/assets/initial-document.txt"_s);
        QVERIFY(initial.open(QIODevice::ReadOnly));
        QCOMPARE(ReadAll(target), Utf8Mark + initial.readAll());
    }

    void saveSuggestsTheOpenedFile()
    {
        QDir(dir.path()).mkdir(u"sub"_s);
        const QString file = path(u"sub/list.dat"_s);
        WriteAll(file, "$cmd\r\na\r\n$end\r\n");
        open(file);
        prompts.files.enqueue(QString()); // cancel
        form->actSave->trigger();
        const auto asked = prompts.fileDialogs.constLast();
        QCOMPARE(asked.directory, QFileInfo(file).absolutePath());
        QCOMPARE(QFileInfo(asked.selected.value(0)).fileName(), u"list.dat"_s);
    }

    void nameWithoutExtensionIsKept()
    {
        const QString target = path(u"noext"_s);
        save(target);
        QVERIFY(QFile::exists(target));
        QVERIFY(!QFile::exists(target + u".dat"_s));
    }

    void failedOpenForgetsTheFileAndKeepsTheText()
    {
        const QString good = path(u"good.dat"_s);
        WriteAll(good, "$cmd\r\ngood\r\n$end\r\n");
        open(good);
        const QString before = DocumentText(*form->Memo1->document());
        open(path(u"missing.dat"_s));
        QCOMPARE(messageTexts(), QStringList{u"ファイルオープンに失敗しました"_s});
        QCOMPARE(prompts.messages.constFirst().caption, u"エラー"_s);
        QCOMPARE(prompts.messages.constFirst().icon, QMessageBox::Critical);
        QCOMPARE(prompts.messages.constFirst().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(DocumentText(*form->Memo1->document()), before);
        QCOMPARE(form->windowTitle(), u"Renvika v1.1"_s);
        // Nothing is opened any more: the next save suggests a new file.
        prompts.files.enqueue(QString());
        form->actSave->trigger();
        QCOMPARE(QFileInfo(prompts.fileDialogs.constLast().selected.value(0)).fileName(),
                 u"新規DATファイル.dat"_s);
    }

    void openingKeepsTheSelectionByIndex()
    {
        const QString three = path(u"three.dat"_s);
        WriteAll(three, "$cmd\r\none\r\n$end\r\n$cmd\r\ntwo\r\n$end\r\n$cmd\r\nthree\r\n$end\r\n");
        form->ComboBox1->setCurrentIndex(1);
        open(three);
        QCOMPARE(form->ComboBox1->count(), 3);
        QCOMPARE(form->ComboBox1->currentIndex(), 1);
        QImage two;
        RenderCommand(two, u"two"_s, false, form->Image2->picture());
        QCOMPARE(form->Image1->picture(), two);

        const QString one = path(u"one.dat"_s);
        WriteAll(one, "$cmd\r\nonly\r\n$end\r\n");
        form->ComboBox1->setCurrentIndex(2);
        open(one);
        QCOMPARE(form->ComboBox1->currentIndex(), 0);
        QCOMPARE(form->ComboBox1->itemText(0), u"only"_s);
    }

    // Characters the editor would take for line breaks stay one line.
    void breakCharactersDoNotSplitLines_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("paragraph separator") << u"\u2029"_s;
        QTest::newRow("U+FDD0") << u"\uFDD0"_s;
        QTest::newRow("U+FDD1") << u"\uFDD1"_s;
    }
    void breakCharactersDoNotSplitLines()
    {
        QFETCH(QString, character);
        const QString file = path(u"breaks.dat"_s);
        WriteAll(file, (u"$cmd\r\na"_s + character + u"b\r\n$end\r\n"_s).toUtf8());
        open(file);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.constFirst().icon, QMessageBox::Warning);
        QCOMPARE(form->ComboBox1->itemText(0), u"a\uFFFDb"_s);
        QCOMPARE(form->Memo1->document()->blockCount(), 4);
    }

    void cancelledOpenChangesNothing()
    {
        const QString before = DocumentText(*form->Memo1->document());
        open(QString());
        QCOMPARE(DocumentText(*form->Memo1->document()), before);
        QCOMPARE(form->windowTitle(), u"Renvika v1.1"_s);
        QVERIFY(prompts.messages.isEmpty());
    }

    void failedSaveKeepsTheOldFile()
    {
        const QString target = path(u"kept.dat"_s);
        WriteAll(target, "old bytes");
        QTest::keyClicks(form->Memo1, u"edit"_s);
        // A folder where the file should go: the write cannot succeed.
        QDir(dir.path()).mkdir(u"folder.dat"_s);
        save(path(u"folder.dat"_s));
        QCOMPARE(messageTexts(), QStringList{u"DATファイルの保存に失敗しました。"_s});
        QCOMPARE(prompts.messages.constFirst().caption, u"エラー"_s);
        save(path(u"no such folder/x.dat"_s));
        QCOMPARE(prompts.messages.size(), 2);
        QCOMPARE(ReadAll(target), QByteArray("old bytes"));
        QVERIFY(form->Memo1->document()->isModified()); // still unsaved
    }

    void invalidBytesAreReportedOnce()
    {
        const QString file = path(u"broken.dat"_s);
        WriteAll(file, "$cmd\r\nok\r\n$end\r\n\x82"); // a truncated double-byte character
        open(file);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.constFirst().icon, QMessageBox::Warning);
        QCOMPARE(form->ComboBox1->itemText(0), u"ok"_s);
        QCOMPARE(form->windowTitle(), u"Renvika v1.1 - "_s + QDir::toNativeSeparators(file));
    }

    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("cancel") << QMessageBox::Cancel << false;
        QTest::newRow("discard") << QMessageBox::Discard << true;
        QTest::newRow("save") << QMessageBox::Save << true;
    }
    void unsavedChangesAreAskedAbout()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, opened);
        const QString other = path(u"other.dat"_s);
        WriteAll(other, "$cmd\r\nother\r\n$end\r\n");
        const QString saveTo = path(u"edits.dat"_s);
        QTest::keyClicks(form->Memo1, u"edit"_s);
        const QString edited = DocumentText(*form->Memo1->document());
        prompts.buttons.enqueue(answer);
        if (answer == QMessageBox::Save)
            prompts.files.enqueue(saveTo);
        open(other);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.constFirst().buttons,
                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(DocumentText(*form->Memo1->document()), opened ? u"$cmd\r\nother\r\n$end\r\n"_s : edited);
        QCOMPARE(QFile::exists(saveTo), answer == QMessageBox::Save);
        if (answer == QMessageBox::Save)
            QCOMPARE(ReadAll(saveTo), Utf8Mark + edited.toUtf8());
    }

    void closingWithUnsavedChanges()
    {
        QTest::keyClicks(form->Memo1, u"edit"_s);
        prompts.buttons.enqueue(QMessageBox::Cancel);
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QVERIFY(!QFile::exists(settingsPath()));
        prompts.buttons.enqueue(QMessageBox::Discard);
        form->Action1->trigger();
        QVERIFY(!form->isVisible());
        QVERIFY(QFile::exists(settingsPath()));
        QCOMPARE(prompts.messages.size(), 2);
    }

    void closingWithoutChangesAsksNothing()
    {
        QVERIFY(form->close());
        QVERIFY(prompts.messages.isEmpty());
    }

    void settingsAreApplied_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<bool>("error");
        QTest::newRow("all four") << QByteArray("width 800\r\nheight 600\r\nleft 30\r\ntop 40\r\n")
                                  << QRect(30, 40, 800, 600) << false;
        QTest::newRow("top only") << QByteArray("top 20") << QRect(10, 20, 900, 800) << false;
        QTest::newRow("capital key ignored") << QByteArray("Width 5\nleft 50\n") << QRect(50, 10, 900, 800)
                                             << false;
        QTest::newRow("hexadecimal") << QByteArray("left $20\r\ntop 0x10\r\n") << QRect(32, 16, 900, 800) << false;
        QTest::newRow("bad number stops reading")
            << QByteArray("left 40\r\nwidth abc\r\ntop 50\r\n") << QRect(40, 10, 900, 800) << true;
        QTest::newRow("overflow") << QByteArray("width 2147483648\r\n") << QRect(10, 10, 900, 800) << true;
        QTest::newRow("with a mark") << Utf8Mark + "left 25\r\n" << QRect(25, 10, 900, 800) << false;
    }
    void settingsAreApplied()
    {
        QFETCH(QByteArray, file);
        QFETCH(QRect, bounds);
        QFETCH(bool, error);
        form.reset();
        WriteAll(settingsPath(), file);
        form = std::make_unique<TForm1>(settingsPath(), &prompts);
        // No larger than the screens: the offscreen one is 800 x 800.
        const QSize desktop = QGuiApplication::primaryScreen()->availableVirtualSize();
        QCOMPARE(form->frameGeometry(), QRect(bounds.topLeft(), bounds.size().boundedTo(desktop)));
        QCOMPARE(messageTexts(), error ? QStringList{u"設定の読み込みに失敗しました。"_s} : QStringList{});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->ComboBox1->count(), 2); // the window opens normally
    }

    void unusableBoundsStillGiveAUsableWindow()
    {
        form.reset();
        WriteAll(settingsPath(), "width 0\r\nheight -5\r\nleft -100000\r\ntop 2147483647\r\n");
        form = std::make_unique<TForm1>(settingsPath(), &prompts);
        const QRect bounds = form->frameGeometry();
        QVERIFY(bounds.width() >= form->minimumSizeHint().width());
        QVERIFY(bounds.height() >= form->minimumSizeHint().height());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(bounds.topLeft()));
        QVERIFY(prompts.messages.isEmpty());
    }

    void boundsReadBackAfterClose()
    {
        form->move(33, 44);
        form->resize(750, 560);
        const QRect before = form->frameGeometry();
        QVERIFY(form->close());
        const QByteArray written = ReadAll(settingsPath());
        QCOMPARE(written, u"width %1\r\nheight %2\r\nleft %3\r\ntop %4\r\n"_s.arg(before.width())
                              .arg(before.height()).arg(before.left()).arg(before.top()).toLatin1());
        form = std::make_unique<TForm1>(settingsPath(), &prompts);
        QCOMPARE(form->frameGeometry(), before);
    }

    void unwritableSettingsFolderIsSkipped()
    {
        form.reset();
        // The settings path is a folder: nothing can be written there.
        QDir(dir.path()).mkdir(u"renvika.ini"_s);
        startWindow();
        QCOMPARE(messageTexts(), QStringList{u"設定の読み込みに失敗しました。"_s});
        QVERIFY(form->close());
        QVERIFY(QFileInfo(settingsPath()).isDir());
        QCOMPARE(prompts.messages.size(), 1);
        QDir(settingsPath()).removeRecursively();
    }
};

QTEST_MAIN(TestTForm1Files)
#include "tst_tform1_files.moc"

// Hostile files and faults through the real window: each gives a clear
// message or a correct result, never a crash, a hang or lost text.
#include "documenttext.h"
#include "filetesting.h"
#include "pictureview.h"
#include "previewlimit.h"
#include "renderer.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// Makes every write past `bytes` of a file fail, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace

class TestTForm1Hostile : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(settingsPath());
        startWindow();
    }

    void cleanup() { stopWindow(); }

    void strangeFilesOpen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warned");
        QTest::newRow("empty file") << QByteArray() << QString() << false;
        QTest::newRow("only a UTF-8 mark") << Utf8Mark << QString() << false;
        QTest::newRow("only a UTF-16 mark") << QByteArray("\xFF\xFE") << QString() << false;
        QTest::newRow("NUL bytes") << QByteArray(64, '\0') << QString(64, QChar(0)) << false;
        QTest::newRow("UTF-16 of odd length") << QByteArray("\xFF\xFE$\0c\0m", 7) << u"$c\uFFFD"_s << true;
        QTest::newRow("UTF-16 lone surrogate") << QByteArray("\xFF\xFE" "a\0\x00\xD8" "b\0", 8) << u"a\uFFFDb"_s
                                               << true;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR\xFF\xFF", 18) << QString()
                                << true;
    }
    void strangeFilesOpen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, warned);
        const QString file = path(u"strange.dat"_s);
        WriteAll(file, bytes);
        open(file);
        QCOMPARE(prompts.messages.size(), warned ? 1 : 0);
        if (warned)
            QCOMPARE(prompts.messages.constFirst().icon, QMessageBox::Warning);
        if (!text.isNull() || bytes.isEmpty())
            QCOMPARE(DocumentText(*form->Memo1->document()), text);
        QCOMPARE(form->windowTitle(), u"Renvika v1.1 - "_s + QDir::toNativeSeparators(file));
        QCOMPARE(form->ComboBox1->count(), 0);
        QVERIFY(!form->ComboBox1->isEnabled());
        QCOMPARE(form->Image1->size(), QSize(0, 0));
        // Whatever was read is saved back as it shows.
        const QString copy = path(u"copy.dat"_s);
        save(copy);
        QCOMPARE(ReadAll(copy), Utf8Mark + DocumentText(*form->Memo1->document()).toUtf8());
    }

    void hugeBlockPreviewIsCapped()
    {
        QStringList lines{u"$cmd"_s};
        for (int i = 0; i < 20000; ++i)
            lines.append(u"%1 行目 _6_A @qdf"_s.arg(i));
        lines.append(u"$end"_s);
        const QString file = path(u"huge.dat"_s);
        WriteAll(file, Utf8Mark + lines.join(u"\r\n"_s).toUtf8());
        open(file);
        QCOMPARE(form->ComboBox1->count(), 1);
        const QImage &picture = form->Image1->picture();
        QVERIFY(!picture.isNull());
        QVERIFY(qint64(picture.width()) * picture.height() <= MaxPreviewPixels);
        QVERIFY(picture.height() < 20000 * LinePitch);
        // The note is part of the picture: the same text drawn alone gives the same pixels.
        const PreviewText fitted = FitPreviewText(lines.mid(1, 20000).join(u"\r\n"_s));
        QVERIFY(fitted.cut);
        QImage expected;
        RenderCommand(expected, fitted.text, false, form->Image2->picture());
        QCOMPARE(picture, expected);
    }

    void fullDiskKeepsTheOldFile()
    {
        const QString target = path(u"precious.dat"_s);
        const QByteArray old = Utf8Mark + QByteArray("$cmd\r\nold\r\n$end\r\n");
        WriteAll(target, old);
        QStringList lines;
        for (int i = 0; i < 2000; ++i)
            lines.append(u"$cmd\r\n技 %1 _6_A\r\n$end"_s.arg(i));
        QTextCursor cursor(form->Memo1->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(lines.join(u"\r\n"_s));
        {
            const FileSizeLimit full(4096);
            save(target);
        }
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.constFirst().text, u"DATファイルの保存に失敗しました。"_s);
        QCOMPARE(ReadAll(target), old);
        QVERIFY(form->Memo1->document()->isModified());
        // Room again: the same save goes through.
        save(target);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(ReadAll(target), Utf8Mark + DocumentText(*form->Memo1->document()).toUtf8());
    }

    void fileGoneBeforeReading()
    {
        const QString file = path(u"vanishing.dat"_s);
        WriteAll(file, "$cmd\r\nx\r\n$end\r\n");
        const QString before = DocumentText(*form->Memo1->document());
        QFile::remove(file);
        open(file);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.constFirst().text, u"ファイルオープンに失敗しました"_s);
        QCOMPARE(DocumentText(*form->Memo1->document()), before);
    }

    void hostileSettingsFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("error");
        QTest::newRow("garbage") << QByteArray("\x00\xFF\xFE garbage\r\n\x81", 13) << false;
        QTest::newRow("10 MB of lines") << QByteArray(10 * 1024 * 1024, 'x') + "\r\nwidth 700\r\n" << false;
        QTest::newRow("zero width") << QByteArray("width 0\r\nheight 0\r\n") << false;
        QTest::newRow("negative size") << QByteArray("width -5\r\nheight -5\r\n") << false;
        QTest::newRow("largest width") << QByteArray("width 2147483647\r\nheight 2147483647\r\n") << false;
        QTest::newRow("far away") << QByteArray("left -2147483648\r\ntop 2147483647\r\n") << false;
        QTest::newRow("a number too large") << QByteArray("width 99999999999\r\n") << true;
    }
    void hostileSettingsFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, error);
        form.reset();
        WriteAll(settingsPath(), file);
        form = std::make_unique<TForm1>(settingsPath(), &prompts);
        QCOMPARE(prompts.messages.size(), error ? 1 : 0);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect bounds = form->frameGeometry();
        QVERIFY(bounds.width() >= form->minimumSizeHint().width());
        QVERIFY(bounds.height() >= form->minimumSizeHint().height());
        QVERIFY(QGuiApplication::primaryScreen()->availableVirtualGeometry().intersects(bounds));
        QCOMPARE(form->ComboBox1->count(), 2);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestTForm1Hostile)
#include "tst_tform1_hostile.moc"

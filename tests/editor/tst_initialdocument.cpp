// The template and reference document the editor starts with.
#include "commandblocks.h"
#include "documenttext.h"
#include "tform1.h"

#include <QCryptographicHash>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInitialDocument : public QObject {
    Q_OBJECT

    QByteArray bytes;
    QStringList lines; // without their CR LF

private slots:
    void initTestCase()
    {
        QFile file(u":/assets/initial-document.txt"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        bytes = file.readAll();
        lines = QString::fromUtf8(bytes).split(u"\r\n"_s);
        QCOMPARE(lines.takeLast(), QString()); // the last line ends in CR LF too
    }

    void bytesAreExact()
    {
        QCOMPARE(bytes.size(), 5977);
        QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
                 QByteArray("b9c17d2063cd82c5cc46ac0352b1d28b81d2fc804f35dd7971f37844fcf6c2d2"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(bytes.endsWith("$end\r\n\r\n"));
        QCOMPARE(bytes.count("\r\n"), 161);
        QCOMPARE(bytes.count('\n'), 161);
        QCOMPARE(bytes.count('\r'), 161);
    }

    void keyLines_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("line");
        QTest::newRow("first") << 1 << u"$cmd"_s;
        QTest::newRow("template caption") << 2 << u"【基本テンプレート】"_s;
        QTest::newRow("info marker") << 5 << u" $info = ??? (ロムセットの名前)"_s;
        QTest::newRow("end of the template") << 17 << u"$end"_s;
        QTest::newRow("format block") << 18 << u"$cmd"_s;
        QTest::newRow("format caption") << 19 << u"【書式】"_s;
        QTest::newRow("a button row") << 37 << u" Aボタン        | _A | @A-button |"_s;
        QTest::newRow("the last motion") << 158 << u" 左＞下＞左下          | _R | @dsb      |※逆昇竜拳コマンド"_s;
        QTest::newRow("end of the format block") << 160 << u"$end"_s;
        QTest::newRow("empty last line") << 161 << QString();
    }
    void keyLines()
    {
        QFETCH(int, number);
        QFETCH(QString, line);
        QCOMPARE(lines.size(), 161);
        QCOMPARE(lines.at(number - 1), line);
    }

    void rulersAndSpacing()
    {
        QList<int> rulers;
        for (const QString &line : std::as_const(lines)) {
            if (line.startsWith(u'<'))
                rulers.append(int(line.size()));
            QVERIFY2(!line.contains(u'\t') && !line.contains(QChar(0x3000)), qPrintable(line));
            QVERIFY2(!line.endsWith(u' '), qPrintable(line));
        }
        QCOMPARE(rulers, (QList<int>{45, 59, 33}));
    }

    void parsesIntoTheTwoBlocks()
    {
        const QList<CommandBlock> blocks = ParseCommandBlocks(QString::fromUtf8(bytes));
        QCOMPARE(blocks.size(), 2);
        QCOMPARE(blocks.at(0).caption, u"【基本テンプレート】"_s);
        QCOMPARE(blocks.at(0).text, lines.mid(1, 14).join(u"\r\n"_s).trimmed());
        QCOMPARE(blocks.at(1).caption, u"【書式】"_s);
        QCOMPARE(blocks.at(1).text, lines.mid(18, 141).join(u"\r\n"_s).trimmed());
    }

    void editorStartsWithIt()
    {
        QTemporaryDir dir;
        const TForm1 form(dir.filePath(u"renvika.ini"_s));
        QCOMPARE(DocumentText(*form.Memo1->document()).toUtf8(), bytes);
        QVERIFY(!form.Memo1->document()->isModified());
    }
};

QTEST_MAIN(TestInitialDocument)
#include "tst_initialdocument.moc"

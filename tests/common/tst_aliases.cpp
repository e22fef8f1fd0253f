#include "aliases.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestAliases : public QObject
{
    Q_OBJECT

private slots:
    void eachRow_data();
    void eachRow();
    void replacementRules_data();
    void replacementRules();
};

void TestAliases::eachRow_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("token");
    const std::pair<QString, QString> rows[] = {
        {u"@A-button"_s, u"_A"_s}, {u"@B-button"_s, u"_B"_s}, {u"@C-button"_s, u"_C"_s},
        {u"@D-button"_s, u"_D"_s}, {u"@BALL"_s, u"_5"_s},      {u"@start"_s, u"_S"_s},
        {u"@select"_s, u"^S"_s},   {u"@punch"_s, u"_P"_s},     {u"@kick"_s, u"_K"_s},
        {u"@guard"_s, u"_G"_s},    {u"@L-punch"_s, u"^E"_s},   {u"@M-punch"_s, u"^F"_s},
        {u"@S-punch"_s, u"^G"_s},  {u"@L-kick"_s, u"^H"_s},    {u"@M-kick"_s, u"^I"_s},
        {u"@S-kick"_s, u"^J"_s},   {u"@3-kick"_s, u"^T"_s},    {u"@3-punch"_s, u"^U"_s},
        {u"@2-kick"_s, u"^V"_s},   {u"@2-punch"_s, u"^W"_s},   {u"@hcb"_s, u"_k"_s},
        {u"@huf"_s, u"_l"_s},      {u"@hcf"_s, u"_m"_s},       {u"@hub"_s, u"_n"_s},
        {u"@qfd"_s, u"_o"_s},      {u"@qdb"_s, u"_p"_s},       {u"@qbu"_s, u"_q"_s},
        {u"@quf"_s, u"_r"_s},      {u"@qbd"_s, u"_s"_s},       {u"@qdf"_s, u"_t"_s},
        {u"@qfu"_s, u"_u"_s},      {u"@qub"_s, u"_v"_s},       {u"@fdf"_s, u"_w"_s},
        {u"@fub"_s, u"_x"_s},      {u"@fuf"_s, u"_y"_s},       {u"@fdb"_s, u"_z"_s},
        {u"@xff"_s, u"_L"_s},      {u"@xbb"_s, u"_M"_s},       {u"@dsf"_s, u"_Q"_s},
        {u"@dsb"_s, u"_R"_s},      {u"@decrease"_s, u"^-"_s},  {u"@increase"_s, u"^+"_s},
    };
    for (const auto &[alias, token] : rows)
        QTest::newRow(qPrintable(alias)) << alias << token;
    // Letter buttons E to Z become lower-case caret tokens.
    for (char16_t letter = u'E'; letter <= u'Z'; ++letter) {
        const QString alias = u"@"_s + QChar(letter) + u"-button"_s;
        QTest::newRow(qPrintable(alias)) << alias << u"^"_s + QChar(letter).toLower();
    }
}

void TestAliases::eachRow()
{
    QFETCH(QString, alias);
    QFETCH(QString, token);
    QCOMPARE(ExpandAliases(alias), token);
    QCOMPARE(ExpandAliases(u"波動拳 "_s + alias + u" "_s + alias), u"波動拳 "_s + token + u" "_s + token);
}

void TestAliases::replacementRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("empty") << u""_s << u""_s;
    QTest::newRow("no at sign") << u"_2_3_6 + _A 波動拳"_s << u"_2_3_6 + _A 波動拳"_s;
    QTest::newRow("back to back") << u"@A-button@B-button"_s << u"_A_B"_s;
    QTest::newRow("followed by a letter") << u"@qdfP"_s << u"_tP"_s;
    QTest::newRow("wrong case") << u"@a-button @Qdf @Start"_s << u"@a-button @Qdf @Start"_s;
    QTest::newRow("unfinished alias") << u"@A-butto @qd"_s << u"@A-butto @qd"_s;
    QTest::newRow("full-width letters") << u"＠ｑｄｆ"_s << u"＠ｑｄｆ"_s;
    QTest::newRow("lone at signs") << u"@ @@"_s << u"@ @@"_s;
    QTest::newRow("doubled at sign") << u"@@qdf"_s << u"@_t"_s;
    QTest::newRow("longer alias starting alike") << u"@select@start@S-kick@S-punch@S-button"_s
                                                 << u"^S_S^J^G^s"_s;
    QTest::newRow("no picture tokens") << u"@dsf @dsb @3-kick @3-punch @2-kick @2-punch"_s
                                       << u"_Q _R ^T ^U ^V ^W"_s;
    // The symbol token "_@" is plain text to the expansion: its at sign
    // starts an alias with the letters that follow.
    QTest::newRow("symbol token before letters") << u"_@qdf"_s << u"__t"_s;
    // What is left around a replacement never joins into another alias.
    QTest::newRow("remains do not join") << u"@qd@qdff"_s << u"@qd_tf"_s;
    QTest::newRow("line breaks kept") << u"@xff\r\n@xbb\r\n"_s << u"_L\r\n_M\r\n"_s;
}

void TestAliases::replacementRules()
{
    QFETCH(QString, text);
    QFETCH(QString, expanded);
    QCOMPARE(ExpandAliases(text), expanded);
}

QTEST_GUILESS_MAIN(TestAliases)
#include "tst_aliases.moc"

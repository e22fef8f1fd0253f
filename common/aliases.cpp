#include "aliases.h"

#include <QStringView>
#include <array>

namespace {

struct Alias
{
    QStringView alias;
    QStringView token;
};

// Applied in this order; later rows see the output of earlier ones.
constexpr std::array<Alias, 64> AliasTable{{
    {u"@A-button", u"_A"}, {u"@B-button", u"_B"}, {u"@C-button", u"_C"}, {u"@D-button", u"_D"},
    {u"@E-button", u"^e"}, {u"@F-button", u"^f"}, {u"@G-button", u"^g"}, {u"@H-button", u"^h"},
    {u"@I-button", u"^i"}, {u"@J-button", u"^j"}, {u"@K-button", u"^k"}, {u"@L-button", u"^l"},
    {u"@M-button", u"^m"}, {u"@N-button", u"^n"}, {u"@O-button", u"^o"}, {u"@P-button", u"^p"},
    {u"@Q-button", u"^q"}, {u"@R-button", u"^r"}, {u"@S-button", u"^s"}, {u"@T-button", u"^t"},
    {u"@U-button", u"^u"}, {u"@V-button", u"^v"}, {u"@W-button", u"^w"}, {u"@X-button", u"^x"},
    {u"@Y-button", u"^y"}, {u"@Z-button", u"^z"}, {u"@BALL", u"_5"},      {u"@start", u"_S"},
    {u"@select", u"^S"},   {u"@punch", u"_P"},    {u"@kick", u"_K"},      {u"@guard", u"_G"},
    {u"@L-punch", u"^E"},  {u"@M-punch", u"^F"},  {u"@S-punch", u"^G"},   {u"@L-kick", u"^H"},
    {u"@M-kick", u"^I"},   {u"@S-kick", u"^J"},   {u"@3-kick", u"^T"},    {u"@3-punch", u"^U"},
    {u"@2-kick", u"^V"},   {u"@2-punch", u"^W"},  {u"@hcb", u"_k"},       {u"@huf", u"_l"},
    {u"@hcf", u"_m"},      {u"@hub", u"_n"},      {u"@qfd", u"_o"},       {u"@qdb", u"_p"},
    {u"@qbu", u"_q"},      {u"@quf", u"_r"},      {u"@qbd", u"_s"},       {u"@qdf", u"_t"},
    {u"@qfu", u"_u"},      {u"@qub", u"_v"},      {u"@fdf", u"_w"},       {u"@fub", u"_x"},
    {u"@fuf", u"_y"},      {u"@fdb", u"_z"},      {u"@xff", u"_L"},       {u"@xbb", u"_M"},
    {u"@dsf", u"_Q"},      {u"@dsb", u"_R"},      {u"@decrease", u"^-"},  {u"@increase", u"^+"},
}};

} // namespace

QString ExpandAliases(const QString &text)
{
    // Every alias starts with '@' and no token contains one, so once the
    // text has no '@' left no later row can match either.
    if (!text.contains(u'@'))
        return text;
    QString result = text;
    for (const Alias &row : AliasTable) {
        result.replace(row.alias.data(), row.alias.size(), row.token.data(), row.token.size(), Qt::CaseSensitive);
        if (!result.contains(u'@'))
            break;
    }
    return result;
}

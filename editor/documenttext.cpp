#include "documenttext.h"

#include <QTextDocument>

using namespace Qt::StringLiterals;

QString DocumentText(const QTextDocument &document)
{
    QString text = document.toRawText(); // unlike toPlainText, keeps no-break spaces
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
    return text;
}

bool ReplaceDocumentBreakCharacters(QString &text)
{
    bool replaced = false;
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
            c = QChar::ReplacementCharacter;
            replaced = true;
        }
    }
    return replaced;
}

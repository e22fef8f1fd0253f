#include "documenttext.h"

#include <QTextDocument>

using namespace Qt::StringLiterals;

QString DocumentText(const QTextDocument &document)
{
    QString text = document.toRawText(); // unlike toPlainText, keeps no-break spaces
    text.replace(QChar::ParagraphSeparator, u"\r\n"_s);
    return text;
}

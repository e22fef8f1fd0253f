#pragma once

#include <QString>

class QTextDocument;

// The editor's whole text as a command list: its lines joined with CR LF,
// every character as typed (no-break spaces included).
QString DocumentText(const QTextDocument &document);

// A text document takes U+2029, U+FDD0 and U+FDD1 for paragraph and frame
// breaks, but in a command file they are ordinary characters: they are
// replaced by U+FFFD, rather than silently becoming line breaks. Returns
// whether there were any.
bool ReplaceDocumentBreakCharacters(QString &text);

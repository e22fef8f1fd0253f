#pragma once

#include <QString>

class QTextDocument;

// The editor's whole text as a command list: its lines joined with CR LF,
// every character as typed (no-break spaces included).
QString DocumentText(const QTextDocument &document);

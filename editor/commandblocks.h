#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One "$cmd" ... "$end" block of a command list.
struct CommandBlock {
    QString caption; // first content line, untrimmed
    QString text;    // content lines joined with CR LF, trimmed of characters <= 32
    friend bool operator==(const CommandBlock &, const CommandBlock &) = default;
};

// Splits a whole command list (CR LF, CR or LF line breaks) into its blocks.
QList<CommandBlock> ParseCommandBlocks(QStringView document);

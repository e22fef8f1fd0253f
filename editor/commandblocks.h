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

// True for a line that opens a block: its first four characters are "$cmd".
bool OpensCommandBlock(QStringView line);

// The parser's state machine, fed one line (without its break) at a time;
// it appends every block that an "$end" line closes to `out`. The fed lines
// are kept as views, so they must outlive the collector.
class CommandBlockCollector {
public:
    explicit CommandBlockCollector(QList<CommandBlock> &out) : m_out(out) {}
    void addLine(QStringView line);

private:
    void emitBlock();

    QList<CommandBlock> &m_out;
    QList<QStringView> m_content; // content lines since the last "$cmd"
};

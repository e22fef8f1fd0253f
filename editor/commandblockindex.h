#pragma once

#include "commandblocks.h"

#include <QList>
#include <QString>

#include <functional>
#include <span>
#include <vector>

// What an update did to CommandBlockIndex::blocks(): the `removed` rows from
// row `first` on were replaced by `added` new rows. Rows outside that range
// are unchanged, and the first and last replaced rows really differ.
struct BlockSplice {
    qsizetype first = 0;
    qsizetype removed = 0;
    qsizetype added = 0;
    friend bool operator==(const BlockSplice &, const BlockSplice &) = default;
};

// The document cut into segments: a segment starts at a "$cmd" line (the
// first one at line 0) and runs up to the next. Segments are stored by
// length in chunks of a few hundred, so finding the segment of a line walks
// O(sqrt n) entries and an edit rewrites only the chunks it touches.
class CommandSegmentTable {
public:
    struct Segment {
        int lines = 0;
        qsizetype blocks = 0; // blocks emitted by the segment's "$end" lines
    };
    struct Position {
        qsizetype index = 0;      // of the segment
        int firstLine = 0;        // its first line in the document
        qsizetype firstBlock = 0; // its first block in the parse result
        Segment segment;
    };

    qsizetype size() const { return m_size; }
    // The segment that holds `line`; 0 <= line < total number of lines.
    Position find(int line) const;
    // Replaces the segments [first, first + count) by `with`.
    void replace(qsizetype first, qsizetype count, std::span<const Segment> with);

private:
    struct Chunk {
        std::vector<Segment> segments;
        int lines = 0;
        qsizetype blocks = 0;
    };

    std::vector<Chunk> m_chunks;
    qsizetype m_size = 0;
};

// The blocks of a document kept as lines (without line breaks, as in a text
// editor's paragraphs), re-parsed incrementally. Because "$cmd" resets the
// parser, the blocks of a segment depend on its lines alone, and an edit
// re-parses only the segments it touches: a keystroke costs the size of the
// edited segment, not of the document.
class CommandBlockIndex {
public:
    // Reads a line of the current document, without its line break. A line
    // must not hold CR or LF: each would start another line in the saved text.
    using LineReader = std::function<QString(int line)>;

    // Parses the whole document.
    void reset(int lineCount, const LineReader &line);

    // Follows an edit that replaced the `removedLines` lines from `firstLine`
    // on by `addedLines` lines; `line` reads the edited document. Arguments
    // that do not fit the known line count make it parse the whole document.
    BlockSplice update(int firstLine, int removedLines, int addedLines, int newLineCount,
                       const LineReader &line);

    // Equal to ParseCommandBlocks of the lines joined with CR LF. Holding a
    // copy of the list makes the next update copy it.
    const QList<CommandBlock> &blocks() const { return m_blocks; }
    int lineCount() const { return m_lineCount; }

private:
    BlockSplice reparse(const CommandSegmentTable::Position &first, qsizetype segmentCount,
                        qsizetype blockCount, int endLine, int newLineCount, const LineReader &line);
    BlockSplice splice(qsizetype first, qsizetype count, QList<CommandBlock> &&fresh);

    QList<CommandBlock> m_blocks;
    CommandSegmentTable m_segments;
    int m_lineCount = 0;
};

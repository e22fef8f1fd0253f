#include "commandblockindex.h"

#include <QStringList>

#include <algorithm>

namespace {

// Segments per chunk: about the square root of the 40,000 segments of a big
// command list, which keeps both walks in find() short.
constexpr qsizetype kChunkSize = 256;

} // namespace

CommandSegmentTable::Position CommandSegmentTable::find(int line) const
{
    Q_ASSERT(line >= 0);
    Position p;
    for (const Chunk &chunk : m_chunks) {
        if (line >= p.firstLine + chunk.lines) {
            p.index += qsizetype(chunk.segments.size());
            p.firstLine += chunk.lines;
            p.firstBlock += chunk.blocks;
            continue;
        }
        for (const Segment &segment : chunk.segments) {
            if (line < p.firstLine + segment.lines) {
                p.segment = segment;
                return p;
            }
            ++p.index;
            p.firstLine += segment.lines;
            p.firstBlock += segment.blocks;
        }
    }
    Q_ASSERT_X(false, "CommandSegmentTable::find", "line past the end of the document");
    return p;
}

void CommandSegmentTable::replace(qsizetype first, qsizetype count, std::span<const Segment> with)
{
    Q_ASSERT(first >= 0 && count >= 0 && first + count <= m_size);
    const auto chunkCount = qsizetype(m_chunks.size());

    // The chunks [c0, c1) hold the replaced segments (or the insertion point).
    qsizetype c0 = 0, offset = 0;
    while (c0 + 1 < chunkCount && first >= offset + qsizetype(m_chunks[c0].segments.size()))
        offset += qsizetype(m_chunks[c0++].segments.size());
    qsizetype c1 = c0, end = offset;
    while (c1 < chunkCount && (c1 == c0 || first + count > end))
        end += qsizetype(m_chunks[c1++].segments.size());

    std::vector<Segment> merged;
    merged.reserve(std::size_t(end - offset - count) + with.size());
    for (qsizetype c = c0; c < c1; ++c) {
        const std::vector<Segment> &segments = m_chunks[c].segments;
        for (qsizetype i = 0; i < qsizetype(segments.size()); ++i) {
            const qsizetype index = offset + i;
            if (index == first)
                merged.insert(merged.end(), with.begin(), with.end());
            if (index < first || index >= first + count)
                merged.push_back(segments[i]);
        }
        offset += qsizetype(segments.size());
    }
    if (first == end) // appended after the last segment, or into an empty table
        merged.insert(merged.end(), with.begin(), with.end());

    // A small remainder is merged with a neighbour so that chunks stay
    // between half and twice kChunkSize (a lone chunk may be smaller).
    if (qsizetype(merged.size()) < kChunkSize / 2) {
        if (c1 < chunkCount) {
            const std::vector<Segment> &next = m_chunks[c1++].segments;
            merged.insert(merged.end(), next.begin(), next.end());
        } else if (c0 > 0) {
            const std::vector<Segment> &previous = m_chunks[--c0].segments;
            merged.insert(merged.begin(), previous.begin(), previous.end());
        }
    }

    const auto total = qsizetype(merged.size());
    const qsizetype pieces = total == 0 ? 0 : std::max<qsizetype>(1, total / kChunkSize);
    std::vector<Chunk> chunks(static_cast<std::size_t>(pieces));
    auto next = merged.begin();
    for (qsizetype i = 0; i < pieces; ++i) {
        const qsizetype size = total / pieces + (i < total % pieces ? 1 : 0);
        Chunk &chunk = chunks[std::size_t(i)];
        chunk.segments.assign(next, next + size);
        next += size;
        for (const Segment &segment : chunk.segments) {
            chunk.lines += segment.lines;
            chunk.blocks += segment.blocks;
        }
    }
    m_chunks.erase(m_chunks.begin() + c0, m_chunks.begin() + c1);
    m_chunks.insert(m_chunks.begin() + c0, std::make_move_iterator(chunks.begin()),
                    std::make_move_iterator(chunks.end()));
    m_size += qsizetype(with.size()) - count;
}

void CommandBlockIndex::reset(int lineCount, const LineReader &line)
{
    m_blocks.clear();
    m_segments = {};
    m_lineCount = 0;
    reparse({}, 0, 0, lineCount, lineCount, line);
}

BlockSplice CommandBlockIndex::update(int firstLine, int removedLines, int addedLines,
                                      int newLineCount, const LineReader &line)
{
    const bool consistent = firstLine >= 0 && removedLines >= 0 && addedLines >= 0
                            && firstLine <= m_lineCount - removedLines
                            && newLineCount == m_lineCount - removedLines + addedLines;
    if (!consistent || m_lineCount == 0 || newLineCount == 0) {
        // Nothing to keep: re-parse the whole document.
        newLineCount = std::max(newLineCount, 0);
        return reparse({}, m_segments.size(), m_blocks.size(), newLineCount, newLineCount, line);
    }

    const CommandSegmentTable::Position start = m_segments.find(std::min(firstLine, m_lineCount - 1));
    CommandSegmentTable::Position first = start;
    // An edit that begins on a segment's "$cmd" line may have taken the
    // "$cmd" away; the segment then continues the previous one.
    if (start.firstLine == firstLine && start.index > 0
        && !(firstLine < newLineCount && OpensCommandBlock(line(firstLine))))
        first = m_segments.find(firstLine - 1);
    const CommandSegmentTable::Position last =
        removedLines > 0 ? m_segments.find(firstLine + removedLines - 1) : start;

    // The line after `last` opens a segment (or the document ends there),
    // and the edit did not touch it: the segments from there on stay.
    const int oldEnd = last.firstLine + last.segment.lines;
    const qsizetype blockCount = last.firstBlock + last.segment.blocks - first.firstBlock;
    return reparse(first, last.index - first.index + 1, blockCount,
                   oldEnd + addedLines - removedLines, newLineCount, line);
}

// Parses the edited document's lines [first.firstLine, endLine), which
// replace the segments [first.index, first.index + segmentCount) and their
// `blockCount` blocks.
BlockSplice CommandBlockIndex::reparse(const CommandSegmentTable::Position &first,
                                       qsizetype segmentCount, qsizetype blockCount, int endLine,
                                       int newLineCount, const LineReader &line)
{
    QStringList lines;
    lines.reserve(endLine - first.firstLine);
    for (int i = first.firstLine; i < endLine; ++i)
        lines.append(line(i));

    QList<CommandBlock> fresh;
    std::vector<CommandSegmentTable::Segment> segments;
    CommandBlockCollector collector(fresh);
    int segmentStart = 0;
    qsizetype segmentBlocks = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0 && OpensCommandBlock(lines[i])) {
            segments.push_back({i - segmentStart, fresh.size() - segmentBlocks});
            segmentStart = i;
            segmentBlocks = fresh.size();
        }
        collector.addLine(lines[i]);
    }
    if (!lines.isEmpty())
        segments.push_back({int(lines.size()) - segmentStart, fresh.size() - segmentBlocks});

    m_segments.replace(first.index, segmentCount, segments);
    m_lineCount = newLineCount;
    return splice(first.firstBlock, blockCount, std::move(fresh));
}

// Replaces blocks [first, first + count) by `fresh`, leaving alone the rows
// at either end that came out equal, so the caller updates only real changes.
BlockSplice CommandBlockIndex::splice(qsizetype first, qsizetype count, QList<CommandBlock> &&fresh)
{
    qsizetype prefix = 0;
    while (prefix < count && prefix < fresh.size() && m_blocks[first + prefix] == fresh[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < count - prefix && suffix < fresh.size() - prefix
           && m_blocks[first + count - 1 - suffix] == fresh[fresh.size() - 1 - suffix])
        ++suffix;

    const BlockSplice result{first + prefix, count - prefix - suffix, fresh.size() - prefix - suffix};
    const qsizetype common = std::min(result.removed, result.added);
    if (result.removed > common)
        m_blocks.remove(result.first + common, result.removed - common);
    else if (result.added > common)
        m_blocks.insert(result.first + common, result.added - common, CommandBlock{});
    for (qsizetype i = 0; i < result.added; ++i)
        m_blocks[result.first + i] = std::move(fresh[prefix + i]);
    return result;
}

#include "commandblocks.h"

#include "textlines.h"

namespace {

bool IsBlank(QChar c) { return c.unicode() <= 32; }

qsizetype FirstNonBlank(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i)
        if (!IsBlank(s[i]))
            return i;
    return -1;
}

qsizetype LastNonBlank(QStringView s)
{
    for (qsizetype i = s.size() - 1; i >= 0; --i)
        if (!IsBlank(s[i]))
            return i;
    return -1;
}

} // namespace

bool OpensCommandBlock(QStringView line)
{
    return line.startsWith(u"$cmd");
}

void CommandBlockCollector::addLine(QStringView line)
{
    if (OpensCommandBlock(line))
        m_content.clear();
    else if (line.startsWith(u"$end"))
        emitBlock(); // the content stays: a second "$end" emits it again
    else
        m_content.append(line);
}

// The block text is the content lines joined with CR LF, without the
// characters <= 32 at either end. It is built straight from the trimmed
// range so that nothing is copied twice.
void CommandBlockCollector::emitBlock()
{
    CommandBlock block;
    if (!m_content.isEmpty())
        block.caption = m_content.first().toString();

    qsizetype first = 0, firstPos = -1;
    for (; first < m_content.size(); ++first)
        if ((firstPos = FirstNonBlank(m_content[first])) >= 0)
            break;
    if (firstPos >= 0) {
        qsizetype last = m_content.size() - 1, lastPos = -1;
        for (; last >= first; --last)
            if ((lastPos = LastNonBlank(m_content[last])) >= 0)
                break;

        if (first == last) {
            block.text = m_content[first].sliced(firstPos, lastPos + 1 - firstPos).toString();
        } else {
            const QStringView head = m_content[first].sliced(firstPos);
            const QStringView tail = m_content[last].first(lastPos + 1);
            qsizetype size = head.size() + tail.size() + 2 * (last - first);
            for (qsizetype i = first + 1; i < last; ++i)
                size += m_content[i].size();
            block.text.reserve(size);
            block.text.append(head);
            for (qsizetype i = first + 1; i < last; ++i) {
                block.text.append(u"\r\n");
                block.text.append(m_content[i]);
            }
            block.text.append(u"\r\n");
            block.text.append(tail);
        }
    }
    m_out.append(std::move(block));
}

QList<CommandBlock> ParseCommandBlocks(QStringView document)
{
    QList<CommandBlock> blocks;
    CommandBlockCollector collector(blocks);
    TextLines lines(document);
    QStringView line;
    while (lines.next(line))
        collector.addLine(line);
    return blocks;
}

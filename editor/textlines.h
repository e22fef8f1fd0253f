#pragma once

#include <QStringView>

// Walks the lines of a text whose line breaks are CR LF, a lone CR or a lone
// LF. A break at the very end does not start another line, so "" has no
// lines and "a\r\n" has one. The views point into the walked text.
class TextLines {
public:
    explicit TextLines(QStringView text) : m_text(text) {}

    // Stores the next line in `line`; false once the text is used up.
    bool next(QStringView &line)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return false;
        const char16_t *data = m_text.utf16();
        qsizetype end = m_pos;
        while (end < size && data[end] != u'\r' && data[end] != u'\n')
            ++end;
        line = m_text.sliced(m_pos, end - m_pos);
        m_pos = end;
        if (m_pos < size && data[m_pos] == u'\r')
            ++m_pos;
        if (m_pos < size && data[m_pos] == u'\n') // lone LF, or the LF of CR LF
            ++m_pos;
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

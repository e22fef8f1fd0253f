#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <span>

// A fuzzer's input read as a stream of small decisions. Reads past the end
// give 0, so every input decodes to something.
class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data, size) {}

    bool empty() const { return m_pos >= m_data.size(); }
    uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }

    // A value in [0, bound]; 0 when bound <= 0.
    int upTo(int bound)
    {
        if (bound <= 0)
            return 0;
        const int raw = byte() | byte() << 8;
        return raw % (bound + 1);
    }

    // Picks one entry of a table.
    template <typename T, size_t N>
    const T &pick(const T (&table)[N])
    {
        return table[byte() % N];
    }

    // Everything not read yet.
    QByteArrayView rest() const
    {
        const size_t at = m_pos < m_data.size() ? m_pos : m_data.size();
        return QByteArrayView(reinterpret_cast<const char *>(m_data.data() + at), qsizetype(m_data.size() - at));
    }

    // Moves the read position past the first byte equal to `delimiter` and
    // returns what came before it (all the rest when there is none).
    QByteArrayView until(uint8_t delimiter)
    {
        const QByteArrayView r = rest();
        const qsizetype at = r.indexOf(char(delimiter));
        const qsizetype length = at < 0 ? r.size() : at;
        m_pos += size_t(at < 0 ? length : length + 1);
        return r.first(length);
    }

private:
    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
};

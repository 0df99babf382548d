// Lines of text joined into one, in a buffer kept from one joined text to
// the next: a pass that joins the lines of many paragraphs or entries
// makes its room once.
#ifndef PARCHLY_ANALYSIS_JOINED_TEXT_H
#define PARCHLY_ANALYSIS_JOINED_TEXT_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace parchly {

// A line is copied onto the end without the checks and the out-of-line
// call of a string's append: most lines joined are short of the room the
// texts before them made.
class JoinedText {
public:
    std::string_view view() const { return std::string_view(m_bytes.get(), m_size); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    char operator[](std::size_t at) const { return m_bytes[at]; }
    void clear() { m_size = 0; }

    // Appends `text`, after a blank when `blankFirst` is set.
    void append(std::string_view text, bool blankFirst)
    {
        if (m_size + text.size() + 1 > m_capacity)
            grow(m_size + text.size() + 1);
        if (blankFirst)
            m_bytes[m_size++] = ' ';
        std::memcpy(m_bytes.get() + m_size, text.data(), text.size());
        m_size += text.size();
    }

private:
    void grow(std::size_t needed)
    {
        const std::size_t capacity = std::max({needed, 2 * m_capacity, kInitialCapacity});
        std::unique_ptr<char[]> larger(new char[capacity]);
        if (m_size > 0)
            std::memcpy(larger.get(), m_bytes.get(), m_size);
        m_bytes = std::move(larger);
        m_capacity = capacity;
    }

    // A few lines of text: most paragraphs and entries fit.
    static constexpr std::size_t kInitialCapacity = 1024;
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace parchly

#endif

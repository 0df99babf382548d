// A text one thread replaces while another copies it: every copy is a whole
// text, never one half-way through its replacement.
#ifndef PARCHLY_DOWNLOAD_SHARED_TEXT_H
#define PARCHLY_DOWNLOAD_SHARED_TEXT_H

#include <mutex>
#include <string>

namespace parchly {

class SharedText {
public:
    void set(std::string text)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_text.swap(text);
    }

    std::string get() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_text;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_text;
};

} // namespace parchly

#endif

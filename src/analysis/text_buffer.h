// Memory for a text read whole and kept while it is read: the bytes of a
// file, or a copy of bytes handed in.
#ifndef PARCHLY_ANALYSIS_TEXT_BUFFER_H
#define PARCHLY_ANALYSIS_TEXT_BUFFER_H

#include <cstddef>
#include <memory>

namespace parchly {

struct TextBufferRelease {
    void operator()(char* bytes) const;
};

using TextBuffer = std::unique_ptr<char[], TextBufferRelease>;

// Room for `size` bytes, uninitialised; throws std::bad_alloc as new does.
// A large text (the longest RFCs, the index) is asked of the kernel in huge
// pages where it offers them: the first write to each 4 KiB page of fresh
// memory costs about 3 microseconds on the virtual machines Parchly is
// measured on, a fifth of the time to open a 1.5 MB RFC, where one huge
// page costs a tenth of that for 2 MiB.
TextBuffer allocateTextBuffer(std::size_t size);

} // namespace parchly

#endif

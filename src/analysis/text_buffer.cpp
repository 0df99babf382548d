#include "analysis/text_buffer.h"

#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace parchly {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) * 1024 * 1024;
// From half a huge page on, the rounding wastes at most as much as it
// holds; smaller texts (nearly every RFC) take the common heap.
constexpr std::size_t kHugeFrom = kHugePage / 2;

} // namespace

void TextBufferRelease::operator()(char* bytes) const
{
    std::free(bytes);
}

TextBuffer allocateTextBuffer(std::size_t size)
{
    if (size >= kHugeFrom) {
        const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
        if (void* bytes = std::aligned_alloc(kHugePage, rounded)) {
            // Only advice: without huge pages the buffer is the same.
            ::madvise(bytes, rounded, MADV_HUGEPAGE);
            return TextBuffer(static_cast<char*>(bytes));
        }
    }
    void* bytes = std::malloc(size > 0 ? size : 1);
    if (bytes == nullptr)
        throw std::bad_alloc();
    return TextBuffer(static_cast<char*>(bytes));
}

} // namespace parchly

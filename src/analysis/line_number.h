// Two kinds of line number that must not be mixed: a line of the file, which
// every analysis record counts whatever the view hides, and a line as shown
// once page headers and footers are cut out. Each keeps a 0-based index; the
// records' 1-based numbers come in and go out only through atNumber() and
// number(), so that no caller adds or takes away the 1 by hand.
#ifndef PARCHLY_ANALYSIS_LINE_NUMBER_H
#define PARCHLY_ANALYSIS_LINE_NUMBER_H

#include <cstdint>

namespace parchly {

template <typename Kind> class LineNumber {
public:
    constexpr LineNumber() = default;

    static constexpr LineNumber atIndex(int32_t index) { return LineNumber(index); }
    // The records count from 1 (a 0 or a negative number gives an index
    // before the text, which no line has).
    static constexpr LineNumber atNumber(int32_t number) { return LineNumber(int32_t(int64_t(number) - 1)); }

    constexpr int32_t index() const { return m_index; }
    constexpr int32_t number() const { return int32_t(int64_t(m_index) + 1); }
    // The line below this one.
    constexpr LineNumber next() const { return LineNumber(int32_t(int64_t(m_index) + 1)); }

    constexpr bool operator==(LineNumber other) const { return m_index == other.m_index; }
    constexpr bool operator!=(LineNumber other) const { return m_index != other.m_index; }
    constexpr bool operator<(LineNumber other) const { return m_index < other.m_index; }
    constexpr bool operator<=(LineNumber other) const { return m_index <= other.m_index; }
    constexpr bool operator>(LineNumber other) const { return m_index > other.m_index; }
    constexpr bool operator>=(LineNumber other) const { return m_index >= other.m_index; }

private:
    explicit constexpr LineNumber(int32_t index)
        : m_index(index)
    {
    }

    int32_t m_index = 0;
};

struct FileLineKind;
struct ShownLineKind;

// A line of the file as the analysis read it.
using FileLine = LineNumber<FileLineKind>;
// A line of the text as the reading view shows it.
using ShownLine = LineNumber<ShownLineKind>;

} // namespace parchly

#endif

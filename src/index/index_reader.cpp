#include "index/index_reader.h"

#include "index/index_entry.h"

#include <string>
#include <string_view>
#include <utility>

namespace parchly {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(std::string_view line, std::size_t position)
{
    while (position < line.size() && isBlank(line[position]))
        ++position;
    return position;
}

// Counts a line just read: skips its leading blanks and a form feed after
// them (a page break at this line's number), then blanks again. Returns the
// offset of the first character left.
std::size_t startLine(RfcText& index, std::string_view line)
{
    ++index.lineCount;
    std::size_t position = skipBlanks(line, 0);
    if (position < line.size() && line[position] == '\f') {
        index.pageEnds.push_back(index.lineCount);
        ++index.pageCount;
        position = skipBlanks(line, position + 1);
    }
    return position;
}

bool isParagraphEnd(std::string_view line, std::size_t position)
{
    return position == line.size() || line[position] == '\r' || line[position] == '\n';
}

// Gathers the entry that starts with `line` into `text`, its lines joined by
// single spaces without their line ends, reading up to and including the
// line that ends it: a blank or form-feed-only line, or the file's last.
void collectEntry(RfcText& index, LineReader& file, std::string_view line, std::string& text)
{
    text.clear();
    std::size_t start = 0;
    for (;;) {
        if (!text.empty())
            text += ' ';
        text.append(line.substr(start));
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        const std::optional<std::string_view> next = file.nextLine();
        if (!next)
            return;
        line = *next;
        start = startLine(index, line);
        if (isParagraphEnd(line, start))
            return;
    }
}

// Fills `entry` from its gathered text; false when it has no number or no
// title.
bool readEntry(const std::string& text, RfcIndexEntry& entry)
{
    const IndexEntryHead head = readIndexEntryHead(text);
    if (head.number <= 0 || head.titleEnd == head.titleStart)
        return false;
    entry.number = head.number;
    entry.title.assign(text, head.titleStart, head.titleEnd - head.titleStart);
    return true;
}

} // namespace

void readIndex(RfcText& index, LineReader& file)
{
    index.isIndex = true;
    // The heading appears twice, in the file's title and above the list;
    // entries start only after the second.
    int headingLines = 0;
    std::string text;
    while (const std::optional<std::string_view> next = file.nextLine()) {
        const std::string_view line = *next;
        const std::size_t start = startLine(index, line);
        if (isParagraphEnd(line, start))
            continue;
        if (line.compare(start, 9, "RFC INDEX") == 0)
            ++headingLines;
        if (headingLines < 2 || start != 0 || line[0] < '0' || line[0] > '9')
            continue;
        RfcIndexEntry entry;
        entry.firstLine = index.lineCount;
        collectEntry(index, file, line, text);
        entry.lastLine = index.lineCount;
        if (readEntry(text, entry))
            index.indexEntries.push_back(std::move(entry));
    }
}

} // namespace parchly

#include "index/index_entry.h"

#include "analysis/ascii.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace parchly {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// White space inside an entry's text, which keeps its line ends.
bool isWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A forward cursor over an entry's text; every test is safe at the end.
class EntryCursor {
public:
    EntryCursor(const std::string& text, std::size_t position)
        : m_text(text)
        , m_position(position)
    {
    }

    std::size_t position() const { return m_position; }
    bool atEnd() const { return m_position >= m_text.size(); }
    bool at(char c) const { return !atEnd() && m_text[m_position] == c; }
    bool atDigit() const { return !atEnd() && isDigit(m_text[m_position]); }

    bool startsWith(const char* word) const
    {
        return m_text.compare(m_position, std::strlen(word), word) == 0;
    }

    // Like startsWith, folding ASCII letters.
    bool startsWithAnyCase(const char* word) const
    {
        return m_position <= m_text.size()
            && startsWithIgnoringAsciiCase(std::string_view(m_text).substr(m_position), word);
    }

    void advance(std::size_t count) { m_position = std::min(m_position + count, m_text.size()); }

    void skipWhite()
    {
        while (!atEnd() && isWhite(m_text[m_position]))
            ++m_position;
    }

    void skipBlanksAndDigits()
    {
        while (at(' ') || at('\t') || atDigit())
            ++m_position;
    }

    // Moves to the first of `stops` at or after the cursor, or to the end.
    void skipTo(const char* stops)
    {
        const std::size_t found = m_text.find_first_of(stops, m_position);
        m_position = found == std::string::npos ? m_text.size() : found;
    }

    // Copies everything up to the next ")" or the end into `out`.
    void copyToParenthesis(std::string& out)
    {
        const std::size_t start = m_position;
        skipTo(")");
        out.assign(m_text, start, m_position - start);
    }

    int32_t readNumber() { return readIndexNumber(m_text, m_position); }

private:
    const std::string& m_text;
    std::size_t m_position;
};

// The RFC numbers of a group, read up to its ")" or the end of the text.
// Items that start with neither "rfc" nor a digit (series names such as
// FYI 12) are passed over.
void readNumberList(EntryCursor& cursor, IndexNumberList& list)
{
    while (!cursor.atEnd() && !cursor.at(')')) {
        cursor.skipWhite();
        if (cursor.startsWithAnyCase("rfc")) {
            cursor.advance(3);
            cursor.skipWhite();
        }
        if (cursor.atDigit()) {
            const auto offset = static_cast<int32_t>(cursor.position());
            if (const int32_t number = cursor.readNumber()) {
                list.numbers.push_back(number);
                list.offsets.push_back(offset);
            }
            cursor.skipBlanksAndDigits();
        } else {
            cursor.skipTo(",)");
        }
        cursor.skipBlanksAndDigits();
        while (cursor.at(','))
            cursor.advance(1);
    }
}

enum class Group { NotOnline, Format, Obsoletes, ObsoletedBy, Updates, UpdatedBy, Also, Status };

struct GroupKeyword {
    const char* word;
    Group group;
};

// The groups in the only order in which they are recognised.
constexpr GroupKeyword kGroupOrder[] = {
    {"Not", Group::NotOnline},       {"Format:", Group::Format},
    {"Obsoletes", Group::Obsoletes}, {"Obsoleted", Group::ObsoletedBy},
    {"Updates", Group::Updates},     {"Updated", Group::UpdatedBy},
    {"Also", Group::Also},           {"Status:", Group::Status},
};
constexpr std::size_t kGroupCount = sizeof kGroupOrder / sizeof kGroupOrder[0];

// Reads "Obsoleted by" or "Updated by" after its first word; the group
// records nothing without "by".
void readNumberListAfterBy(EntryCursor& cursor, IndexNumberList& list)
{
    cursor.skipWhite();
    if (!cursor.startsWith("by"))
        return;
    cursor.advance(2);
    readNumberList(cursor, list);
}

// Reads the groups that start at the cursor, just inside the first "(".
void readGroups(EntryCursor& cursor, IndexEntryFields& fields)
{
    std::size_t next = 0;
    while (next < kGroupCount) {
        while (next < kGroupCount && !cursor.startsWith(kGroupOrder[next].word))
            ++next;
        if (next == kGroupCount)
            return;
        const Group group = kGroupOrder[next].group;
        cursor.advance(std::strlen(kGroupOrder[next].word));
        ++next;
        switch (group) {
        case Group::NotOnline:
            cursor.skipWhite();
            if (!cursor.startsWith("online"))
                return;
            cursor.advance(6);
            cursor.skipWhite();
            if (!cursor.at(')'))
                return;
            break;
        case Group::Format:
            cursor.skipWhite();
            fields.formatStart = static_cast<int32_t>(cursor.position());
            cursor.copyToParenthesis(fields.format);
            break;
        case Group::Obsoletes:
            readNumberList(cursor, fields.obsoletes);
            break;
        case Group::ObsoletedBy:
            readNumberListAfterBy(cursor, fields.obsoletedBy);
            break;
        case Group::Updates:
            readNumberList(cursor, fields.updates);
            break;
        case Group::UpdatedBy:
            readNumberListAfterBy(cursor, fields.updatedBy);
            break;
        case Group::Also:
            readNumberList(cursor, fields.also);
            break;
        case Group::Status:
            cursor.skipWhite();
            cursor.copyToParenthesis(fields.status);
            return;
        }
        // On to the next group: past this one's ")", and only when "(" follows.
        cursor.skipTo(")");
        if (cursor.atEnd())
            return;
        cursor.advance(1);
        cursor.skipWhite();
        if (!cursor.at('('))
            return;
        cursor.advance(1);
        cursor.skipWhite();
        if (cursor.atEnd())
            return;
    }
}

} // namespace

int32_t readIndexNumber(const std::string& text, std::size_t& position)
{
    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    bool fits = true;
    for (; position < text.size() && isDigit(text[position]); ++position) {
        value = value * 10 + (text[position] - '0');
        if (value > kLargest) {
            fits = false;
            value = 0;
        }
    }
    return fits ? static_cast<int32_t>(value) : 0;
}

IndexEntryHead readIndexEntryHead(const std::string& text)
{
    IndexEntryHead head;
    std::size_t position = 0;
    head.number = readIndexNumber(text, position);
    while (position < text.size() && isWhite(text[position]))
        ++position;
    head.titleStart = position;
    // A "." inside the title (a version number such as 1.0) does not end it.
    for (; position < text.size(); ++position) {
        if (text[position] == '.' && (position + 1 == text.size() || isWhite(text[position + 1])))
            break;
    }
    head.titleEnd = position;
    return head;
}

bool parseIndexEntry(const std::string& text, const LimitsBlock& /*limits*/, IndexEntryFields& fields)
{
    if (text.empty())
        return false;
    const IndexEntryHead head = readIndexEntryHead(text);
    fields.number = head.number;
    if (head.number == 0)
        return true;
    if (head.titleStart == text.size())
        return false;
    fields.titleStart = static_cast<int32_t>(head.titleStart);
    fields.title.assign(text, head.titleStart, head.titleEnd - head.titleStart);
    if (head.titleEnd == text.size())
        return !fields.title.empty();

    // Past the title's "." the authors and date are passed over up to the
    // first "(", where the groups begin.
    EntryCursor cursor(text, head.titleEnd + 1);
    cursor.skipWhite();
    if (cursor.atEnd())
        return true;
    cursor.skipTo("(");
    if (cursor.atEnd())
        return true;
    cursor.advance(1);
    cursor.skipWhite();
    if (cursor.atEnd())
        return true;
    readGroups(cursor, fields);
    return true;
}

std::vector<std::string> readIndexLines(LineReader& file)
{
    std::vector<std::string> lines;
    std::string line;
    while (file.readLine(line))
        lines.push_back(line);
    return lines;
}

std::string indexEntryText(const std::vector<std::string>& lines, const RfcIndexEntry& entry)
{
    std::string text;
    for (int32_t line = std::max(entry.firstLine, 1); line <= entry.lastLine; ++line) {
        if (static_cast<std::size_t>(line) > lines.size())
            break;
        text += lines[line - 1];
    }
    return text;
}

} // namespace parchly

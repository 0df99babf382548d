#include "analysis/references.h"

#include "analysis/text_scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace parchly {

namespace {

constexpr int32_t kNoEndLine = std::numeric_limits<int32_t>::max();

// White space as a "%d" conversion skips it.
bool isWhiteSpace(char c)
{
    return isBlankChar(c) || isLineEnd(c) || c == kFormFeed || c == '\v';
}

bool isIndented(std::string_view line)
{
    return isBlankChar(charAt(line, 0));
}

// The pass's own reading state: the record it fills, the text and the
// number of lines read so far, counted from the start of the text.
struct ReferencesScan {
    RfcText& text;
    LineReader& file;
    int32_t lineCount = 0;
};

bool readCountedLine(ReferencesScan& scan, std::string_view& line)
{
    const std::optional<std::string_view> next = scan.file.nextLine();
    if (!next)
        return false;
    line = *next;
    ++scan.lineCount;
    return true;
}

// The decimal number after the first "RFC" at or after `from`, as a "%d"
// conversion reads it (leading white space allowed); 0 when there is no
// "RFC", no digits, or a value too large to be an RFC number.
int32_t rfcNumberAfter(const std::string& text, std::size_t from)
{
    std::size_t position = text.find("RFC", from);
    if (position == std::string::npos)
        return 0;
    position += 3;
    while (position < text.size() && isWhiteSpace(text[position]))
        ++position;
    if (position < text.size() && text[position] == '+')
        ++position;
    int64_t value = 0;
    for (; position < text.size() && isDigit(text[position]); ++position) {
        value = value * 10 + (text[position] - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return 0;
    }
    return static_cast<int32_t>(value);
}

// The title between the first pair of double quotes and the RFC number
// named after it. Returns false when the entry has no complete title.
bool readTitleAndNumber(const std::string& entryText, ReferenceEntry& entry, bool unpaginated)
{
    bool titled = false;
    std::size_t examined = 0;
    const std::size_t open = entryText.find('"');
    if (open != std::string::npos) {
        examined = open + 1;
        const std::size_t close = entryText.find('"', examined);
        if (close != std::string::npos) {
            entry.title = entryText.substr(examined, close - examined);
            examined = close + 1;
            titled = true;
        }
    }
    // The number after the first "RFC"; in an unpaginated RFC, after the
    // first "RFC" that has one, as errata references begin "RFC Errata,
    // Erratum ID 1912, RFC 2978" (RFC 9110).
    entry.rfc = 0;
    for (std::size_t at = entryText.find("RFC", examined); at != std::string::npos;
         at = entryText.find("RFC", at + 3)) {
        entry.rfc = rfcNumberAfter(entryText, at);
        if (entry.rfc != 0 || !unpaginated)
            break;
    }
    return titled;
}

// Reads the next line that is blank or indented, passing over the
// unindented lines (a page footer, a form feed, a page header) before it.
bool readContinuationLine(ReferencesScan& scan, std::string_view& line)
{
    do {
        if (!readCountedLine(scan, line))
            return false;
    } while (!isIndented(line) && !isBlankFrom(line, 0));
    return true;
}

// Collects the text of an entry from `position` in its first line through
// its indented continuation lines. Unindented lines inside the entry (a page
// footer, a form feed, a page header) are passed over; a blank line or the
// end of the file ends the entry. When the line after a label alone turns
// out to be the next label, it is left in `line` and `pending` is set.
std::string readEntryText(ReferencesScan& scan, std::string_view& line, std::size_t position, bool& pending)
{
    std::string entryText;
    position = skipBlanks(line, position);
    if (position >= line.size() || isLineEnd(line[position])) {
        // A label wider than the label column stands alone on its line and
        // the entry's text starts on the next one, as in most RFCs of the
        // last fifteen years (RFC 8446 has dozens). Taking the label alone
        // as a whole entry would end the section at that text and lose every
        // reference after it.
        if (scan.file.atEnd() || !readContinuationLine(scan, line) || isBlankFrom(line, 0))
            return entryText;
        position = skipBlanks(line, 0);
        if (line[position] == '[') {
            pending = true;
            return entryText;
        }
    }
    for (;;) {
        if (position >= line.size() || isLineEnd(line[position]))
            return entryText;
        if (!entryText.empty())
            entryText += ' ';
        entryText.append(line.substr(position));
        while (!entryText.empty() && isLineEnd(entryText.back()))
            entryText.pop_back();
        if (scan.file.atEnd() || !readContinuationLine(scan, line))
            return entryText;
        position = skipBlanks(line, 0);
    }
}

// Reads on until the line numbered `lineNumber` has been read; nothing when
// the stream is already past it, since it only moves forward.
void readThroughLine(ReferencesScan& scan, int32_t lineNumber)
{
    if (scan.lineCount < lineNumber)
        scan.lineCount +=
            static_cast<int32_t>(scan.file.skipLines(static_cast<std::size_t>(lineNumber - scan.lineCount)));
}

// Reads the entries of the references section of contents entry `section`,
// which ends at line `end`: bracketed labels on indented lines, until a line
// that is neither blank, unindented nor such an entry. In an unpaginated RFC
// an entry may hold several paragraphs, indented deeper than its label: a
// BCP or STD reference lists each of its RFCs, and the URL of a series
// stands apart ("[BCP13]" in RFC 9110).
void readReferencesSection(ReferencesScan& scan, int32_t section, int32_t end, bool unpaginated)
{
    RfcText& text = scan.text;
    std::size_t labelColumn = 0;
    std::string_view line;
    bool pending = false;
    bool pageBreakSinceEntry = false;
    bool entryRead = false;
    for (;;) {
        if (!pending && (scan.lineCount >= end || !readCountedLine(scan, line)))
            return;
        pending = false;
        if (scan.lineCount >= end)
            return;
        if (isBlankFrom(line, 0))
            continue;
        if (!isIndented(line)) {
            pageBreakSinceEntry = true;
            continue;
        }
        const std::size_t open = skipBlanks(line, 0);
        if (line[open] != '[') {
            // An entry that ended at the blank lines above a page footer
            // goes on at the top of the next page: its rest is passed over
            // instead of ending the section and losing the entries after it.
            if (pageBreakSinceEntry && entryRead)
                continue;
            if (unpaginated && entryRead && open > labelColumn)
                continue;
            return;
        }
        const std::size_t close = line.find(']', open);
        if (close == std::string_view::npos)
            return;

        ReferenceEntry entry;
        entry.label.assign(line.substr(open, close + 1 - open));
        entry.firstLine = scan.lineCount - 1;
        labelColumn = open;
        const std::string entryText = readEntryText(scan, line, close + 1, pending);
        entry.lastLine = pending ? entry.firstLine : scan.lineCount - 1;
        if (!readTitleAndNumber(entryText, entry, unpaginated))
            text.referencesWithoutTitles = true;
        entry.section = section;
        text.references.push_back(entry);
        pageBreakSinceEntry = false;
        entryRead = true;
    }
}

// Where the references section of contents entry `i` stops: at the next
// entry's heading when that was located, otherwise at the end of the file.
int32_t sectionEnd(const RfcText& text, std::size_t i)
{
    if (i + 1 < text.contents.size() && text.contents[i + 1].headingLine >= 1)
        return text.contents[i + 1].headingLine;
    return kNoEndLine;
}

} // namespace

bool isReferencesTitle(std::string_view text)
{
    const std::string_view kAppendix = "appendix ";
    std::size_t position = 0;
    if (startsWithIgnoringAsciiCase(text, kAppendix)) {
        position = skipBlanks(text, kAppendix.size());
        const char mark = charAt(text, position + 1);
        const bool letterMark =
            isLetter(charAt(text, position)) && (isBlankChar(mark) || mark == '.' || mark == ')');
        if (letterMark) {
            position += 2;
        } else {
            while (position < text.size() && isDigit(text[position]))
                ++position;
        }
        position = skipBlanks(text, position);
    }
    const std::string_view rest = text.substr(position);
    return equalIgnoringAsciiCase(rest, "references") || equalIgnoringAsciiCase(rest, "normative references")
        || equalIgnoringAsciiCase(rest, "informative references");
}

bool analyseReferences(RfcText& text, LineReader* file, const AnalysisOptions& options)
{
    if (!file || text.isIndex || options.disableReferenceAnalysis || text.contents.empty())
        return false;

    file->rewind();
    text.references.clear();
    text.referencesWithoutTitles = false;
    ReferencesScan scan{text, *file};

    // An unpaginated RFC has no form feed and no page number in its
    // contents, or contents built from its headings when it prints none.
    const bool unpaginated = text.pageCount == 0
        && std::all_of(text.contents.begin(), text.contents.end(),
                       [](const ContentEntry& entry) { return entry.page == 0; });
    for (std::size_t i = 0; i < text.contents.size(); ++i) {
        const ContentEntry& entry = text.contents[i];
        if (entry.headingLine <= 0 || !isReferencesTitle(entry.title))
            continue;
        readThroughLine(scan, entry.headingLine);
        readReferencesSection(scan, static_cast<int32_t>(i), sectionEnd(text, i), unpaginated);
    }
    return findCitations(text, file);
}

bool findCitations(RfcText& text, LineReader* file)
{
    if (!file || text.references.empty())
        return false;

    file->rewind();
    text.citations.clear();
    const int32_t firstReferenceLine = text.references.front().firstLine;
    // The labels in order, each with its reference; of equal labels the
    // first reference comes first and is the one a citation names.
    using Label = std::pair<std::string_view, int32_t>;
    std::vector<Label> labels;
    labels.reserve(text.references.size());
    for (std::size_t r = 0; r < text.references.size(); ++r)
        labels.emplace_back(text.references[r].label, static_cast<int32_t>(r));
    std::sort(labels.begin(), labels.end());
    int32_t index = -1;
    // The text is searched for brackets rather than each line in turn: most
    // lines hold none, and the lines before the next bracket are passed by.
    for (;;) {
        const std::string_view ahead = file->remainingText();
        const std::size_t bracket = ahead.find('[');
        if (bracket == std::string_view::npos)
            break;
        std::string_view line;
        std::size_t lineStart = 0;
        for (;;) {
            line = *file->nextLine();
            ++index;
            if (lineStart + line.size() > bracket)
                break;
            lineStart += line.size();
        }
        const std::size_t open = bracket - lineStart;
        const std::size_t close = line.find(']', open);
        if (close == std::string_view::npos)
            continue;
        if (index >= firstReferenceLine)
            break;

        const std::string_view bracketed = line.substr(open, close + 1 - open);
        const auto found =
            std::lower_bound(labels.begin(), labels.end(), bracketed,
                             [](const Label& label, std::string_view text) { return label.first < text; });
        if (found != labels.end() && found->first == bracketed) {
            text.citations.push_back(CitationMark{index, static_cast<int32_t>(open),
                                                  static_cast<int32_t>(close + 1), found->second});
        }
    }
    return true;
}

} // namespace parchly

#include "analysis/links.h"

#include "analysis/front_matter.h"
#include "analysis/line_cues.h"
#include "analysis/reference_labels.h"
#include "analysis/section_anchors.h"
#include "analysis/section_number_map.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parchly {

namespace {

// The text of the body as a stream of tokens that runs over line ends and
// page breaks, so that "Section 3.2 of" at a line end still reaches the
// "RFC 9110" at the start of the next line.
// Words and marks no phrase uses (most of the text, URLs included) fold
// into one Other token, which keeps the stream short and breaks every
// phrase.
enum class TokenKind : uint8_t { Word, Punct, Other };

// The phrase a token starts (a word, or the "[" of a citation or a list of
// them), told once when the line is read rather than by comparing the word
// with each start at every step; the many tokens that start none are
// passed over on it.
enum class Starter : uint8_t { None, Rfc, RfcList, Series, Section, SectionList, Bracket };

struct Token {
    int32_t line = 0;
    uint16_t start = 0; // a line holds at most kLineBufferSize bytes
    uint16_t end = 0;
    TokenKind kind = TokenKind::Other;
    bool spaced = false; // white space or the line start before it
    Starter starter = Starter::None;
    char mark = 0; // Punct: "[", "]" or ","
};

// What a byte is to the tokenizer, by one look-up: it asks this of nearly
// every byte of the lines it reads.
enum class ByteClass : uint8_t { Other, Space, Alnum, Punct };

constexpr std::array<ByteClass, 256> kByteClass = [] {
    std::array<ByteClass, 256> table{};
    for (int c = 0; c < 256; ++c) {
        ByteClass& byteClass = table[static_cast<std::size_t>(c)];
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            byteClass = ByteClass::Alnum;
        else if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == kFormFeed || c == '\v')
            byteClass = ByteClass::Space;
        else if (c == '[' || c == ']' || c == ',')
            byteClass = ByteClass::Punct;
    }
    return table;
}();

ByteClass classOf(char c)
{
    return kByteClass[static_cast<unsigned char>(c)];
}

bool isAlnum(char c)
{
    return classOf(c) == ByteClass::Alnum;
}

bool isSpace(char c)
{
    return classOf(c) == ByteClass::Space;
}

// A few bytes a test asks about, one look-up for the byte asked: a search
// of the set's text (memchr) costs a call for each byte.
class ByteSet {
public:
    constexpr explicit ByteSet(std::string_view bytes)
    {
        for (const char c : bytes)
            m_has[static_cast<unsigned char>(c)] = true;
    }
    constexpr ByteSet with(const ByteSet& other) const
    {
        ByteSet both = *this;
        for (std::size_t c = 0; c < both.m_has.size(); ++c)
            both.m_has[c] = both.m_has[c] || other.m_has[c];
        return both;
    }
    bool has(char c) const { return m_has[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> m_has{};
};

constexpr ByteSet kAlnumBytes("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
// What a number glued to the byte before it is part of: a word, a path or
// an identifier.
constexpr ByteSet kGlueBytes = kAlnumBytes.with(ByteSet("/-._@#=:\\%&?+"));
// Whether a phrase runs on over the mark `c`: "RFC-" / "1191",
// "1034/1035", "RFCs 1034 & 1035", "RFC #733", "RFC's 821 and 822". One
// shift of a mask of the five, which lie within thirteen bytes of "#": the
// tokenizer asks it of every mark.
inline bool joinsPhrase(char c)
{
    constexpr unsigned kJoins =
        1u << ('#' - '#') | 1u << ('&' - '#') | 1u << ('\'' - '#') | 1u << ('-' - '#') | 1u << ('/' - '#');
    const auto offset = static_cast<unsigned>(static_cast<unsigned char>(c) - '#');
    return offset < 16 && ((kJoins >> offset) & 1u) != 0;
}
// What may follow a number of a list of RFCs.
constexpr ByteSet kListedNumberEnds(",.;:)]");

// The first `c` at or after `from` of `text`, or npos. A byte looked for
// here is nearly always a few bytes on, where the call of memchr would
// cost more than the bytes.
std::size_t nearFind(std::string_view text, char c, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == c)
            return i;
    }
    return std::string_view::npos;
}

#if defined(__SSE2__)
// One bit for each of the sixteen bytes at `bytes` that is a letter or a
// digit: a byte moved down so that its range starts at the lowest signed
// byte is in the range when below its lowest plus the range's length.
uint32_t alnumBits(const char* bytes)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const auto inRange = [](__m128i values, char first, int length) {
        const __m128i moved = _mm_add_epi8(values, _mm_set1_epi8(static_cast<char>(0x80 - first)));
        return _mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + length)));
    };
    // Setting the 0x20 bit makes a capital its small letter, and makes no
    // other byte a small letter.
    const __m128i letters = inRange(_mm_or_si128(block, _mm_set1_epi8(0x20)), 'a', 26);
    const __m128i digits = inRange(block, '0', 10);
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(letters, digits)));
}
#endif

// Where the letters and digits from `from` of `line` end. Sixteen bytes at
// a time while the text has them (`readable` bytes from the line's start,
// the line's own and those of the text after it): a word nearly always
// ends in its first block, with no byte-by-byte loop whose end the
// processor mispredicts, also at the end of a line. A run that goes on
// past the line (into the next piece of a long line) ends with it.
std::size_t alnumRunEnd(std::string_view line, std::size_t from, std::size_t readable)
{
#if defined(__SSE2__)
    for (; from < line.size() && from + 16 <= readable; from += 16) {
        const uint32_t others = ~alnumBits(line.data() + from) & 0xffff;
        if (others != 0)
            return std::min(from + static_cast<std::size_t>(__builtin_ctz(others)), line.size());
    }
    if (from >= line.size())
        return line.size();
#else
    (void)readable;
#endif
    while (from < line.size() && isAlnum(line[from]))
        ++from;
    return from;
}

// A URL or a URN is one token whose numbers are never links: "rfc9110" in
// "https://www.rfc-editor.org/info/rfc9110" names a file, not a citation.
bool isUrlScheme(std::string_view word)
{
    std::string lower(word.substr(0, 7));
    for (char& c : lower)
        c = lowerAscii(c);
    return lower == "http" || lower == "https" || lower == "ftp" || lower == "mailto" || lower == "urn"
        || lower == "doi";
}

// "HTTP:2" in a label such as "[HTTP:2]" (a tag and a number, as "[TCP:9]")
// is no URL: one of these schemes goes on with "//" after its colon.
bool isLabelNumber(std::string_view line, std::string_view scheme, std::size_t colon)
{
    const bool slashed = equalIgnoringAsciiCase(scheme, "http") || equalIgnoringAsciiCase(scheme, "https")
        || equalIgnoringAsciiCase(scheme, "ftp");
    return slashed && !startsWithAt(line, colon + 1, "//");
}

// What a phrase may make of a word: nothing (`usable` false), or a part of
// it, and the phrase the word starts, if any ("RFCs 2818 and 7230", "RFC
// 1234" or "RFC1234", "BCP 14", "Section 3.2", "Sections 3 and 4" and the
// forms of "Appendix"). Numbers, a capital alone or before a dot (an
// appendix number) and the words that join a phrase's parts start none.
struct PhraseWord {
    bool usable = false;
    Starter starter = Starter::None;
};

// The words a phrase may use besides numbers and the words that start
// with "RFC", "BCP", "FYI" or "STD": looked up whole by a hash of their
// first eight bytes and their size, so that a word is told by one
// comparison rather than by a jump on its first byte, which the processor
// mispredicted on most words.
struct PhraseWordText {
    std::string_view text;
    PhraseWord phrase;
};

constexpr PhraseWordText kPhraseWordTexts[] = {
    {"Section", {true, Starter::Section}},
    {"SECTION", {true, Starter::Section}},
    {"section", {true, Starter::Section}},
    {"Sections", {true, Starter::SectionList}},
    {"sections", {true, Starter::SectionList}},
    {"Appendix", {true, Starter::Section}},
    {"APPENDIX", {true, Starter::Section}},
    {"appendix", {true, Starter::Section}},
    {"Appendices", {true, Starter::SectionList}},
    {"appendices", {true, Starter::SectionList}},
    {"and", {true, Starter::None}},
    {"of", {true, Starter::None}},
    {"or", {true, Starter::None}},
    {"in", {true, Starter::None}},
    {"this", {true, Starter::None}},
    {"This", {true, Starter::None}},
    {"through", {true, Starter::None}},
    {"No", {true, Starter::None}},
    {"Nos", {true, Starter::None}},
};

constexpr std::size_t kPhraseSlotBits = 5;

// The slot of a word by its leading bytes and its size: the multiplier is
// one that gives each word of kPhraseWordTexts a slot of its own.
constexpr std::size_t phraseSlotOf(uint64_t bytes, std::size_t size)
{
    return static_cast<std::size_t>(((bytes ^ static_cast<uint64_t>(size) << 56) * 0x9403560d97dae38dULL)
                                    >> (64 - kPhraseSlotBits));
}

struct PhraseWordSlot {
    uint64_t bytes = 0;
    std::string_view text; // empty: a free slot
    PhraseWord phrase;
};

constexpr std::array<PhraseWordSlot, std::size_t{1} << kPhraseSlotBits> kPhraseWordSlots = [] {
    std::array<PhraseWordSlot, std::size_t{1} << kPhraseSlotBits> slots{};
    for (const PhraseWordText& word : kPhraseWordTexts) {
        const uint64_t bytes = leadingEight(word.text);
        slots[phraseSlotOf(bytes, word.text.size())] = {bytes, word.text, word.phrase};
    }
    return slots;
}();

constexpr bool eachPhraseWordHasASlot()
{
    std::size_t filled = 0;
    for (const PhraseWordSlot& slot : kPhraseWordSlots)
        filled += slot.text.empty() ? 0 : 1;
    return filled == std::size(kPhraseWordTexts);
}
static_assert(eachPhraseWordHasASlot(), "two phrase words share a slot: choose another multiplier");

// The first three bytes of a word as leadingEight holds them.
constexpr uint64_t kRfcHead = leadingEight("RFC");
constexpr uint64_t kBcpHead = leadingEight("BCP");
constexpr uint64_t kFyiHead = leadingEight("FYI");
constexpr uint64_t kStdHead = leadingEight("STD");

// What a phrase may make of `word`. Its first eight bytes are read at once
// where `wide` says the text has eight bytes from the word's start (past
// the word: they are masked off); else byte by byte.
PhraseWord phraseWord(std::string_view word, bool wide)
{
    constexpr PhraseWord kUnused{};
    constexpr PhraseWord kJoin{true, Starter::None};
    const char c = word[0];
    if (isDigit(c) || ((c >= 'A' && c <= 'Z') && (word.size() == 1 || word[1] == '.')))
        return kJoin;
    uint64_t bytes = 0;
    if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && wide) {
        std::memcpy(&bytes, word.data(), 8);
        if (word.size() < 8)
            bytes &= (uint64_t{1} << (8 * word.size())) - 1;
    } else {
        bytes = leadingEight(word);
    }
    const uint64_t head = bytes & 0xffffff;
    if (head == kRfcHead)
        return {true, word == "RFCs" ? Starter::RfcList : Starter::Rfc};
    if (head == kBcpHead || head == kFyiHead || head == kStdHead)
        return {true, Starter::Series};
    const PhraseWordSlot& slot = kPhraseWordSlots[phraseSlotOf(bytes, word.size())];
    if (slot.bytes != bytes || slot.text.size() != word.size()
        || (word.size() > 8 && slot.text.substr(8) != word.substr(8)))
        return kUnused;
    return slot.phrase;
}

// Whether the "." just read on `line`, ending at `end` and glued to the
// word before it (the last of `tokens`), lets a phrase run on: it ends the
// "No" or "Nos" of "RFC No. 791", "RFC Nos. 821 and 822", or a section
// number followed by " of" ("section 4.1.1. of RFC 2046", as RFC 2045
// writes it). A sentence's end otherwise ends every phrase.
bool dotKeepsPhraseOpen(std::string_view line, std::size_t end, const std::vector<Token>& tokens)
{
    if (tokens.size() < 2)
        return false;
    const Token& word = tokens[tokens.size() - 2];
    if (word.kind != TokenKind::Word || word.line != tokens.back().line || word.end != tokens.back().start)
        return false;
    const std::string_view text = line.substr(word.start, static_cast<std::size_t>(word.end - word.start));
    if (text == "No" || text == "Nos")
        return true;
    return isDigit(text.front()) && end + 3 <= line.size() && line.compare(end, 3, " of") == 0
        && (end + 3 == line.size() || line[end + 3] == ' ')
        && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

// Where the tokens of `line` may be read from to find every phrase that
// starts at or after `column`: the white space before the word at `column`,
// where no token runs over and the tokenizer starts as at the line start;
// or `floor`, where the tokens are read to, if that is later. The search
// stops there: a line of one word without blanks (a long URL, art drawn
// without spaces) would else be read back to its start from each phrase
// in it.
std::size_t tokenStartBefore(std::string_view line, std::size_t column, std::size_t floor)
{
    std::size_t start = std::min(column, line.size());
    while (start > floor && !isSpace(line[start - 1]))
        --start;
    return start;
}

// Whether a phrase may run on past the tokens read, and whether a bracket
// is open there.
struct OpenPhrase {
    bool phrase = false;
    bool bracket = false;
};

// Appends the tokens of `line` that a phrase may use, the text holding
// `readable` bytes from the line's start on; returns whether a phrase may
// still run on past them (`open` tells it before them), or a
// "Section" after them look back at one ("[HTTP]" / "and section 4.4"
// names a section of this document, "[HTTP] section 4.4" one of HTTP): a
// word that starts a phrase or a bracket has come, and since then no token
// that ends every phrase (an Other token, but for the "-" of "RFC-" /
// "1191", hyphenated at a line end); and whether a bracket is left open,
// which a citation wrapped at the line's end closes on the next line.
// `starts` are the line's words that start a phrase, in order.
// Where no phrase or bracket is open, the tokens up to the next of them are
// never used and not read: a phrase looks back only at the two tokens
// before it, and those would be the Other that ended the last phrase (which
// the words passed over would only have joined) or, at the line start, the
// tokens of the lines before. Past the last of them the line is not read
// on.
// The state is kept in locals, not in the caller's members, and the loop
// out of the caller's: else the compiler keeps it in memory, read again at
// every byte since a token written may alias it.
[[gnu::noinline]] OpenPhrase tokenizeLine(std::string_view line, std::size_t readable,
                                          const WordStart* starts, const WordStart* startsEnd, int32_t index,
                                          std::vector<Token>& tokens, OpenPhrase open)
{
    bool spaced = true;
    bool phraseOpen = open.phrase;
    bool bracketOpen = open.bracket;
    std::size_t i = 0;
    // Where the tokens of the next word that starts a phrase are read from.
    std::size_t nextStart = 0;
    while (i < line.size()) {
        if (!phraseOpen && !bracketOpen) {
            if (nextStart <= i) {
                // The words that start inside the tokens read are passed.
                while (starts != startsEnd && starts->column < i)
                    ++starts;
                if (starts == startsEnd)
                    break;
                nextStart = tokenStartBefore(line, starts->column, i);
            }
            if (nextStart > i) {
                i = nextStart;
                spaced = true;
                if (i == line.size())
                    break;
            }
        }
        const char c = line[i];
        const ByteClass byteClass = classOf(c);
        if (byteClass == ByteClass::Space) {
            spaced = true;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        TokenKind kind = TokenKind::Other;
        Starter starter = Starter::None;
        if (byteClass == ByteClass::Alnum) {
            // Dots inside a word keep "3.2.1" and "B.1" whole.
            for (;;) {
                end = alnumRunEnd(line, end, readable);
                if (end + 1 >= line.size() || line[end] != '.' || !isAlnum(line[end + 1]))
                    break;
                end += 2;
            }
            const std::string_view word = line.substr(i, end - i);
            if (end < line.size() && line[end] == ':' && isUrlScheme(word)
                && !isLabelNumber(line, word, end)) {
                while (end < line.size() && !isSpace(line[end]) && line[end] != '>' && line[end] != '"')
                    ++end;
            } else if (const PhraseWord phrase = phraseWord(word, i + 8 <= readable); phrase.usable) {
                kind = TokenKind::Word;
                starter = phrase.starter;
            }
        } else if (byteClass == ByteClass::Punct) {
            kind = TokenKind::Punct;
            starter = c == '[' ? Starter::Bracket : Starter::None;
        }
        if (kind != TokenKind::Other || tokens.empty() || tokens.back().kind != TokenKind::Other) {
            // Written into its place field by field: a token made aside is
            // written in parts and read back whole, a read that stalls.
            Token& token = tokens.emplace_back();
            token.line = index;
            token.start = static_cast<uint16_t>(i);
            token.end = static_cast<uint16_t>(end);
            token.kind = kind;
            token.spaced = spaced;
            token.starter = starter;
            token.mark = kind == TokenKind::Punct ? c : '\0';
            if (kind == TokenKind::Punct && c != ',')
                bracketOpen = c == '[';
            if (starter != Starter::None || c == '[' || c == ']')
                phraseOpen = true;
            else if (kind == TokenKind::Other)
                phraseOpen =
                    phraseOpen && (joinsPhrase(c) || (c == '.' && dotKeepsPhraseOpen(line, end, tokens)));
        }
        spaced = false;
        i = end;
    }
    return OpenPhrase{phraseOpen, bracketOpen};
}

// 1 to 5 digits, not 0: an RFC or series number.
int32_t smallNumber(std::string_view text)
{
    if (text.empty() || text.size() > 5)
        return 0;
    int32_t value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "3", "3.2.1", "A", "B.1": one to three digits or a capital, then dotted
// groups of one to three digits.
bool isSectionNumber(std::string_view text)
{
    std::size_t i = 0;
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        i = 1;
    } else {
        while (i < text.size() && i < 3 && isDigit(text[i]))
            ++i;
        if (i == 0)
            return false;
    }
    while (i < text.size()) {
        if (text[i] != '.')
            return false;
        const std::size_t group = ++i;
        while (i < text.size() && i - group < 3 && isDigit(text[i]))
            ++i;
        if (i == group)
            return false;
    }
    return true;
}

// A new link at the end of `links`, made in place: a record built aside and
// moved in would have its strings moved and destroyed.
LinkMark& addLink(std::vector<LinkMark>& links, LinkKind kind, int32_t line, int32_t startColumn,
                  int32_t endColumn)
{
    LinkMark& link = links.emplace_back();
    link.kind = kind;
    link.line = line;
    link.startColumn = startColumn;
    link.endColumn = endColumn;
    return link;
}

// The bytes mayListLabels() stops at: a separator, a bracket, and the
// last letter of an "and".
constexpr ByteSet kListMarks(",-;[d");

// Whether the text between a citation's brackets may be a list of labels
// or a range ("1, 2", "1; 2", "1 and 2", "2-4"): a ",", a ";", a "-" or
// an "and" between blanks, and no "[".
bool mayListLabels(std::string_view inside)
{
    bool separated = false;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        const char c = inside[i];
        if (!kListMarks.has(c))
            continue;
        if (c == '[')
            return false;
        separated =
            separated || c != 'd' || (i >= 3 && i + 1 < inside.size() && inside.substr(i - 3, 5) == " and ");
    }
    return separated;
}

// Whether `rest`, after a label and a blank, is a bare section number of
// the label's document, "[RFC1035 4.1.3]" as RFC 2136 cites: digits and
// full stops, a digit first. A name and a number ("[Postel 81]", "[RFC
// 2119]", spelled so or a label of its own) hold no full stop in the
// number and no digit in the name, and are none.
bool namesBareSection(std::string_view label, std::string_view rest)
{
    bool dotted = false;
    for (const char c : rest) {
        if (c == '.')
            dotted = true;
        else if (!isDigit(c))
            return false;
    }
    return dotted || std::any_of(label.begin(), label.end(), [](char c) { return isDigit(c); });
}

// Where a blank parts a label from the section of it that a bracket names
// with it, "[FP031 Section 2]" or "[X509 Appendix A]" as RFC 4949 cites,
// or "[RFC1035 4.2.2]" (namesBareSection); npos where no "Section",
// "Sections", "Appendix" or section number follows the first blank.
std::size_t blankBeforeSection(std::string_view inside)
{
    const std::size_t blank = inside.find(' ');
    if (blank == std::string_view::npos || blank == 0 || blank + 1 >= inside.size())
        return std::string_view::npos;
    const std::string_view rest = inside.substr(blank + 1);
    if (isDigit(rest[0]))
        return namesBareSection(inside.substr(0, blank), rest) ? blank : std::string_view::npos;
    if (rest[0] != 'S' && rest[0] != 'A')
        return std::string_view::npos;
    for (const std::string_view word : {"Section ", "Sections ", "Appendix "}) {
        if (rest.substr(0, word.size()) == word)
            return blank;
    }
    return std::string_view::npos;
}

// The fewest bytes of a bracket naming a label and a section of it, its
// "[" with them: "[A Section 1"; "[A1 2", a label and a bare number,
// which a digit or full stop ends.
constexpr std::size_t kShortestWithSection = sizeof("[A Section 1") - 1;
constexpr std::size_t kShortestWithNumber = sizeof("[A1 2") - 1;

// Whether the bracket from `start` to `close` of `line`, no label, may
// name a label and a section of it (blankBeforeSection): most such
// brackets are passed over on their size and last byte.
bool mayNameLabelAndSection(std::string_view line, std::size_t start, std::size_t close)
{
    const std::size_t size = close - start;
    return size > kShortestWithSection
        || (size >= kShortestWithNumber && (isDigit(line[close - 1]) || line[close - 1] == '.'));
}

// Whether a list's part ends in the "and" before its last label, wrapped
// after it ("[1 and\n2]").
bool endsInAnd(std::string_view part)
{
    const std::string_view word = "and";
    return part.size() >= word.size() && part.substr(part.size() - word.size()) == word
        && (part.size() == word.size() || part[part.size() - word.size() - 1] == ' ');
}

// Whether `c` parts two labels of a list: "[1, 2]", and "[1; 2]" as a few
// texts write it.
bool partsLabels(char c)
{
    return c == ',' || c == ';';
}

// The text of a list's part after the "and" that opens it (the "and 3" of
// "[1, 2, and 3]"), or the part itself.
std::string_view withoutLeadingAnd(std::string_view part)
{
    const std::string_view word = "and ";
    return part.substr(0, word.size()) == word ? trimmedBlanks(part.substr(word.size())) : part;
}

// The text of a list's first part after the words that lead into it
// ("e.g.", "cf.", "i.e.", "see", "see also"), blanks trimmed: empty where
// the part is those words alone, the part itself where none open it.
std::string_view withoutLeadIn(std::string_view part)
{
    // Most parts asked name a piece of syntax ("[a, b]"): told by their
    // first letter.
    const char first = part.empty() ? '\0' : part.front();
    if (first != 'e' && first != 'c' && first != 'i' && first != 's')
        return part;
    static constexpr std::string_view kLeadIns[] = {"e.g.", "cf.", "i.e.", "see also", "see"};
    for (const std::string_view words : kLeadIns) {
        if (part.substr(0, words.size()) == words
            && (part.size() == words.size() || part[words.size()] == ' '))
            return trimmedBlanks(part.substr(words.size()));
    }
    return part;
}

// Whether only blanks and form feeds come before byte `at` of `line`.
bool opensLine(std::string_view line, std::size_t at)
{
    std::size_t i = 0;
    while (i < at && (line[i] == ' ' || line[i] == '\t' || line[i] == kFormFeed))
        ++i;
    return i == at;
}

struct Target {
    bool valid = false; // a target was named; when not, the phrase is no link
    int32_t rfc = 0; // 0: this document
    int32_t reference = -1;
};

// Reads the text paragraph by paragraph: a phrase runs over line ends and
// page breaks, never over a blank line between paragraphs.
class LinkScanner {
public:
    LinkScanner(RfcText& text, const TextLines& lines, LinkScope scope, const ReferenceLabels& labels)
        : m_text(text)
        , m_lines(lines)
        , m_scope(scope)
        , m_labels(labels)
        , m_textEnd(lines.size() > 0
                        ? lines.line(lines.size() - 1).data() + lines.line(lines.size() - 1).size()
                        : lines.text)
    {
        // Room for the tokens of a long paragraph, made once: grown from
        // nothing, the list was made and copied five times a text.
        m_tokens.reserve(64);
        for (std::size_t r = 0; r < text.references.size(); ++r) {
            const std::string_view label = text.references[r].label;
            m_longestLabel = std::max(m_longestLabel, label.size());
            const int32_t line = text.references[r].firstLine;
            if (line >= 0 && static_cast<std::size_t>(line) < lines.size())
                m_definitionLine[static_cast<std::size_t>(line)] = true;
        }
    }

    // Reads the tokens of `line` that the phrases open at its start and
    // those of its `starts` (tokenizeLine) may use.
    void addLine(std::size_t line, const WordStart* starts, const WordStart* startsEnd)
    {
        const std::string_view text = m_lines.line(line);
        m_open = tokenizeLine(text, static_cast<std::size_t>(m_textEnd - text.data()), starts, startsEnd,
                              static_cast<int32_t>(line), m_tokens, m_open);
    }

    // Whether a phrase begun in the lines read may run on into the next.
    // Where only the citations are read, only a citation left open runs on.
    bool phraseOpen() const { return m_open.bracket || (m_scope == LinkScope::All && m_open.phrase); }

    void endParagraph()
    {
        m_hasTarget = false;
        // Most tokens start nothing and are passed over on that alone.
        std::size_t k = 0;
        while (k < m_tokens.size())
            k = m_tokens[k].starter == Starter::None ? k + 1 : step(k);
        m_tokens.clear();
        m_open = OpenPhrase{};
    }

private:
    std::string_view view(std::size_t k) const
    {
        if (k >= m_tokens.size())
            return std::string_view();
        const Token& token = m_tokens[k];
        return m_lines.line(static_cast<std::size_t>(token.line))
            .substr(static_cast<std::size_t>(token.start), static_cast<std::size_t>(token.end - token.start));
    }

    bool isWord(std::size_t k) const { return k < m_tokens.size() && m_tokens[k].kind == TokenKind::Word; }
    bool isPunct(std::size_t k, char c) const
    {
        return k < m_tokens.size() && m_tokens[k].kind == TokenKind::Punct && m_tokens[k].mark == c;
    }
    bool is(std::size_t k, std::string_view word) const { return isWord(k) && view(k) == word; }
    // A lone "." glued to the token before it ("4.1.1." ending a number).
    bool isNumberDot(std::size_t k) const
    {
        if (k >= m_tokens.size())
            return false;
        const Token& token = m_tokens[k];
        return token.kind == TokenKind::Other && !token.spaced && token.end == token.start + 1
            && m_lines.line(static_cast<std::size_t>(token.line))[token.start] == '.';
    }

    // The heading line of this document's section `number`, or 0.
    int32_t sectionLine(std::string_view number)
    {
        if (!m_sectionLinesHeld)
            holdSectionLines();
        const int32_t* line = m_sectionLines.find(number);
        return line != nullptr ? *line : 0;
    }

    // This document's section numbers with their heading lines, held when
    // a link first names one: many RFCs name none of their own sections.
    // Of equal numbers the first named (the contents before the anchors)
    // is the one a link goes to.
    void holdSectionLines()
    {
        m_sectionLines.reserve(m_text.contents.size() + m_text.sectionAnchors.size());
        for (const ContentEntry& entry : m_text.contents) {
            if (entry.matched && entry.headingLine > 0)
                m_sectionLines.add(entry.number, entry.headingLine);
        }
        for (const SectionAnchor& anchor : m_text.sectionAnchors) {
            if (!anchor.number.empty())
                m_sectionLines.add(anchor.number, anchor.line);
        }
        m_sectionLinesHeld = true;
    }

    // The reference labelled "[inside]", or -1.
    int32_t labelled(std::string_view inside) const { return m_labels.find(inside); }

    // Glued to a word, a path or an identifier before it, a number is part
    // of that: "10.17487/RFC9110" (a DOI), "draft-RFC1234", "x.RFC1".
    bool gluedBefore(std::size_t k) const
    {
        const Token& token = m_tokens[k];
        if (token.spaced)
            return false;
        const char c =
            m_lines.line(static_cast<std::size_t>(token.line))[static_cast<std::size_t>(token.start - 1)];
        return kGlueBytes.has(c);
    }

    // Glued to a word or a path before it, as gluedBefore(), unless that is
    // the "NWG/" with which the memos of 1970 and 1971 name the series:
    // "NWG/RFC 95", "NWG/RFCs 36, 37 and 46" (RFC 100).
    bool gluedToOtherThanGroup(std::size_t k) const
    {
        if (!gluedBefore(k))
            return false;
        constexpr std::string_view kGroup = "NWG/";
        const Token& token = m_tokens[k];
        const std::string_view line = m_lines.line(static_cast<std::size_t>(token.line));
        const auto start = static_cast<std::size_t>(token.start);
        return start < kGroup.size() || line.substr(start - kGroup.size(), kGroup.size()) != kGroup
            || (start > kGroup.size() && kGlueBytes.has(line[start - kGroup.size() - 1]));
    }

    // The RFC number of "RFC 1234" at k (two tokens) or "RFC1234" (one);
    // `last` is its last token.
    int32_t rfcAt(std::size_t k, std::size_t& last) const
    {
        if (!isWord(k) || gluedToOtherThanGroup(k))
            return 0;
        return rfcWordAt(k, last);
    }

    // rfcAt() wherever the word is glued.
    int32_t rfcWordAt(std::size_t k, std::size_t& last) const
    {
        const std::string_view word = view(k);
        if (word == "RFC" && isWord(k + 1)) {
            last = k + 1;
            return smallNumber(view(k + 1));
        }
        // "RFC-1122", as the RFCs of the 1980s write the numbers they name,
        // also hyphenated at a line end ("RFC-" / "1191").
        if (word == "RFC" && view(k + 1) == "-" && !m_tokens[k + 1].spaced && isWord(k + 2)
            && (!m_tokens[k + 2].spaced || m_tokens[k + 2].line != m_tokens[k + 1].line)) {
            last = k + 2;
            return smallNumber(view(k + 2));
        }
        // "RFC #822", "RFC#733", as RFC 822 and the memos of the 1970s
        // number them.
        if (word == "RFC" && view(k + 1) == "#" && isWord(k + 2) && !m_tokens[k + 2].spaced) {
            last = k + 2;
            return smallNumber(view(k + 2));
        }
        // "RFC1122", and the plural glued as well: "RFCs734, 746 and 747"
        // (RFC 800).
        if (word.size() > 3 && word.substr(0, 3) == "RFC") {
            last = k;
            return smallNumber(word.substr(word[3] == 's' ? 4 : 3));
        }
        return 0;
    }

    // After a link ending at token `last`, a closing bracket glued to it
    // belongs to it: "[RFC9110], Section 3.2".
    std::size_t withClosingBracket(std::size_t last) const
    {
        return isPunct(last + 1, ']') && !m_tokens[last + 1].spaced ? last + 1 : last;
    }

    // A link over tokens first..last, kept on the line of `last`.
    LinkMark& emit(LinkKind kind, std::size_t first, std::size_t last)
    {
        const Token& from = m_tokens[first];
        const Token& to = m_tokens[last];
        return addLink(m_text.links, kind, to.line, from.line == to.line ? from.start : to.start, to.end);
    }

    void noteTarget(std::size_t last, int32_t rfc, int32_t reference)
    {
        m_targetEnd = withClosingBracket(last);
        m_targetRfc = rfc;
        m_targetReference = reference;
        m_hasTarget = true;
    }

    std::size_t step(std::size_t k)
    {
        const Starter starter = m_tokens[k].starter;
        if (starter == Starter::Bracket)
            return citation(k);
        if (m_scope != LinkScope::All)
            return k + 1;
        switch (starter) {
        case Starter::RfcList:
            return rfcList(k);
        case Starter::Rfc:
            if (const std::size_t number = numberAfterRfcPlural(k); number != 0)
                return rfcList(k, number);
            return rfc(k);
        case Starter::Series:
            return series(k);
        case Starter::Section:
            return section(k, false);
        case Starter::SectionList:
            return section(k, true);
        case Starter::Bracket:
        case Starter::None:
            break;
        }
        return k + 1;
    }

    // Whether the number at token k goes on in a group of three digits
    // after a comma, "10,000": a count or a size ("RFC 10,000", "the RFC
    // 1,000 iterations"), as the series never prints its own numbers so.
    // A lead of three digits is a list, "RFCs 791,793".
    bool goesOnInDigitGroup(std::size_t k) const
    {
        if (!isPunct(k + 1, ',') || m_tokens[k + 1].spaced || !isWord(k + 2) || m_tokens[k + 2].spaced)
            return false;
        const std::string_view group = view(k + 2);
        const std::string_view number = view(k);
        return number.size() - digitsBefore(number, number.size()) <= 2 && group.size() == 3
            && isDigit(group[0]) && isDigit(group[1]) && isDigit(group[2]);
    }

    // "NWG/RFC: 11" (RFC 13) and "NWG/RFC# 11" at k: the mark glued to the
    // series' name, the number apart, only after the group's name; and
    // "Request For Comments (RFC) 822", the name in brackets after the
    // words it stands for (RFC 2822, RFC 5322), not "the (RFC) 3". Read
    // from the line, as a colon or a bracket ends every phrase and leaves
    // the number after it no token.
    void groupSpelling(std::size_t k)
    {
        const Token& word = m_tokens[k];
        const std::string_view line = m_lines.line(static_cast<std::size_t>(word.line));
        const auto mark = static_cast<std::size_t>(word.end);
        if (mark + 1 >= line.size() || line[mark + 1] != ' ' || view(k) != "RFC")
            return;
        constexpr std::string_view kSpelledOut = "Comments (";
        const auto start = static_cast<std::size_t>(word.start);
        const bool spelledOut = line[mark] == ')' && start >= kSpelledOut.size()
            && line.substr(start - kSpelledOut.size(), kSpelledOut.size()) == kSpelledOut;
        if (!spelledOut && ((line[mark] != ':' && line[mark] != '#') || gluedToOtherThanGroup(k)))
            return;
        const std::size_t from = skipBlanks(line, mark + 1);
        std::size_t to = from;
        while (to < line.size() && isDigit(line[to]))
            ++to;
        const int32_t number = smallNumber(line.substr(from, to - from));
        if (number == 0 || (to < line.size() && isAlnum(line[to])))
            return;
        addLink(m_text.links, LinkKind::Rfc, word.line, word.start, static_cast<int32_t>(to)).targetRfc =
            number;
    }

    std::size_t rfc(std::size_t k)
    {
        std::size_t last = k;
        const int32_t number = rfcAt(k, last);
        if (number == 0 && !m_tokens[k].spaced)
            groupSpelling(k);
        if (number == 0 || goesOnInDigitGroup(last))
            return k + 1;
        emit(LinkKind::Rfc, k, last).targetRfc = number;
        noteTarget(last, number, -1);
        return listedAfter(slashedAfter(last));
    }

    // The RFC number of "1035" or "RFC1035" at k, one token for the
    // second, or "RFC-1035" and "RFC 1035" ending at `last`.
    int32_t pairedRfcAt(std::size_t k, std::size_t& last) const
    {
        last = k;
        const int32_t number = smallNumber(view(k));
        return number != 0 ? number : rfcWordAt(k, last);
    }

    // Whether token k is the one byte `c` that is no word: the "/" of
    // "1034/1035", the "&" of "RFCs 1034 & 1035".
    bool isMark(std::size_t k, char c) const
    {
        return k < m_tokens.size() && m_tokens[k].kind != TokenKind::Word
            && view(k) == std::string_view(&c, 1);
    }

    // Links the numbers paired by a slash with the RFC number ending at
    // token `last`: "RFC 1034/1035", "RFC-1034/RFC-1035", "RFC1034/RFC1035";
    // or closing a run with a dash, "RFCs 4033-4035" (DNSSEC), a higher
    // number alone. After a series number (`afterSeries`) only an RFC
    // named as such pairs with it: "STD 5/RFC 791", "BCP 14/RFC 2119", the
    // "RFC" glued to the slash no path there. Returns the last token linked.
    std::size_t slashedAfter(std::size_t last, bool afterSeries = false)
    {
        for (;;) {
            const std::size_t slash = last + 1;
            const bool dash = !afterSeries && isMark(slash, '-');
            if ((!dash && !isMark(slash, '/')) || m_tokens[slash].spaced || !isWord(slash + 1)
                || m_tokens[slash + 1].spaced)
                return last;
            std::size_t end = slash + 1;
            const int32_t number = dash ? runEndAt(slash + 1, view(last))
                : afterSeries           ? rfcWordAt(slash + 1, end)
                                        : pairedRfcAt(slash + 1, end);
            if (number == 0)
                return last;
            emit(LinkKind::Rfc, slash + 1, end).targetRfc = number;
            noteTarget(end, number, -1);
            last = end;
            afterSeries = false;
        }
    }

    // The number at k closing a run of RFCs from the one `before` ends in
    // ("4035" of "4033-4035", "RFC4033-4035"), or 0: a higher number of as
    // many digits, not the "3" of "RFC 2119-3".
    int32_t runEndAt(std::size_t k, std::string_view before) const
    {
        std::size_t digits = before.size();
        while (digits > 0 && isDigit(before[digits - 1]))
            --digits;
        const std::string_view first = before.substr(digits);
        const int32_t number = smallNumber(view(k));
        return view(k).size() == first.size() && number > smallNumber(first) ? number : 0;
    }

    // A number at k that may be an RFC's and ends there: not "128" of
    // "128-bit".
    bool isListedNumber(std::size_t k) const
    {
        if (!isWord(k) || smallNumber(view(k)) == 0)
            return false;
        return k + 1 >= m_tokens.size() || m_tokens[k + 1].spaced || kListedNumberEnds.has(view(k + 1)[0]);
    }

    void linkListedNumber(std::size_t k)
    {
        const int32_t number = smallNumber(view(k));
        emit(LinkKind::Rfc, k, k).targetRfc = number;
        noteTarget(k, number, -1);
    }

    // Whether no number listed at every second token from `first` up to
    // `end` may be a year: "RFC 1034, 1987" gives a date.
    bool listsNoYear(std::size_t first, std::size_t end) const
    {
        for (std::size_t number = first; number < end; number += 2) {
            const int32_t value = smallNumber(view(number));
            if (value >= 1960 && value <= 2099)
                return false;
        }
        return true;
    }

    // After "RFC 1122" ending at `last`, the numbers of "and 1123" or ", 1035
    // and 2181", or of ", 1123 and RFC 1034", whose last RFC is named as
    // such. One "RFC" names a list only where "and" or "or" brings its
    // last number, so that in "RFC 1034, 1987" the year stays text; or
    // where two numbers or more follow it and none may be a year, "RFC 354,
    // 385, 414, 448" (RFC 691).
    std::size_t listedAfter(std::size_t last)
    {
        std::size_t k = last + 1;
        while (isPunct(k, ',') && isListedNumber(k + 1))
            k += 2;
        const std::size_t join = isPunct(k, ',') ? k + 1 : k;
        if (!(is(join, "and") || is(join, "or"))) {
            if (k < last + 5 || !listsNoYear(last + 2, k))
                return last + 1;
            for (std::size_t number = last + 2; number < k; number += 2)
                linkListedNumber(number);
            return k;
        }
        std::size_t named = join + 1;
        // Where the last is named, the numbers before it need no "RFC"
        // only when no year may be one: "RFC 1034, 1987, and RFC 2460"
        // gives a date.
        const bool lastNamed = k > last + 1 && rfcAt(join + 1, named) != 0 && listsNoYear(last + 2, k);
        if (!lastNamed && !isListedNumber(join + 1))
            return last + 1;
        for (std::size_t number = last + 2; number < k; number += 2)
            linkListedNumber(number);
        if (lastNamed)
            return join + 1;
        linkListedNumber(join + 1);
        return join + 2;
    }

    // The first number's token of "RFC's 821 and 822" or "RFC's 821 & 822"
    // (the plural as the RFCs of the 1980s write it; a number alone after
    // it, "this RFC's 2 options", is no list), "RFC Nos. 821 and 822" or
    // "RFC No. 791" with "RFC" at k, or 0.
    std::size_t numberAfterRfcPlural(std::size_t k) const
    {
        if (view(k) != "RFC" || k + 3 >= m_tokens.size())
            return 0;
        const Token& mark = m_tokens[k + 1];
        if (!mark.spaced && mark.kind == TokenKind::Other) {
            const std::string_view line = m_lines.line(static_cast<std::size_t>(mark.line));
            const auto at = static_cast<std::size_t>(mark.start);
            const bool plural =
                line.substr(at, 2) == "'s" && (at + 2 == line.size() || isSpace(line[at + 2]));
            const bool listed = isWord(k + 3) || isPunct(k + 3, ',') || isMark(k + 3, '/')
                || isMark(k + 3, '-')
                || (isMark(k + 3, '&') && isWord(k + 4) && smallNumber(view(k + 4)) != 0);
            return plural && listed && (m_tokens[k + 2].spaced || followsSpacedNumberSign(k + 2)) ? k + 2 : 0;
        }
        // The "." token ends at its own byte: the marks and words after it
        // fold into it, "RFC No. is 5" no number.
        const Token& dot = m_tokens[k + 2];
        const bool numbered = (is(k + 1, "No") || is(k + 1, "Nos")) && !dot.spaced && view(k + 2) == "."
            && dot.kind == TokenKind::Other && m_tokens[k + 3].spaced && m_tokens[k + 3].line == dot.line
            && m_tokens[k + 3].start == dot.start + 2;
        return numbered ? k + 3 : 0;
    }

    // Whether token k, no blank before it, follows a "#" that has one:
    // "RFC's #207 and #212", as the notes of the 1970s number them, the "#"
    // folded into the "'s" before it.
    bool followsSpacedNumberSign(std::size_t k) const
    {
        const Token& token = m_tokens[k];
        const std::string_view line = m_lines.line(static_cast<std::size_t>(token.line));
        const auto start = static_cast<std::size_t>(token.start);
        return start >= 2 && line[start - 1] == '#' && isSpace(line[start - 2]);
    }

    // "RFCs 2818 and 7230", "RFCs 2045, 2046, and RFC 2047", "RFCs
    // 1034/1035", "RFCs 2045 through 2049": each number, the first at
    // token `number` (the one after the word at k unless told).
    std::size_t rfcList(std::size_t k, std::size_t number = 0)
    {
        if (number == 0)
            number = pastNumberSign(k + 1);
        if (gluedToOtherThanGroup(k) || !isWord(number) || smallNumber(view(number)) == 0
            || goesOnInDigitGroup(number))
            return k + 1;
        std::size_t first = k;
        for (;;) {
            const int32_t value = smallNumber(view(number));
            emit(LinkKind::Rfc, first, number).targetRfc = value;
            noteTarget(number, value, -1);
            number = slashedAfter(number);
            std::size_t next = number + 1;
            if (isPunct(next, ','))
                ++next;
            // "RFCs 2045 through 2049" names the first and the last of a
            // run (MIME); the numbers between are not printed.
            if (is(next, "and") || is(next, "or") || is(next, "through") || isMark(next, '&'))
                ++next;
            first = next;
            if (is(next, "RFC"))
                ++next;
            if (next == number + 1)
                return number + 1;
            next = pastNumberSign(next);
            if (!isWord(next) || smallNumber(view(next)) == 0)
                return number + 1;
            number = next;
        }
    }

    // The token after a "#" at k glued to the number after it, as "RFCs
    // #821 and #822" number them; else k.
    std::size_t pastNumberSign(std::size_t k) const
    {
        return isMark(k, '#') && k + 1 < m_tokens.size() && !m_tokens[k + 1].spaced ? k + 1 : k;
    }

    std::size_t series(std::size_t k)
    {
        if (gluedBefore(k))
            return k + 1;
        const std::string_view word = view(k);
        std::size_t last = k;
        int32_t number = 0;
        if (word.size() == 3 && isWord(k + 1)) {
            last = k + 1;
            number = smallNumber(view(k + 1));
        } else if (word.size() > 3) {
            number = smallNumber(word.substr(3));
        }
        if (number == 0)
            return k + 1;
        LinkMark& link = emit(LinkKind::Series, k, last);
        link.series = std::string(word.substr(0, 3));
        link.seriesNumber = number;
        const std::size_t linked = slashedAfter(last, true);
        return linked == last ? last + 1 : listedAfter(linked);
    }

    // A bracketed label naming a reference, or a list of them ("[1, 2]").
    // Any other bracket is read on as text, so that "[see RFC 1234]" still
    // gives its RFC number.
    std::size_t citation(std::size_t k)
    {
        const Token& open = m_tokens[k];
        const std::string_view line = m_lines.line(static_cast<std::size_t>(open.line));
        const std::size_t start = static_cast<std::size_t>(open.start);
        const std::size_t close = closeAfter(open.line, start, line);
        if (close == std::string_view::npos)
            return wrappedCitation(k);
        // Each test here stops early on a line of brackets, so that such a
        // line is read in linear time.
        const std::string_view inside = line.substr(start + 1, close - start - 1);
        // A blank more than the longest label: "[RFC 2119]" cites "[RFC2119]".
        const int32_t whole = close - start <= m_longestLabel ? labelled(inside) : -1;
        const bool listed = whole >= 0 || mayListLabels(inside);
        if (!listed)
            return mayNameLabelAndSection(line, start, close) ? citeLabelBeforeSection(k, line, start, close)
                                                              : k + 1;
        const std::size_t closeToken = closingToken(k, close);
        if (closeToken == 0)
            return k + 1; // the "]" is inside a URL
        if (whole >= 0) {
            const bool definition =
                m_definitionLine[static_cast<std::size_t>(open.line)] && opensLine(line, start);
            if (!definition)
                cite(open.line, start, close + 1, whole, closeToken);
            return closeToken + 1;
        }
        // A list of labels; what follows its last label ("[RFC9110,
        // Section 3.2]") is read on as text.
        std::size_t next = k + 1;
        if (!citeList(open.line, line, start + 1, close, next, closeToken, closeToken))
            return next;
        return next > k + 1 ? closeToken + 1 : k + 1;
    }

    // The token of the "]" at byte `close` of the line of the bracket
    // opened at token k, or 0 where that "]" is no token of its own, as
    // inside a URL.
    std::size_t closingToken(std::size_t k, std::size_t close) const
    {
        const Token& open = m_tokens[k];
        std::size_t closeToken = k + 1;
        while (closeToken < m_tokens.size() && m_tokens[closeToken].line == open.line
               && m_tokens[closeToken].start < close)
            ++closeToken;
        return isPunct(closeToken, ']') && m_tokens[closeToken].start == close ? closeToken : 0;
    }

    // "[FP031 Section 2]" (RFC 4949), the bracket opened at token k and
    // closed at byte `close` of `line`: its label is cited, and the
    // section after it read on as text, a section of its document. Out of
    // line: most brackets that name no label are passed over on their
    // size or the byte after their first blank.
    [[gnu::noinline]] std::size_t citeLabelBeforeSection(std::size_t k, std::string_view line,
                                                         std::size_t start, std::size_t close)
    {
        const std::string_view inside =
            line.substr(start + 1, std::min(close - start - 1, m_longestLabel + 10));
        const std::size_t blank = blankBeforeSection(inside);
        if (blank == std::string_view::npos)
            return k + 1;
        const std::string_view label = inside.substr(0, blank);
        const int32_t named = labelled(label);
        if (named < 0)
            return k + 1;
        const Token& open = m_tokens[k];
        const std::size_t closeToken = closingToken(k, close);
        if (closeToken == 0)
            return k + 1;
        std::size_t next = k + 1;
        citeListed(open.line, start + 1, label.size(), named, next, closeToken, std::string_view::npos);
        return next;
    }

    // Cites each label or range of the list from `from` to `to` of line
    // `index`, its tokens read from `next` on, its "]" at `closeToken`; the
    // last one's citation ends at `endToken` (npos: at its own). False at
    // the first part that names no reference, those before it cited.
    bool citeList(int32_t index, std::string_view line, std::size_t from, std::size_t to, std::size_t& next,
                  std::size_t closeToken, std::size_t endToken)
    {
        for (std::size_t part = from; part < to;) {
            std::size_t end = part;
            while (end < to && !partsLabels(line[end]))
                ++end;
            const std::size_t partEnd = end == to ? endToken : std::string_view::npos;
            const std::string_view text = trimmedBlanks(line.substr(part, end - part));
            if (!citePart(index, line, text, next, closeToken, partEnd)
                && (part != from || !citeAfterLeadIn(index, line, text, next, closeToken, partEnd, end < to))
                && !sectionBeforeSemicolon(line, text, end, to, next))
                return false;
            part = end + 1;
        }
        return true;
    }

    // Links the section of the label cited before it that a list's part
    // names, where a semicolon at `end` (before `to`) parts it from the
    // labels after it: "[RFC2119, Section 2; RFC8174]". Its tokens are
    // read from `next` on. False for any other part.
    bool sectionBeforeSemicolon(std::string_view line, std::string_view part, std::size_t end, std::size_t to,
                                std::size_t& next)
    {
        if (end >= to || line[end] != ';' || !m_hasTarget)
            return false;
        const auto column = static_cast<int32_t>(part.data() - line.data());
        while (next < m_tokens.size() && m_tokens[next].start < column)
            ++next;
        if (next == m_tokens.size() || m_tokens[next].start != column
            || (m_tokens[next].starter != Starter::Section && m_tokens[next].starter != Starter::SectionList))
            return false;
        next = section(next, m_tokens[next].starter == Starter::SectionList);
        return true;
    }

    // Cites the labels of a list's first part after the words that lead
    // into the list, which name nothing: "[e.g., RFC1034, RFC1035]", "[cf.
    // 1, 2]". False where no such words open the part, or where they are
    // all of the last part (`more` false) or name no label after them.
    bool citeAfterLeadIn(int32_t index, std::string_view line, std::string_view part, std::size_t& next,
                         std::size_t closeToken, std::size_t partEnd, bool more)
    {
        const std::string_view led = withoutLeadIn(part);
        if (led.size() == part.size())
            return false;
        return led.empty() ? more : citePart(index, line, led, next, closeToken, partEnd);
    }

    // Cites one part of a list: a label, a range, or labels joined by "and"
    // ("[1 and 2]", "[1 and 2 and 4-6]"), an "and" before it passed over
    // ("[1, 2, and 3]"). False where it names no reference, the labels
    // before it cited, as a list cites those before its first part that
    // names none.
    bool citePart(int32_t index, std::string_view line, std::string_view part, std::size_t& next,
                  std::size_t closeToken, std::size_t partEnd)
    {
        const auto columnOf = [&](std::string_view label) {
            return static_cast<std::size_t>(label.data() - line.data());
        };
        if (const int32_t named = labelled(part); named >= 0) {
            citeListed(index, columnOf(part), part.size(), named, next, closeToken, partEnd);
            return true;
        }
        if (citeRange(index, line, part, next, closeToken, partEnd))
            return true;
        const std::string_view listed = withoutLeadingAnd(part);
        if (listed.size() != part.size())
            return citePart(index, line, listed, next, closeToken, partEnd);
        const std::size_t joint = listed.find(" and ");
        if (joint == std::string_view::npos)
            return false;
        const std::string_view before = trimmedBlanks(listed.substr(0, joint));
        const std::string_view after = trimmedBlanks(listed.substr(joint + 5));
        const int32_t first = labelled(before);
        if (first < 0)
            return false;
        citeListed(index, columnOf(before), before.size(), first, next, closeToken, std::string_view::npos);
        return citePart(index, line, after, next, closeToken, partEnd);
    }

    // A bracket left open at a line's end and closed on the next line of
    // text: the text inside it on each line, and its tokens.
    struct WrappedBracket {
        int32_t firstLine = 0;
        int32_t secondLine = 0;
        std::string_view head; // after the "[", blanks trimmed
        std::string_view tail; // before the "]", blanks trimmed
        std::size_t open = 0; // the column of the "["
        std::size_t close = 0; // the column of the "]"
        std::size_t wrap = 0; // the first token of the second line
        std::size_t closeToken = 0;
    };

    // A citation whose "[" ends its line unclosed and whose "]" comes on
    // the next line of text, past a page break if one falls between: a
    // list wrapped after a comma ("[1,\n2]", "[RFC2119,\nRFC8174]"), each
    // label cited on its own line; a label holding a blank wrapped there
    // ("[Postel\n81]" for "[Postel 81]", also inside a list) or at its
    // hyphen ("[RFC-\n1034]"), cited on both lines; "[RFC\n2119]", an
    // RFC's number spelled "[RFC 2119]", cites "[RFC2119]" so. A label is
    // wrapped nowhere else.
    std::size_t wrappedCitation(std::size_t k)
    {
        WrappedBracket bracket;
        const Token& open = m_tokens[k];
        bracket.firstLine = open.line;
        bracket.open = static_cast<std::size_t>(open.start);
        const std::string_view first = m_lines.line(static_cast<std::size_t>(open.line));
        // Only the line's last "[" may be closed on the next line: each
        // other is passed at once, so that a line of many is read once.
        if (lastOpenOf(open.line, first) != bracket.open)
            return k + 1;
        bracket.head = trimmedBlanks(first.substr(bracket.open + 1));
        bracket.wrap = k + 1;
        while (bracket.wrap < m_tokens.size() && m_tokens[bracket.wrap].line == open.line)
            ++bracket.wrap;
        if (bracket.head.empty() || nearFind(bracket.head, '[', 0) != std::string_view::npos
            || bracket.wrap == m_tokens.size()
            || !onNextLineOfText(static_cast<std::size_t>(open.line),
                                 static_cast<std::size_t>(m_tokens[bracket.wrap].line)))
            return k + 1;
        bracket.secondLine = m_tokens[bracket.wrap].line;
        const std::string_view second = m_lines.line(static_cast<std::size_t>(bracket.secondLine));
        bracket.close = nearFind(second, ']', 0);
        if (bracket.close == std::string_view::npos)
            return k + 1;
        bracket.tail = trimmedBlanks(second.substr(0, bracket.close));
        bracket.closeToken = bracket.wrap;
        while (bracket.closeToken < m_tokens.size() && m_tokens[bracket.closeToken].line == bracket.secondLine
               && m_tokens[bracket.closeToken].start < bracket.close)
            ++bracket.closeToken;
        if (bracket.tail.empty() || nearFind(bracket.tail, '[', 0) != std::string_view::npos
            || !isPunct(bracket.closeToken, ']') || m_tokens[bracket.closeToken].start != bracket.close)
            return k + 1;
        return citeWrapped(bracket, first, second, k);
    }

    // Cites the labels of `bracket`, opened at token k: those before the
    // first line's last comma and after the second line's first are whole;
    // the one between them, if any, is wrapped at its blank.
    std::size_t citeWrapped(const WrappedBracket& bracket, std::string_view first, std::string_view second,
                            std::size_t k)
    {
        constexpr std::size_t npos = std::string_view::npos;
        const std::size_t headComma = bracket.head.find_last_of(",;");
        const std::size_t tailComma = bracket.tail.find_first_of(",;");
        const std::string_view headPart =
            trimmedBlanks(headComma == npos ? bracket.head : bracket.head.substr(headComma + 1));
        const std::string_view tailPart = trimmedBlanks(bracket.tail.substr(0, tailComma));
        const auto columnIn = [](std::string_view part, std::string_view line) {
            return static_cast<std::size_t>(part.data() - line.data());
        };
        const std::size_t headStart = columnIn(bracket.head, first);
        const std::size_t tailStart = columnIn(bracket.tail, second);
        const bool twoParts = !headPart.empty() && !tailPart.empty();
        int32_t named = -1;
        if (twoParts && headPart.size() + tailPart.size() + 1 <= m_longestLabel) {
            // Wrapped at its hyphen, "[RFC-\n1034]" for "[RFC-1034]", as at
            // its blank.
            m_wrappedLabel.assign(headPart.data(), headPart.size());
            if (headPart.back() != '-')
                m_wrappedLabel += ' ';
            m_wrappedLabel.append(tailPart.data(), tailPart.size());
            named = labelled(m_wrappedLabel);
        }
        // A list wrapped at the "and" before its last label ("[RFC2119
        // and\nRFC8174]", "[1, 2,\nand 3]") is wrapped between two labels,
        // unless the two halves make one.
        const bool headEndsInAnd = endsInAnd(headPart);
        const bool wrappedLabel = twoParts
            && (named >= 0 || (!headEndsInAnd && withoutLeadingAnd(tailPart).size() == tailPart.size()));
        std::size_t next = k + 1;
        // "[A, Sections 3\nand 4; B]": the sections of the head's last
        // label wrapped, its labels before them and those after the
        // semicolon are cited.
        if (!wrappedLabel && headComma != npos && tailComma != npos && bracket.tail[tailComma] == ';'
            && headPart.substr(0, 7) == "Section") {
            if (!citeList(bracket.firstLine, first, headStart, headStart + headComma, next,
                          bracket.closeToken, npos))
                return next;
            next = bracket.wrap;
            return citeList(bracket.secondLine, second, tailStart + tailComma + 1, bracket.close, next,
                            bracket.closeToken, bracket.closeToken)
                ? bracket.closeToken + 1
                : next;
        }
        std::size_t headListEnd = wrappedLabel ? headComma : bracket.head.size();
        if (!wrappedLabel && headEndsInAnd)
            headListEnd = trimmedBlanks(bracket.head.substr(0, bracket.head.size() - 3)).size();
        if (headListEnd != npos
            && !citeList(bracket.firstLine, first, headStart, headStart + headListEnd, next,
                         bracket.closeToken, npos))
            return next;
        // What follows the labels cited, a wrapped name no label has
        // ("[RFC9110, Section\n3.2]"), is read on as text, as on one line.
        if (wrappedLabel && named < 0)
            return next;
        next = bracket.wrap;
        if (wrappedLabel) {
            // A label alone keeps its brackets in its citation, as on one
            // line.
            const bool alone = headComma == npos && tailComma == npos;
            cite(bracket.firstLine, alone ? bracket.open : columnIn(headPart, first),
                 headStart + bracket.head.size(), named, bracket.wrap - 1);
            if (alone) {
                cite(bracket.secondLine, tailStart, bracket.close + 1, named, bracket.closeToken);
                return bracket.closeToken + 1;
            }
            const std::size_t tailEnd = tailStart + tailPart.size();
            while (next < bracket.closeToken && m_tokens[next].end < tailEnd)
                ++next;
            cite(bracket.secondLine, tailStart, tailEnd, named,
                 tailComma == npos ? bracket.closeToken : next);
            if (tailComma == npos)
                return bracket.closeToken + 1;
            ++next;
        }
        const std::size_t tailFrom = wrappedLabel || tailPart.empty() ? tailStart + tailComma + 1 : tailStart;
        return citeList(bracket.secondLine, second, tailFrom, bracket.close, next, bracket.closeToken,
                        bracket.closeToken)
            ? bracket.closeToken + 1
            : next;
    }

    // The last "[" of line `line`, looked for once a line.
    std::size_t lastOpenOf(int32_t line, std::string_view text)
    {
        if (line != m_lastOpenLine) {
            m_lastOpenLine = line;
            m_lastOpenAt = text.rfind('[');
        }
        return m_lastOpenAt;
    }

    // Whether line `second` is the next line of text after line `first`:
    // only page headers, footers and the blank lines of a page break
    // between them.
    bool onNextLineOfText(std::size_t first, std::size_t second) const
    {
        if (second <= first)
            return false;
        bool pageBreak = false;
        for (std::size_t i = first + 1; i < second; ++i) {
            if (m_lines.roles[i] == LineRole::Text)
                return false;
            pageBreak = pageBreak || m_lines.roles[i] == LineRole::PageBreak;
        }
        return pageBreak || second == first + 1;
    }

    // Cites the label at `first` of a list whose tokens are read from
    // `next` on; its last token is `endToken`, or the label's own.
    void citeListed(int32_t line, std::size_t first, std::size_t size, int32_t reference, std::size_t& next,
                    std::size_t closeToken, std::size_t endToken)
    {
        const auto last = static_cast<int32_t>(first + size);
        while (next < closeToken && m_tokens[next].end < last)
            ++next;
        cite(line, first, first + size, reference, endToken != std::string_view::npos ? endToken : next);
        ++next;
    }

    // A range of numbered labels, "[2-4]" or the "4-6" of "[1, 4-6]": its
    // first and last labels are cited where they stand. Returns false for
    // anything else ("[RFC-822]" is a label, and a name of its own).
    bool citeRange(int32_t line, std::string_view text, std::string_view range, std::size_t& next,
                   std::size_t closeToken, std::size_t endToken)
    {
        const std::size_t dash = nearFind(range, '-', 0);
        if (dash == std::string_view::npos)
            return false;
        const std::string_view from = trimmedBlanks(range.substr(0, dash));
        const std::string_view to = trimmedBlanks(range.substr(dash + 1));
        const int32_t low = smallNumber(from);
        const int32_t high = smallNumber(to);
        if (low == 0 || high <= low)
            return false;
        const int32_t fromReference = labelled(from);
        const int32_t toReference = labelled(to);
        if (fromReference < 0 || toReference < 0)
            return false;
        const auto columnOf = [&](std::string_view label) {
            return static_cast<std::size_t>(label.data() - text.data());
        };
        citeListed(line, columnOf(from), from.size(), fromReference, next, closeToken,
                   std::string_view::npos);
        citeListed(line, columnOf(to), to.size(), toReference, next, closeToken, endToken);
        return true;
    }

    // The first "]" at or after `from` on line `line`. A line of many "["
    // and no "]" is searched once, not once for each "[".
    std::size_t closeAfter(int32_t line, std::size_t from, std::string_view text)
    {
        if (line != m_closeLine || from < m_closeFrom
            || (m_closeAt != std::string_view::npos && m_closeAt < from)) {
            m_closeLine = line;
            m_closeFrom = from;
            m_closeAt = nearFind(text, ']', from);
        }
        return m_closeAt;
    }

    // `endToken` is the last token of the citation, for a "Section"
    // after it.
    void cite(int32_t line, std::size_t start, std::size_t end, int32_t reference, std::size_t endToken)
    {
        LinkMark& link = addLink(m_text.links, LinkKind::Citation, line, static_cast<int32_t>(start),
                                 static_cast<int32_t>(end));
        link.targetReference = reference;
        link.targetRfc = m_text.references[static_cast<std::size_t>(reference)].rfc;
        m_targetRfc = link.targetRfc;
        m_targetEnd = endToken;
        m_targetReference = reference;
        m_hasTarget = true;
    }

    // The RFC named by "[label]" at k: through its reference, or the label
    // itself when it is "[RFC1234]" without a reference (a modern RFC whose
    // references were not read).
    Target bracketTarget(std::size_t k) const
    {
        Target target;
        const Token& open = m_tokens[k];
        const std::string_view line = m_lines.line(static_cast<std::size_t>(open.line));
        const std::size_t close = nearFind(line, ']', static_cast<std::size_t>(open.start));
        if (close == std::string_view::npos)
            return target;
        const std::size_t start = static_cast<std::size_t>(open.start);
        const int32_t named = labelled(line.substr(start + 1, close - start - 1));
        if (named >= 0) {
            target.reference = named;
            target.rfc = m_text.references[static_cast<std::size_t>(named)].rfc;
        } else if (close - start > 4 && line.substr(start + 1, 3) == "RFC") {
            target.rfc = smallNumber(line.substr(start + 4, close - start - 4));
        }
        target.valid = target.rfc != 0;
        return target;
    }

    // What "Section N" refers to, from the words after its last number
    // ("of this document", "of RFC 9110", "of [HTTP]") or the link just
    // before it ("RFC 9110, Section 3.2"). "of" followed by anything else
    // ("of the TLS standard") names a document that is no RFC: no link.
    Target sectionTarget(std::size_t first, std::size_t last) const
    {
        Target local;
        local.valid = true;
        // "section 4.1.1. of RFC 2046": RFC 2045 ends the number with a dot.
        if (isNumberDot(last + 1) && is(last + 2, "of"))
            ++last;
        const bool of = is(last + 1, "of");
        if (of || is(last + 1, "in")) {
            const std::size_t next = last + 2;
            if (is(next, "this") || is(next, "This"))
                return local;
            std::size_t numberEnd = next;
            if (const int32_t number = rfcAt(next, numberEnd); number != 0)
                return Target{true, number, -1};
            if (isPunct(next, '['))
                return bracketTarget(next);
            return of ? Target() : local;
        }
        std::size_t before = first - 1;
        if (first > 0 && isPunct(before, ',') && before > 0)
            --before;
        if (first > 0 && m_hasTarget && before == m_targetEnd)
            return Target{m_targetRfc != 0, m_targetRfc, m_targetReference};
        return local;
    }

    // "Section 3.2", "Sections 3.2 and 4", "Appendix B.1", each number a
    // link; RFC 7322 writes cross-references this way.
    std::size_t section(std::size_t k, bool plural)
    {
        if (gluedBefore(k) || !isWord(k + 1) || !isSectionNumber(view(k + 1)))
            return k + 1;
        std::vector<std::size_t>& numbers = m_numbers;
        numbers.assign(1, k + 1);
        while (plural) {
            std::size_t next = numbers.back() + 1;
            if (isPunct(next, ','))
                ++next;
            if (is(next, "and") || is(next, "or") || is(next, "through"))
                ++next;
            if (next == numbers.back() + 1 || !isWord(next) || !isSectionNumber(view(next)))
                break;
            numbers.push_back(next);
        }
        Target target = sectionTarget(k, numbers.back());
        if (target.rfc != 0 && target.rfc == m_text.rfcNumber)
            target = Target{true, 0, -1};
        if (target.valid) {
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                const std::string_view number = view(numbers[i]);
                int32_t headingLine = 0;
                if (target.rfc == 0) {
                    // A section this document lacks is no link: a jump
                    // that goes nowhere is worse than none.
                    // So is a heading's own number ("Appendix A.  Example").
                    headingLine = sectionLine(number);
                    if (headingLine == 0 || headingLine == m_tokens[numbers[i]].line + 1)
                        continue;
                }
                LinkMark& link = emit(LinkKind::Section, i == 0 ? k : numbers[i], numbers[i]);
                link.targetRfc = target.rfc;
                link.targetReference = target.reference;
                link.targetSection = number;
                link.targetLine = headingLine;
            }
        }
        return numbers.back() + 1;
    }

    RfcText& m_text;
    const TextLines& m_lines;
    const LinkScope m_scope;
    // Every label is bracketed; it is looked up by what is inside. Of
    // equal labels the first reference is the one a citation names.
    const ReferenceLabels& m_labels;
    // The end of the lines' text: its bytes up to here may be read.
    const char* const m_textEnd;
    std::vector<Token> m_tokens;
    OpenPhrase m_open;
    // The token positions of the numbers of one "Sections" phrase.
    std::vector<std::size_t> m_numbers;

    std::vector<bool> m_definitionLine = std::vector<bool>(m_lines.size(), false);
    // This document's section numbers with their heading lines, held on
    // first use (holdSectionLines).
    SectionNumberMap<int32_t> m_sectionLines;
    bool m_sectionLinesHeld = false;
    std::size_t m_longestLabel = 0;
    // A label wrapped at its blank, joined again to be looked up.
    std::string m_wrappedLabel;
    int32_t m_lastOpenLine = -1;
    std::size_t m_lastOpenAt = 0;
    int32_t m_closeLine = -1;
    std::size_t m_closeFrom = 0;
    std::size_t m_closeAt = 0;
    // The last RFC or citation link, for "RFC 9110, Section 3.2".
    bool m_hasTarget = false;
    std::size_t m_targetEnd = 0;
    int32_t m_targetRfc = 0;
    int32_t m_targetReference = -1;
};

// The first of `starts` (in text order) on line `line` or after it.
const WordStart* startsFrom(const WordStart* starts, const WordStart* end, std::size_t line)
{
    while (starts != end && starts->line < line)
        ++starts;
    return starts;
}

// The end of the column that starts at `start`: up to two blanks in a row.
std::size_t columnEnd(std::string_view line, std::size_t start)
{
    std::size_t end = start;
    while (end < line.size()
           && !(isBlankChar(line[end]) && end + 1 < line.size() && isBlankChar(line[end + 1])))
        ++end;
    while (end > start && isBlankChar(line[end - 1]))
        --end;
    return end;
}

// The left column of a front-matter line, with the value of a keyword set
// apart from it by a gap of blanks joined to it, as the front matter reads
// it: "Obsoletes:  RFC 1098" (RFC 1157), "STD:  51".
std::string_view leftColumn(std::string_view line, std::size_t& start)
{
    start = 0;
    while (start < line.size() && isBlankChar(line[start]))
        ++start;
    std::size_t end = columnEnd(line, start);
    if (end > start && line[end - 1] == ':') {
        std::size_t value = end;
        while (value < line.size() && isBlankChar(line[value]))
            ++value;
        const std::string_view rest = line.substr(value);
        if (!rest.empty() && (isDigit(rest.front()) || rest.front() == '#' || rest.substr(0, 3) == "RFC"))
            end = columnEnd(line, value);
    }
    return line.substr(start, end - start);
}

// "Obsoletes: 2818, 7230, 7231," and its continuation "7538, 7615": each
// number is a link; "STD: 97" is a series link.
void findFrontMatterLinks(RfcText& text, const TextLines& lines, std::size_t end)
{
    bool inList = false;
    bool listGoesOn = false;
    for (std::size_t i = 0; i < end && i < lines.size(); ++i) {
        if (lines.roles[i] != LineRole::Text) {
            inList = false;
            continue;
        }
        std::size_t start = 0;
        const std::string_view column = leftColumn(lines.line(i), start);
        // "Obsolete: 1830" in the singular, as RFC 3030 prints it, too.
        const bool listKeyword = column.substr(0, 8) == "Obsolete" || column.substr(0, 7) == "Updates"
            || column.substr(0, 10) == "Supercedes";
        // A list goes on as the front matter reads it: "Obsoletes: RFC 1000,
        // RFC" / "   2000", "Updates: 1000, 2000" / "         3000".
        inList = listKeyword || (inList && continuesListColumn(column, start, listGoesOn));
        listGoesOn = !column.empty() && column.back() == ',';
        if (inList) {
            // "Obsoletes: NIC 18639" (RFC 854) names a document of another
            // series: its numbers are no RFCs until "RFC" names them again.
            bool otherSeries = false;
            for (std::size_t j = 0; j < column.size();) {
                std::size_t k = j;
                while (k < column.size() && isAlnum(column[k]))
                    ++k;
                if (k == j) {
                    ++j;
                    continue;
                }
                const std::string_view word = column.substr(j, k - j);
                if (isLetter(word.front()))
                    otherSeries = namesOtherSeries(word) || (otherSeries && word != "RFC" && word != "RFCs");
                const int32_t number = otherSeries ? 0 : smallNumber(word);
                if (number != 0) {
                    addLink(text.links, LinkKind::Rfc, static_cast<int32_t>(i),
                            static_cast<int32_t>(start + j), static_cast<int32_t>(start + k))
                        .targetRfc = number;
                }
                j = k;
            }
            continue;
        }
        const std::string_view name = column.substr(0, 3);
        if ((name == "BCP" || name == "STD" || name == "FYI") && column.size() > 4 && column[3] == ':') {
            std::size_t digits = 4;
            while (digits < column.size() && isBlankChar(column[digits]))
                ++digits;
            if (const int32_t number = smallNumber(column.substr(digits)); number != 0) {
                LinkMark& link =
                    addLink(text.links, LinkKind::Series, static_cast<int32_t>(i),
                            static_cast<int32_t>(start), static_cast<int32_t>(start + column.size()));
                link.series = std::string(name);
                link.seriesNumber = number;
            }
        }
    }
}

} // namespace

void findLinks(RfcText& text, const TextLines& lines, const LineCues& cues, LinkScope scope,
               const ReferenceLabels* labels)
{
    text.links.clear();
    if (scope == LinkScope::None)
        return;
    // About one word in two that may start a link gives one: the RFC number
    // of every page header and the "[" of every footer give none, nor do a
    // grammar's brackets. Room made for all of them would nearly always be
    // given back, each link moved once more.
    text.links.reserve(cues.linkStarts.size() / 2);
    const std::size_t bodyStart = text.titleLine > 0 ? static_cast<std::size_t>(text.titleLine - 1) : 0;
    if (scope == LinkScope::All)
        findFrontMatterLinks(text, lines, bodyStart);

    // The contents' own lines are links to their sections already.
    const auto [contentsFirst, contentsLast] = contentsLineRange(text);
    // Most lines name nothing: only a line with a word that starts a phrase
    // and the one after it, where the phrase may go on, are read as tokens.
    // A phrase runs on into the line after a cued one at most; where only
    // the citations are read, only a citation whose bracket is left open.
    constexpr int kReach = 2;
    LinkScanner scanner(text, lines, scope, *labels);
    // Through plain pointers: the scanner's stores between the looks at a
    // line would otherwise make each look load the vectors' pointers again.
    const LineRole* const roles = lines.roles.get();
    const uint8_t* const families = cues.families.data();
    const uint8_t starts = scope == LinkScope::All ? kCueLinkStart : kCueBracket;
    const WordStart* nextStart = cues.linkStarts.data();
    const WordStart* const startsEnd = nextStart + cues.linkStarts.size();
    const std::size_t lineCount = lines.size();
    bool blank = false;
    bool pageBreak = false;
    int window = 0;
    for (std::size_t i = bodyStart; i < lineCount; ++i) {
        const int32_t number = static_cast<int32_t>(i) + 1;
        const LineRole role = roles[i];
        blank = blank || role == LineRole::Blank;
        pageBreak = pageBreak || role == LineRole::PageBreak;
        if (role != LineRole::Text || (number >= contentsFirst && number <= contentsLast))
            continue;
        if (blank && !pageBreak) {
            scanner.endParagraph();
            window = 0;
        }
        blank = false;
        pageBreak = false;
        // The words that start a phrase on this line, past those of the
        // lines passed over (page headers, the contents); the line's cues
        // tell at once whether it has any.
        const bool cued = (families[i] & starts) != 0;
        const WordStart* lineStarts = nextStart;
        if (cued) {
            lineStarts = startsFrom(nextStart, startsEnd, i);
            nextStart = startsFrom(lineStarts, startsEnd, i + 1);
            window = kReach;
        }
        if (window > 0) {
            // A phrase ends at the first word it cannot use, and a phrase
            // looks back at most at the link just before it: with none open,
            // the line after a cued one is read only for a phrase that runs
            // on into it.
            if (cued || scanner.phraseOpen())
                scanner.addLine(i, lineStarts, cued ? nextStart : lineStarts);
            --window;
        } else {
            // Nothing is read until the next line with a word that starts a
            // phrase: go there at once.
            scanner.endParagraph();
            nextStart = startsFrom(nextStart, startsEnd, i + 1);
            i = (nextStart != startsEnd ? nextStart->line : lineCount) - 1;
        }
    }
    scanner.endParagraph();
    // The links come nearly all in text order already; a sort would move
    // every record and its strings about for nothing.
    const auto inTextOrder = [](const LinkMark& a, const LinkMark& b) {
        return a.line != b.line ? a.line < b.line : a.startColumn < b.startColumn;
    };
    if (!std::is_sorted(text.links.begin(), text.links.end(), inTextOrder))
        std::stable_sort(text.links.begin(), text.links.end(), inTextOrder);
    releaseUnusedRoom(text.links);
}

const LinkMark* linkAt(const RfcText& text, int32_t line, int32_t column)
{
    auto link = std::lower_bound(text.links.begin(), text.links.end(), line,
                                 [](const LinkMark& l, int32_t wanted) { return l.line < wanted; });
    for (; link != text.links.end() && link->line == line; ++link) {
        if (link->startColumn <= column && column < link->endColumn)
            return &*link;
    }
    return nullptr;
}

const char* linkKindName(LinkKind kind)
{
    switch (kind) {
    case LinkKind::Citation:
        return "citation";
    case LinkKind::Rfc:
        return "rfc";
    case LinkKind::Series:
        return "series";
    case LinkKind::Section:
        return "section";
    }
    return "";
}

} // namespace parchly

#include "analysis/requirements.h"

#include "analysis/joined_text.h"
#include "analysis/line_cues.h"
#include "analysis/section_anchors.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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

// Digits, letters and "_", one entry per byte: asked at both ends of every
// keyword and before every full stop.
constexpr std::array<bool, 256> kWordBytes = [] {
    std::array<bool, 256> table{};
    for (unsigned char c = '0'; c <= '9'; ++c)
        table[c] = true;
    for (unsigned char c = 'a'; c <= 'z'; ++c)
        table[c] = table[c - 'a' + 'A'] = true;
    table['_'] = true;
    return table;
}();

bool isWordChar(char c)
{
    return kWordBytes[static_cast<unsigned char>(c)];
}

// Blanks, form feeds, vertical tabs and line ends, one entry per byte: the
// ends of every line of a paragraph read are trimmed of them.
constexpr std::array<bool, 256> kSpaceBytes = [] {
    std::array<bool, 256> table{};
    for (const char c : {' ', '\t', kFormFeed, '\v', '\r', '\n'})
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

bool isSpace(char c)
{
    return kSpaceBytes[static_cast<unsigned char>(c)];
}

// Where one line's text sits in the joined paragraph.
struct Segment {
    std::size_t joinedStart = 0;
    int32_t line = 0;
    int32_t column = 0;
};

struct Keyword {
    std::size_t position = 0;
    std::string_view name;
};

bool wordBoundary(std::string_view text, std::size_t at)
{
    return at == 0 || at >= text.size() || !isWordChar(text[at - 1]) || !isWordChar(text[at]);
}

// Whether the word before `at`, past the blanks, is "NOT"; its start in
// `start`.
bool notBefore(std::string_view text, std::size_t at, std::size_t& start)
{
    std::size_t end = at;
    while (end > 0 && text[end - 1] == ' ')
        --end;
    if (end == at || end < 3 || text.substr(end - 3, 3) != "NOT" || (end > 3 && isWordChar(text[end - 4])))
        return false;
    start = end - 3;
    return true;
}

// Whether the word after `end`, past the blanks, is "NOT".
bool notAfter(std::string_view text, std::size_t end)
{
    std::size_t start = end;
    while (start < text.size() && text[start] == ' ')
        ++start;
    return start > end && text.substr(start, 3) == "NOT"
        && (start + 3 == text.size() || !isWordChar(text[start + 3]));
}

#if defined(__SSE2__)
// The bits `bitsOf` gives the `count` bytes of `text` from `from` on (fewer
// than 17), one each, bit 0 for the byte at `from`: the few bytes a search
// by blocks leaves over are read in one more block, which overlaps bytes
// of the text already searched rather than reading past its end. Only a
// text shorter than a block is copied to be read.
template <typename BitsOf>
inline unsigned blockBits(std::string_view text, std::size_t from, std::size_t count, BitsOf bitsOf)
{
    const unsigned wanted = count >= 16 ? 0xffffu : (1u << count) - 1;
    if (from + 16 <= text.size())
        return bitsOf(text.data() + from) & wanted;
    if (text.size() >= 16) {
        const std::size_t start = text.size() - 16;
        return (bitsOf(text.data() + start) >> (from - start)) & wanted;
    }
    char block[16] = {};
    std::memcpy(block, text.data() + from, count);
    return bitsOf(block) & wanted;
}
#endif

#if !defined(__SSE2__)
// A byte that may end a sentence.
bool isSentenceMark(char c)
{
    return c == '.' || c == '!' || c == '?';
}
#endif

#if defined(__SSE2__)
// The bytes of a 16-byte block that may end a sentence, one bit each: most
// of a sentence holds none, and is passed over a block at a time.
unsigned sentenceMarks(const char* block)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i dot = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'));
    const __m128i bang =
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('!')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('?')));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(dot, bang)));
}
#endif

// The first byte at or after `from` that may end a sentence, or the end of
// `text`.
std::size_t nextSentenceMark(std::string_view text, std::size_t from)
{
    std::size_t at = from;
#if defined(__SSE2__)
    for (; at + 16 <= text.size(); at += 16) {
        if (const unsigned marks = sentenceMarks(text.data() + at); marks != 0)
            return at + static_cast<std::size_t>(__builtin_ctz(marks));
    }
    if (at == text.size())
        return at;
    const unsigned marks = blockBits(text, at, text.size() - at, sentenceMarks);
    return marks != 0 ? at + static_cast<std::size_t>(__builtin_ctz(marks)) : text.size();
#else
    while (at < text.size() && !isSentenceMark(text[at]))
        ++at;
    return at;
#endif
}

// One past the last byte before `to`, and not before `floor`, that may end
// a sentence; `floor` when there is none.
std::size_t previousSentenceMark(std::string_view text, std::size_t to, std::size_t floor)
{
    std::size_t at = to;
#if defined(__SSE2__)
    for (; at >= floor + 16; at -= 16) {
        if (const unsigned marks = sentenceMarks(text.data() + at - 16); marks != 0)
            return at - 16 + static_cast<std::size_t>(32 - __builtin_clz(marks));
    }
    if (at == floor)
        return at;
    const unsigned marks = blockBits(text, floor, at - floor, sentenceMarks);
    return marks != 0 ? floor + static_cast<std::size_t>(32 - __builtin_clz(marks)) : floor;
#else
    while (at > floor && !isSentenceMark(text[at - 1]))
        --at;
    return at;
#endif
}

// The keyword at `at` of a paragraph, in its longest form ("MUST NOT" is
// one, "NOT" alone none), or empty. `position` is where it starts: before
// `at` for "NOT RECOMMENDED".
std::string_view keywordAt(std::string_view text, std::size_t at, std::size_t& position)
{
    struct Form {
        std::string_view word;
        std::string_view alone;
        std::string_view withNot;
    };
    static constexpr Form kMust{"MUST", "MUST", "MUST NOT"};
    static constexpr Form kMay{"MAY", "MAY", {}};
    static constexpr Form kShall{"SHALL", "SHALL", "SHALL NOT"};
    static constexpr Form kShould{"SHOULD", "SHOULD", "SHOULD NOT"};
    static constexpr Form kRequired{"REQUIRED", "REQUIRED", {}};
    static constexpr Form kRecommended{"RECOMMENDED", "RECOMMENDED", {}};
    static constexpr Form kOptional{"OPTIONAL", "OPTIONAL", {}};
    const auto is = [&](const Form& form) { return startsWithAt(text, at, form.word); };
    const Form* form = nullptr;
    switch (text[at]) {
    case 'M':
        form = is(kMust) ? &kMust : is(kMay) ? &kMay : nullptr;
        break;
    case 'S':
        form = is(kShall) ? &kShall : is(kShould) ? &kShould : nullptr;
        break;
    case 'R':
        form = is(kRequired) ? &kRequired : is(kRecommended) ? &kRecommended : nullptr;
        break;
    case 'O':
        form = is(kOptional) ? &kOptional : nullptr;
        break;
    default:
        return {};
    }
    const std::size_t end = at + (form != nullptr ? form->word.size() : 0);
    if (form == nullptr || !wordBoundary(text, at) || !wordBoundary(text, end))
        return {};
    position = at;
    if (!form->withNot.empty())
        return notAfter(text, end) ? form->withNot : form->alone;
    if (form == &kRecommended && notBefore(text, at, position))
        return "NOT RECOMMENDED";
    return form->alone;
}

// Whether `text` says "key words" or "keywords", capitalised or not. A "k"
// is rare in running text: each case is found by memchr, which passes
// over a paragraph many bytes at a time, and only what it finds is read.
bool namesKeyWords(std::string_view text)
{
    for (const char k : {'k', 'K'}) {
        for (std::size_t at = text.find(k); at != std::string_view::npos; at = text.find(k, at + 1)) {
            if (startsWithAt(text, at + 1, "ey words") || startsWithAt(text, at + 1, "eywords"))
                return true;
        }
    }
    return false;
}

// The paragraph that says how the keywords are to be read (RFC 2119,
// section 1 of RFC 8174) quotes them all without requiring anything.
bool isKeywordBoilerplate(std::string_view text)
{
    // "key words" first: a "k" is rare in running text, an "i" is not, and
    // each one met is a comparison.
    return namesKeyWords(text) && text.find("interpreted as described") != std::string_view::npos;
}

// A "." that ends a sentence: after it a blank or the end, and then no
// lower-case letter ("e.g. the"); not after a single capital (an initial,
// "J. Postel") or a common abbreviation.
bool endsSentence(std::string_view text, std::size_t i)
{
    std::size_t after = i + 1;
    while (after < text.size() && (text[after] == '"' || text[after] == ')' || text[after] == '\''))
        ++after;
    if (after < text.size() && text[after] != ' ')
        return false;
    while (after < text.size() && text[after] == ' ')
        ++after;
    if (after < text.size() && text[after] >= 'a' && text[after] <= 'z')
        return false;
    if (text[i] != '.')
        return true;
    // The word before is read back no further than needed to tell it from
    // the abbreviations: four bytes make it longer than any of them.
    const std::size_t floor = i > 4 ? i - 4 : 0;
    std::size_t start = i;
    while (start > floor && (isWordChar(text[start - 1]) || text[start - 1] == '.'))
        --start;
    const std::string_view word = text.substr(start, i - start);
    if (word.size() == 1 && word[0] >= 'A' && word[0] <= 'Z')
        return false;
    if (word.size() > 3)
        return true; // longer than any abbreviation below
    // Views made once, not measured again at every full stop.
    static constexpr std::string_view kAbbreviations[] = {"e.g", "i.e", "cf",  "vs", "al",
                                                          "Ed",  "Fig", "Sec", "No"};
    for (const std::string_view abbreviation : kAbbreviations) {
        if (word == abbreviation)
            return false;
    }
    return true;
}

// The sentence of a paragraph that holds offset `position`, as [start,
// end): from just after the sentence end before it (not before `floor`,
// the end of the sentence read last) to its own end. Each byte is looked at
// at most twice over a paragraph.
std::pair<std::size_t, std::size_t> sentenceAround(std::string_view text, std::size_t position,
                                                   std::size_t floor)
{
    std::size_t start = previousSentenceMark(text, position, floor);
    while (start > floor && !endsSentence(text, start - 1))
        start = previousSentenceMark(text, start - 1, floor);
    while (start > 0 && start < position && (text[start] == '"' || text[start] == ')' || text[start] == '\''))
        ++start; // a closing quote or parenthesis after the end
    while (start < position && text[start] == ' ')
        ++start;
    std::size_t end = text.size();
    for (std::size_t i = nextSentenceMark(text, position); i < text.size();
         i = nextSentenceMark(text, i + 1)) {
        if (endsSentence(text, i)) {
            end = i + 1;
            while (end < text.size() && text[end] != ' ')
                ++end;
            break;
        }
    }
    return {start, end};
}

// A sentence longer than this (a table or a figure read as text) is kept
// as the part around its keyword.
constexpr std::size_t kLongSentence = 1000;
constexpr std::size_t kAroundKeyword = 120;

// A list item's bullet at the start of a sentence is not part of it.
std::string_view withoutBullet(std::string_view sentence)
{
    if (sentence.size() > 2 && std::string_view("o*-+").find(sentence[0]) != std::string_view::npos
        && sentence[1] == ' ') {
        std::size_t i = 1;
        while (i < sentence.size() && sentence[i] == ' ')
            ++i;
        return sentence.substr(i);
    }
    return sentence;
}

// A paragraph goes on over a page break when the text on both sides is
// indented (not a heading); blank lines alone end it.
bool continuesOverPageBreak(bool pageBreak, std::string_view next, bool previousIndented)
{
    return pageBreak && isSpace(next.front()) && previousIndented;
}

class RequirementScanner {
public:
    RequirementScanner(RfcText& text)
        : m_text(text)
        , m_references(referencesRanges(text))
    {
    }

    // Reads the paragraph that text line `start` opens, on over the lines
    // and the gaps between them that do not end it: its text lines joined,
    // then its keywords and their sentences. Returns the text line after
    // it, the one past the gap that ends it, or the end. `keyword` is the
    // first of the keywords' starts (line_cues.h) not before the paragraph;
    // it is moved on past those of the paragraph.
    std::size_t readParagraph(const TextLines& lines, const WordStart*& keyword, const WordStart* keywordsEnd,
                              std::size_t start)
    {
        // Room for the lines and keywords of a long paragraph, made with
        // the first: grown from nothing, each list was made and copied four
        // or five times a text, and a text without keywords needs none.
        if (m_segments.capacity() == 0) {
            m_segments.reserve(32);
            m_keywordsAt.reserve(16);
            m_keywordsFound.reserve(16);
        }
        m_joined.clear();
        m_segments.clear();
        m_keywordsAt.clear();
        m_placed = 0;
        bool blank = false;
        bool pageBreak = false;
        bool previousIndented = false;
        // The line of `keyword`, held apart: most lines hold none, and are
        // passed on one comparison.
        std::size_t keywordLine = keyword != keywordsEnd ? keyword->line : lines.size();
        std::size_t line = start;
        for (; line < lines.size(); ++line) {
            const LineRole role = lines.roles[line];
            if (role == LineRole::Blank) {
                blank = true;
                continue;
            }
            if (role == LineRole::PageBreak) {
                pageBreak = true;
                continue;
            }
            const std::string_view text = lines.line(line);
            if ((blank || pageBreak) && !continuesOverPageBreak(pageBreak, text, previousIndented))
                break;
            blank = false;
            pageBreak = false;
            previousIndented = isSpace(text.front());
            join(text, static_cast<int32_t>(line), lines.indent(line));
            if (keywordLine > line)
                continue;
            // A keyword lies within its line's text, which the joined text
            // holds as it is from the segment's column on. The keywords of
            // the lines passed over (page headers) are passed too.
            const Segment& segment = m_segments.back();
            for (; keywordLine <= line; keywordLine = keyword != keywordsEnd ? keyword->line : lines.size()) {
                if (keywordLine == line)
                    m_keywordsAt.push_back(segment.joinedStart + keyword->column
                                           - static_cast<std::size_t>(segment.column));
                ++keyword;
            }
        }
        readJoinedParagraph();
        return line;
    }

private:
    void join(std::string_view line, int32_t index, std::size_t indent)
    {
        std::size_t first = std::min(indent, line.size());
        while (first < line.size() && isSpace(line[first]))
            ++first;
        std::size_t last = line.size();
        while (last > first && isSpace(line[last - 1]))
            --last;
        // A word broken at a hyphen goes on without a blank.
        const std::size_t size = m_joined.size();
        const bool hyphen =
            size > 1 && m_joined[size - 1] == '-' && isLetter(m_joined[size - 2]) && isLetter(line[first]);
        const bool blank = size > 0 && !hyphen;
        m_segments.push_back({size + (blank ? 1 : 0), index, static_cast<int32_t>(first)});
        m_joined.append(std::string_view(line.data() + first, last - first), blank);
    }

    std::string_view joined() const { return m_joined.view(); }

    // The line and column of offset `position` of the joined paragraph:
    // in the last segment that starts at or before it. The places asked
    // for (each keyword and its sentence's start) lie close together and
    // move on through the paragraph, so that the segment is found by a
    // step or two from the one found last rather than by a search.
    std::pair<int32_t, int32_t> place(std::size_t position)
    {
        std::size_t at = std::min(m_placed, m_segments.size() - 1);
        while (at + 1 < m_segments.size() && m_segments[at + 1].joinedStart <= position)
            ++at;
        while (at > 0 && m_segments[at].joinedStart > position)
            --at;
        m_placed = at;
        const Segment& segment = m_segments[at];
        return {segment.line, segment.column + static_cast<int32_t>(position - segment.joinedStart)};
    }

    bool inReferences(int32_t lineNumber) const
    {
        for (const auto& [first, end] : m_references) {
            if (lineNumber >= first && lineNumber < end)
                return true;
        }
        return false;
    }

    // The keywords of the paragraph in text order: where the cues found a
    // keyword's bytes, those that stand as a word of their own.
    void findKeywords()
    {
        m_keywordsFound.clear();
        const std::string_view text = joined();
        for (const std::size_t at : m_keywordsAt) {
            std::size_t position = 0;
            if (const std::string_view name = keywordAt(text, at, position); !name.empty())
                m_keywordsFound.push_back({position, name});
        }
    }

    void readJoinedParagraph()
    {
        findKeywords();
        if (m_keywordsFound.empty() || isKeywordBoilerplate(joined()))
            return;
        std::pair<std::size_t, std::size_t> sentence{0, 0};
        for (const Keyword& keyword : m_keywordsFound) {
            const auto [line, column] = place(keyword.position);
            if (inReferences(line + 1))
                continue;
            if (keyword.position >= sentence.second)
                sentence = sentenceAround(joined(), keyword.position, sentence.second);
            auto [start, end] = sentence;
            if (end - start > kLongSentence) {
                start = std::max(start, keyword.position - std::min(keyword.position, kAroundKeyword));
                end = std::min(end, keyword.position + kAroundKeyword);
            }
            const std::string_view text = withoutBullet(joined().substr(start, end - start));
            const auto [sentenceLine, sentenceColumn] =
                place(static_cast<std::size_t>(text.data() - joined().data()));
            // Each string is made once, at its size, and each member set
            // once: a record made empty first is cleared whole, then filled.
            m_text.requirements.push_back({std::string(keyword.name), line, column, sentenceLine,
                                           sentenceColumn, sectionHolding(line + 1), std::string(text)});
        }
    }

    // The index in `sectionAnchors` of the section that holds line number
    // `line`, as sectionAtLine gives it: the keywords come in line order,
    // so that the anchors are walked once.
    int32_t sectionHolding(int32_t line)
    {
        const std::vector<SectionAnchor>& anchors = m_text.sectionAnchors;
        while (m_nextAnchor < anchors.size() && anchors[m_nextAnchor].line <= line)
            ++m_nextAnchor;
        return static_cast<int32_t>(m_nextAnchor) - 1;
    }

    RfcText& m_text;
    std::vector<std::pair<int32_t, int32_t>> m_references;
    std::size_t m_nextAnchor = 0;
    JoinedText m_joined;
    std::vector<Segment> m_segments;
    // The segment place() found last.
    std::size_t m_placed = 0;
    // Where the cues' keywords start in the joined text.
    std::vector<std::size_t> m_keywordsAt;
    std::vector<Keyword> m_keywordsFound;
};

// The first line at or after `from` whose cues hold a keyword, or the end.
// Most lines hold none, and the cues are walked eight lines at a time.
std::size_t nextRequirementCue(const std::vector<uint8_t>& families, std::size_t from)
{
    std::size_t at = from;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr uint64_t kInEveryByte = 0x0101010101010101ULL * kCueRequirement;
    for (; at + 8 <= families.size(); at += 8) {
        uint64_t eight = 0;
        std::memcpy(&eight, families.data() + at, sizeof eight);
        if (const uint64_t cued = eight & kInEveryByte; cued != 0)
            return at + static_cast<std::size_t>(__builtin_ctzll(cued)) / 8;
    }
#endif
    while (at < families.size() && (families[at] & kCueRequirement) == 0)
        ++at;
    return at;
}

// The first text line at or after `from` with a keyword cue, or the end.
std::size_t nextCuedLine(const TextLines& lines, const LineCues& cues, std::size_t from)
{
    for (std::size_t i = nextRequirementCue(cues.families, from); i < cues.families.size();
         i = nextRequirementCue(cues.families, i + 1)) {
        if (lines.roles[i] == LineRole::Text)
            return i;
    }
    return lines.size();
}

// The first line of the paragraph that holds text line `line`, not before
// `floor`: back over the lines and the gaps between them that do not end a
// paragraph.
std::size_t paragraphStart(const TextLines& lines, std::size_t line, std::size_t floor)
{
    std::size_t start = line;
    for (;;) {
        bool blank = false;
        bool pageBreak = false;
        std::size_t previous = start;
        while (previous > floor && lines.roles[previous - 1] != LineRole::Text) {
            --previous;
            blank = blank || lines.roles[previous] == LineRole::Blank;
            pageBreak = pageBreak || lines.roles[previous] == LineRole::PageBreak;
        }
        if (previous == floor)
            return start;
        --previous;
        if ((blank || pageBreak)
            && !continuesOverPageBreak(pageBreak, lines.line(start), isSpace(lines.line(previous).front())))
            return start;
        start = previous;
    }
}

} // namespace

void findRequirements(RfcText& text, const TextLines& lines, const LineCues& cues)
{
    text.requirements.clear();
    text.requirements.reserve(cues.keywordStarts.size());
    RequirementScanner scanner(text);
    // Only the paragraphs with a keyword cue are read: from each cued line
    // back to where its paragraph starts (not before `floor`, where the
    // paragraph read last ended), then on to where it ends.
    std::size_t floor = 0;
    const WordStart* keyword = cues.keywordStarts.data();
    const WordStart* const keywordsEnd = keyword + cues.keywordStarts.size();
    // A paragraph ends after its cued line, so the next search starts past
    // both; the search never goes back, whatever the lines hold.
    for (std::size_t cued = nextCuedLine(lines, cues, 0); cued < lines.size();
         cued = nextCuedLine(lines, cues, std::max(floor, cued + 1))) {
        floor = scanner.readParagraph(lines, keyword, keywordsEnd, paragraphStart(lines, cued, floor));
    }
    releaseUnusedRoom(text.requirements);
}

} // namespace parchly

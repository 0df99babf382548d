#include "analysis/line_cut.h"

#include "analysis/line_bytes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace parchly {

namespace {

// The facts of a line holding a form feed, beyond those of every line: the
// form feeds opening the line are passed over to where its words start
// ("\f\fRFC 1234 ..." opens its page with the header, as "\fRFC 1234 ..."
// does; the line is one page break).
void describeFormFeedLine(std::string_view line, LineFacts& facts)
{
    facts.flags |= LineFacts::kHoldsFeed;
    const std::size_t indent = facts.indent;
    if (charAt(line, indent) != kFormFeed)
        return;
    facts.flags |= LineFacts::kOpensWithFeed;
    std::size_t rest = skipBlanks(line, indent + 1);
    while (charAt(line, rest) == kFormFeed)
        rest = skipBlanks(line, rest + 1);
    facts.rest = static_cast<uint16_t>(rest);
    if (rest >= line.size() || isLineEnd(line[rest]))
        facts.flags |= LineFacts::kBlankAfterRest;
    std::size_t words = indent;
    while (words < facts.textEnd && (isBlankChar(line[words]) || line[words] == kFormFeed))
        ++words;
    if (words >= facts.textEnd)
        facts.flags |= LineFacts::kOnlyFeeds;
}

// What a line is, read from its bytes: the indentation and a form feed
// after it, and the line end. `holdsFeed` is known from the cut, which
// meets every form feed. For the lines the cut's bits do not tell.
LineFacts describeLine(std::string_view line, bool holdsFeed)
{
    LineFacts facts{};
    const std::size_t indent = skipBlanks(line, 0);
    // One LF ends a line, after any CR a text-mode read leaves before it.
    std::size_t textEnd = line.size();
    if (textEnd > 0 && line[textEnd - 1] == '\n')
        --textEnd;
    while (textEnd > 0 && line[textEnd - 1] == '\r')
        --textEnd;
    facts.indent = static_cast<uint16_t>(indent);
    facts.rest = facts.indent;
    facts.textEnd = static_cast<uint16_t>(textEnd);
    const bool blank = indent >= line.size() || isLineEnd(line[indent]);
    facts.flags = blank ? LineFacts::kBlank | LineFacts::kBlankAfterRest : 0;
    if (holdsFeed)
        describeFormFeedLine(line, facts);
    return facts;
}

// What sixty-four bytes of the text hold, a bit for each byte: its line
// feeds, its form feeds, its words (every byte that is no space or tab,
// line ends included) and its opening brackets; and whether a CR stands
// among them (not 0).
struct ChunkBits {
    uint64_t lineFeeds;
    uint64_t formFeeds;
    uint64_t words;
    uint64_t brackets;
    uint64_t crs;
};

// The bits of `count` bytes, at most sixty-four, one byte at a time: the
// end of any text, and the whole of it where no wider step runs.
ChunkBits bitsOfBytes(const char* bytes, std::size_t count)
{
    ChunkBits bits{0, 0, 0, 0, 0};
    for (std::size_t k = 0; k < count; ++k) {
        const uint64_t bit = uint64_t{1} << k;
        if (bytes[k] == '\n')
            bits.lineFeeds |= bit;
        else if (bytes[k] == kFormFeed)
            bits.formFeeds |= bit;
        else if (bytes[k] == '\r')
            bits.crs |= bit;
        else if (bytes[k] == '[')
            bits.brackets |= bit;
        if (!isBlankChar(bytes[k]))
            bits.words |= bit;
    }
    return bits;
}

// Where the lines start, each line's end being the next one's start, and
// their facts, in room made ahead of them and grown when the lines
// outnumber it.
struct LineTable {
    explicit LineTable(std::size_t room)
        : starts(new LineOffset[room + 1])
        , facts(new LineFacts[room])
        , room(room)
    {
        starts[0] = 0;
    }

    // Where line `index` ends: the slot after its start.
    LineOffset* ends() { return starts.get() + 1; }

    void push(std::size_t end, const LineFacts& lineFacts)
    {
        if (count == room)
            grow();
        ends()[count] = static_cast<LineOffset>(end);
        facts[count] = lineFacts;
        ++count;
    }

    [[gnu::noinline]] void grow()
    {
        std::unique_ptr<LineOffset[]> moreStarts(new LineOffset[room * 2 + 1]);
        std::unique_ptr<LineFacts[]> moreFacts(new LineFacts[room * 2]);
        moreStarts[0] = 0;
        std::copy(ends(), ends() + count, moreStarts.get() + 1);
        std::copy(facts.get(), facts.get() + count, moreFacts.get());
        starts = std::move(moreStarts);
        facts = std::move(moreFacts);
        room *= 2;
    }

    std::unique_ptr<LineOffset[]> starts;
    std::unique_ptr<LineFacts[]> facts;
    std::size_t room;
    std::size_t count = 0;
};

// The facts of a line ending in the LF at `lineFeed`, shorter than the
// buffer and holding no form feed, whose first word (the LF at the
// latest) stands at `wordAt`: the cut's bits tell all but a CR.
inline LineFacts factsToldByBits(const char* text, std::size_t start, std::size_t wordAt,
                                 std::size_t lineFeed, bool holdsCr)
{
    const auto indent = static_cast<uint16_t>(wordAt - start);
    std::size_t textEnd = lineFeed - start;
    // A CR that a text-mode read leaves before the LF ("\r\r\n") is no
    // text, and a line whose words open with one is blank.
    bool blank = wordAt == lineFeed;
    if (holdsCr) {
        while (textEnd > 0 && text[start + textEnd - 1] == '\r')
            --textEnd;
        blank = blank || text[wordAt] == '\r';
    }
    return {indent, indent, static_cast<uint16_t>(textEnd),
            static_cast<uint8_t>(blank ? LineFacts::kBlank | LineFacts::kBlankAfterRest : 0)};
}

// Where the cut stands: the line it is in, and where the next line ends
// and its facts go. The loops over the chunks keep it in a local, in
// registers: a fact stored is a byte, which may alias any field of the
// cutter and would make each line load them again.
struct CutPlace {
    std::size_t start;
    // The first word at or after `start`, while the line is told by bits.
    std::size_t wordAt;
    // False for a line holding a form feed or after a piece of a long line.
    bool toldByBits;
    LineOffset* ends;
    LineFacts* facts;
    std::size_t count;
    std::size_t room;
};

constexpr std::size_t kCutLimit = kLineBufferSize - 1;

// Where the first of `words` stands in its chunk; 64, the start of the
// next chunk, when there is none.
inline std::size_t firstWordIn(uint64_t words)
{
    return words != 0 ? static_cast<std::size_t>(__builtin_ctzll(words)) : 64;
}

#if defined(__SSE2__)
// The same in one instruction, without a branch, on a processor with BMI.
__attribute__((target("bmi"))) inline std::size_t firstWordInWithBmi(uint64_t words)
{
    return static_cast<std::size_t>(_tzcnt_u64(words));
}
#endif

// The next line's first word after the LF at `bit` of the chunk at `at`,
// or the start of the next chunk, where it is looked for again when the
// chunk holds none after the LF: an LF is a word, so a line's first word
// is found by its end at the latest.
inline std::size_t firstWordAfter(std::size_t at, uint64_t words, std::size_t bit)
{
    return at + firstWordIn(words & ~((uint64_t{2} << bit) - 1));
}

// Ends the lines of the chunk at `at` when they are all common lines (no
// form feed, no piece of a long line, room for every line the chunk may
// end); false, having only looked for the first word, when they are not.
// `wordIn` is firstWordIn() or the same in fewer instructions.
template <std::size_t (*wordIn)(uint64_t) = firstWordIn>
[[gnu::always_inline]] inline bool takeCommonLines(CutPlace& place, std::size_t at, const ChunkBits& bits,
                                                   const char* text, bool holdsCr)
{
    // A first word not found in the chunks before is looked for here; one
    // found at this chunk's first byte is found again.
    if (place.wordAt == at)
        place.wordAt = at + wordIn(bits.words);
    if (bits.lineFeeds == 0 && bits.formFeeds == 0)
        return true;
    if (bits.formFeeds != 0 || !place.toldByBits || at + 64 - place.start > kCutLimit
        || place.count + 64 > place.room)
        return false;
    // Counted in a local, which no fact stored may alias: it stays in a
    // register while the lines are written.
    std::size_t count = place.count;
    for (uint64_t feeds = bits.lineFeeds; feeds != 0; feeds &= feeds - 1) {
        const auto bit = static_cast<std::size_t>(__builtin_ctzll(feeds));
        const std::size_t position = at + bit;
        place.facts[count] = factsToldByBits(text, place.start, place.wordAt, position, holdsCr);
        place.start = position + 1;
        place.ends[count] = static_cast<LineOffset>(place.start);
        ++count;
        // The words after this LF: those up to it and it are cleared.
        place.wordAt = at + wordIn(bits.words & ~(feeds ^ (feeds - 1)));
    }
    place.count = count;
    return true;
}

// The least power of two at or above `count`.
std::size_t powerOfTwoAtLeast(std::size_t count)
{
    std::size_t power = 1;
    while (power < count)
        power *= 2;
    return power;
}

// Takes the text's bits chunk after chunk and ends its lines. A line that
// ends in its LF, with no form feed and shorter than the buffer (nearly
// every line), is told by the bits alone: its indentation runs to its
// first word, which the bits give. Other lines are read byte by byte.
class LineCutter {
public:
    LineCutter(const char* text, std::size_t size)
        : m_text(text)
        , m_size(size)
        // Lines run 40 bytes or so: room for shorter ones, grown if needed.
        , m_lines(size / 24 + 16)
    {
        m_place = {0, 0, true, m_lines.ends(), m_lines.facts.get(), 0, m_lines.room};
        // An RFC has a page, and a form feed, every 2,500 bytes or so, and
        // a "[" every 800: room for about twice as many, made once rather
        // than grown from nothing a slot at a time. A power of two, so that
        // a text holding more (a grammar full of brackets) grows the list
        // through the sizes it would have grown through from nothing.
        m_feedLines.reserve(powerOfTwoAtLeast(size / 1024 + 4));
        m_brackets.reserve(powerOfTwoAtLeast(size / 512 + 8));
    }

    const char* text() const { return m_text; }
    // From the first chunk that holds a CR on, its lines and all after are
    // looked at for one; the lines before hold none.
    void noteCr() { m_holdsCr = true; }
    // The opening brackets among the chunk at `at`, a bit for each. Few
    // chunks hold one.
    void noteBrackets(std::size_t at, uint64_t brackets)
    {
        for (; brackets != 0; brackets &= brackets - 1)
            m_brackets.push_back(
                static_cast<LineOffset>(at + static_cast<std::size_t>(__builtin_ctzll(brackets))));
    }
    CutPlace place() const { return m_place; }
    void setPlace(const CutPlace& place) { m_place = place; }

    // The bits of the sixty-four bytes (fewer at the end of the text) from
    // `at` on.
    void take(std::size_t at, const ChunkBits& bits)
    {
        if (bits.crs != 0)
            noteCr();
        noteBrackets(at, bits.brackets);
        if (!takeCommonLines(m_place, at, bits, m_text, m_holdsCr))
            takeAnyLines(at, bits.lineFeeds, bits.formFeeds, bits.words);
    }

    // A chunk with a form feed, or a long line's piece, or too little room
    // left: each cut on its own. The bits come in registers, not through
    // memory that every chunk would store them into for this rare call.
    [[gnu::noinline]] void takeAnyLines(std::size_t at, uint64_t lineFeeds, uint64_t formFeeds,
                                        uint64_t words)
    {
        const ChunkBits bits{lineFeeds, formFeeds, words, 0, 0};
        m_lines.count = m_place.count;
        for (uint64_t cuts = bits.lineFeeds | bits.formFeeds; cuts != 0; cuts &= cuts - 1) {
            const auto bit = static_cast<unsigned>(__builtin_ctzll(cuts));
            const bool lineFeed = (bits.lineFeeds >> bit & 1) != 0;
            endCutReadingBytes(at + bit, lineFeed);
            if (lineFeed)
                m_place.wordAt = firstWordAfter(at, bits.words, bit);
        }
        m_place.ends = m_lines.ends();
        m_place.facts = m_lines.facts.get();
        m_place.count = m_lines.count;
        m_place.room = m_lines.room;
    }

    // The last line, when the text does not end in an LF.
    void finish()
    {
        m_lines.count = m_place.count;
        while (m_place.start < m_size)
            endLineReadingIt(m_place.start + std::min(m_size - m_place.start, kCutLimit));
    }

    void moveInto(LineCut& cut)
    {
        cut.starts = std::move(m_lines.starts);
        cut.facts = std::move(m_lines.facts);
        cut.total = m_lines.count;
        cut.feedLines = std::move(m_feedLines);
        cut.brackets = std::move(m_brackets);
        cut.holdsCr = m_holdsCr;
    }

private:
    // The cut at `position` of any other line: a long line's pieces before
    // it are lines of their own, a form feed is noted, and a line with a
    // form feed or after a piece is read byte by byte.
    void endCutReadingBytes(std::size_t position, bool lineFeed)
    {
        if (position - m_place.start >= kCutLimit) {
            while (position - m_place.start >= kCutLimit)
                endLineReadingIt(m_place.start + kCutLimit);
            // What follows the last piece starts where no word was looked
            // for.
            m_place.toldByBits = false;
        }
        if (!lineFeed) {
            // A line holds a form feed only once in the list, however many
            // it has.
            if (m_feedLines.empty() || m_feedLines.back() != m_lines.count)
                m_feedLines.push_back(m_lines.count);
            m_place.toldByBits = false;
        } else if (m_place.toldByBits) {
            m_lines.push(position + 1,
                         factsToldByBits(m_text, m_place.start, m_place.wordAt, position, m_holdsCr));
            m_place.start = position + 1;
        } else {
            endLineReadingIt(position + 1);
        }
    }

    void endLineReadingIt(std::size_t end)
    {
        const bool holdsFeed = !m_feedLines.empty() && m_feedLines.back() == m_lines.count;
        m_lines.push(end,
                     describeLine(std::string_view(m_text + m_place.start, end - m_place.start), holdsFeed));
        m_place.start = end;
        m_place.toldByBits = true;
    }

    const char* m_text;
    std::size_t m_size;
    CutPlace m_place;
    // Nearly every text holds no CR at all, and then no line is looked at
    // for one.
    bool m_holdsCr = false;
    LineTable m_lines;
    std::vector<std::size_t> m_feedLines;
    std::vector<LineOffset> m_brackets;
};

#if defined(__SSE2__)
// What the cut asks of most chunks: their line feeds and their words, and
// whether they hold any of the rarer bytes that only ChunkBits tell apart
// (a form feed, an opening bracket, and a CR while the text is taken to
// hold none): not 0 when they do.
struct CommonBits {
    uint64_t lineFeeds;
    uint64_t words;
    uint64_t rare;
};

// Sixteen bytes of a chunk, its part `part` of four.
inline __m128i blockAt(const char* bytes, unsigned part)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
}

// The bytes of part `part` of a chunk that a comparison found, as bits of
// the chunk.
inline uint64_t partBits(__m128i same, unsigned part)
{
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(same))) << (16 * part);
}

// The spaces and tabs of a block.
inline __m128i blanksIn(__m128i block)
{
    return _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')),
                        _mm_cmpeq_epi8(block, _mm_set1_epi8('\t')));
}

// The bits of a chunk sixteen bytes at a time.
struct Sse2Bits {
    static constexpr std::size_t (*firstWord)(uint64_t) = firstWordIn;

    static ChunkBits all(const char* bytes)
    {
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i formFeed = _mm_set1_epi8(kFormFeed);
        uint64_t lineFeeds = 0;
        uint64_t formFeeds = 0;
        uint64_t blanks = 0;
        uint64_t brackets = 0;
        __m128i crs = _mm_setzero_si128();
        for (unsigned part = 0; part < 4; ++part) {
            const __m128i block = blockAt(bytes, part);
            lineFeeds |= partBits(_mm_cmpeq_epi8(block, lineFeed), part);
            formFeeds |= partBits(_mm_cmpeq_epi8(block, formFeed), part);
            blanks |= partBits(blanksIn(block), part);
            brackets |= partBits(_mm_cmpeq_epi8(block, _mm_set1_epi8('[')), part);
            crs = _mm_or_si128(crs, _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
        }
        return {lineFeeds, formFeeds, ~blanks, brackets,
                static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(crs)))};
    }

    static uint64_t brackets(const char* bytes)
    {
        uint64_t brackets = 0;
        for (unsigned part = 0; part < 4; ++part) {
            brackets |= partBits(_mm_cmpeq_epi8(blockAt(bytes, part), _mm_set1_epi8('[')), part);
        }
        return brackets;
    }

    // `withCr`: a CR is one of the rarer bytes.
    template <bool withCr> static CommonBits common(const char* bytes)
    {
        uint64_t lineFeeds = 0;
        uint64_t blanks = 0;
        __m128i rare = _mm_setzero_si128();
        for (unsigned part = 0; part < 4; ++part) {
            const __m128i block = blockAt(bytes, part);
            lineFeeds |= partBits(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n')), part);
            blanks |= partBits(blanksIn(block), part);
            rare = _mm_or_si128(rare,
                                _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(kFormFeed)),
                                             _mm_cmpeq_epi8(block, _mm_set1_epi8('['))));
            if (withCr)
                rare = _mm_or_si128(rare, _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
        }
        return {lineFeeds, ~blanks, static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(rare)))};
    }
};

// Ends the lines of the chunks from `at` on while they are common: no
// rarer byte, and lines that takeCommonLines takes. Stops at the first
// other chunk or where the whole chunks end; returns where, and the bits
// of the chunk there in `bits`. The loop makes no call, so that its
// constants stay in registers: most chunks of a text pass here.
template <typename Bits, bool holdsCr>
[[gnu::always_inline]] inline std::size_t takeCommonChunks(const char* text, std::size_t size, std::size_t at,
                                                           CutPlace& place, CommonBits& bits)
{
    for (; at + 64 <= size; at += 64) {
        bits = Bits::template common<!holdsCr>(text + at);
        if (bits.rare != 0
            || !takeCommonLines<Bits::firstWord>(place, at, ChunkBits{bits.lineFeeds, 0, bits.words, 0, 0},
                                                 text, holdsCr))
            break;
    }
    return at;
}

// The loop over the whole chunks of the text from `at` on with the bits
// `Bits` gives, the place kept in a local; where it stops. A text without
// a CR (nearly all) has a loop of its own that never looks at a line for
// one: it stops at the first chunk that holds one. The common chunks are
// taken in a loop of their own; each other chunk here.
template <typename Bits, bool holdsCr>
[[gnu::always_inline]] inline std::size_t cutChunks(const char* text, std::size_t size, std::size_t at,
                                                    LineCutter& cutter)
{
    CutPlace place = cutter.place();
    for (;; at += 64) {
        CommonBits common{};
        at = takeCommonChunks<Bits, holdsCr>(text, size, at, place, common);
        if (at + 64 > size)
            break;
        // Where the common loop stopped: a chunk whose rarer bytes are all
        // opening brackets (a line of citations), or that has none (its
        // lines stopped the loop), is taken with the bits the loop read
        // and its brackets; any other is read again for all its bits.
        const uint64_t brackets = common.rare != 0 ? Bits::brackets(text + at) : 0;
        const ChunkBits bits = brackets == common.rare
            ? ChunkBits{common.lineFeeds, 0, common.words, brackets, 0}
            : Bits::all(text + at);
        if (!holdsCr && bits.crs != 0)
            break;
        if (bits.brackets != 0)
            cutter.noteBrackets(at, bits.brackets);
        // Asked again where the common loop stopped at the lines: it
        // leaves the place as it would.
        if (!takeCommonLines<Bits::firstWord>(place, at, bits, text, holdsCr)) {
            cutter.setPlace(place);
            cutter.takeAnyLines(at, bits.lineFeeds, bits.formFeeds, bits.words);
            place = cutter.place();
        }
    }
    cutter.setPlace(place);
    return at;
}

// The whole chunks of the text, cut as if it held no CR up to the first
// chunk that holds one, and from there on looking at each line for one:
// the text is read once, with no search for a CR before the cut.
template <typename Bits>
[[gnu::always_inline]] inline std::size_t cutChunksNotingCrs(const char* text, std::size_t size,
                                                             LineCutter& cutter)
{
    std::size_t at = cutChunks<Bits, false>(text, size, 0, cutter);
    if (at + 64 <= size) {
        cutter.noteCr();
        at = cutChunks<Bits, true>(text, size, at, cutter);
    }
    return at;
}

std::size_t cutChunksSse2(const char* text, std::size_t size, LineCutter& cutter)
{
    return cutChunksNotingCrs<Sse2Bits>(text, size, cutter);
}

// The bits of two blocks of thirty-two bytes, the second in the high half.
__attribute__((target("avx2"))) inline uint64_t bitsOfPair(__m256i low, __m256i high)
{
    return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(low)))
        | static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}

__attribute__((target("avx2"))) inline __m256i blanksOf(__m256i block)
{
    return _mm256_or_si256(_mm256_cmpeq_epi8(block, _mm256_set1_epi8(' ')),
                           _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\t')));
}

// A table of sixteen bytes that the bytes of a block are looked up in by
// their low half-byte (a byte from 0x80 up finds 0): a byte is one of
// `bytes` when it equals what it finds. Those must differ in their low
// halves; every other entry is 0xff, which no byte below 0x80 equals.
constexpr std::array<char, 16> lookUpTable(std::string_view bytes)
{
    std::array<char, 16> table{};
    for (char& entry : table)
        entry = static_cast<char>(0xff);
    for (const char c : bytes)
        table[static_cast<unsigned char>(c) & 0x0f] = c;
    return table;
}

constexpr std::array<char, 16> kBlankTable = lookUpTable(" \t");
// The bytes ChunkBits tell: the blanks, an LF, a form feed, "[", and a CR
// or not.
constexpr std::array<char, 16> kSpecialTable = lookUpTable(" \t\n\f[\r");
constexpr std::array<char, 16> kSpecialTableWithoutCr = lookUpTable(" \t\n\f[");

// The bytes of `block` found in `table`, both halves of the register
// looking up the same sixteen entries.
__attribute__((target("avx2"))) inline __m256i foundIn(const std::array<char, 16>& table, __m256i block)
{
    const __m256i entries =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data())));
    return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(entries, block), block);
}

// The bits of a chunk thirty-two bytes at a time. The processors that run
// AVX2 have BMI too.
struct Avx2Bits {
    static constexpr std::size_t (*firstWord)(uint64_t) = firstWordInWithBmi;

    __attribute__((target("avx2"))) static ChunkBits all(const char* bytes)
    {
        const __m256i lineFeed = _mm256_set1_epi8('\n');
        const __m256i formFeed = _mm256_set1_epi8(kFormFeed);
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32));
        const __m256i bracket = _mm256_set1_epi8('[');
        const __m256i cr = _mm256_set1_epi8('\r');
        const __m256i crs = _mm256_or_si256(_mm256_cmpeq_epi8(low, cr), _mm256_cmpeq_epi8(high, cr));
        return {bitsOfPair(_mm256_cmpeq_epi8(low, lineFeed), _mm256_cmpeq_epi8(high, lineFeed)),
                bitsOfPair(_mm256_cmpeq_epi8(low, formFeed), _mm256_cmpeq_epi8(high, formFeed)),
                ~bitsOfPair(blanksOf(low), blanksOf(high)),
                bitsOfPair(_mm256_cmpeq_epi8(low, bracket), _mm256_cmpeq_epi8(high, bracket)),
                static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(crs)))};
    }

    __attribute__((target("avx2"))) static uint64_t brackets(const char* bytes)
    {
        const __m256i bracket = _mm256_set1_epi8('[');
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32));
        return bitsOfPair(_mm256_cmpeq_epi8(low, bracket), _mm256_cmpeq_epi8(high, bracket));
    }

    // Each half of the chunk is looked up in two tables: the blanks, and
    // every byte that ChunkBits tell; those that are neither a blank nor
    // an LF are the rarer ones.
    template <bool withCr> __attribute__((target("avx2"))) static CommonBits common(const char* bytes)
    {
        const std::array<char, 16>& special = withCr ? kSpecialTable : kSpecialTableWithoutCr;
        const __m256i lineFeed = _mm256_set1_epi8('\n');
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32));
        const uint64_t lineFeeds =
            bitsOfPair(_mm256_cmpeq_epi8(low, lineFeed), _mm256_cmpeq_epi8(high, lineFeed));
        const uint64_t blanks = bitsOfPair(foundIn(kBlankTable, low), foundIn(kBlankTable, high));
        const uint64_t specials = bitsOfPair(foundIn(special, low), foundIn(special, high));
        return {lineFeeds, ~blanks, specials & ~(blanks | lineFeeds)};
    }
};

__attribute__((target("avx2,bmi"))) std::size_t cutChunksAvx2(const char* text, std::size_t size,
                                                              LineCutter& cutter)
{
    return cutChunksNotingCrs<Avx2Bits>(text, size, cutter);
}
#endif

} // namespace

bool canCutWith(CutWidth width)
{
#if defined(__SSE2__)
    return width != CutWidth::Avx2 || (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi"));
#else
    return width == CutWidth::Bytes;
#endif
}

CutWidth widestCutWidth()
{
    for (const CutWidth width : {CutWidth::Avx2, CutWidth::Sse2}) {
        if (canCutWith(width))
            return width;
    }
    return CutWidth::Bytes;
}

LineCut cutIntoLines(const char* text, std::size_t size, CutWidth width)
{
    LineCutter cutter(text, size);
    std::size_t i = 0;
#if defined(__SSE2__)
    if (width == CutWidth::Avx2)
        i = cutChunksAvx2(text, size, cutter);
    else if (width == CutWidth::Sse2)
        i = cutChunksSse2(text, size, cutter);
#else
    (void)width;
#endif
    for (; i < size; i += 64)
        cutter.take(i, bitsOfBytes(text + i, std::min<std::size_t>(size - i, 64)));
    cutter.finish();
    LineCut cut;
    cutter.moveInto(cut);
    return cut;
}

} // namespace parchly

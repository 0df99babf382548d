#include "analysis/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace parchly {
namespace {

std::vector<std::string> readAll(LineReader& reader)
{
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

// The reading as it was first written, kept as the oracle: the whole text
// copied into text mode, then each line copied out of it.
std::vector<std::string> copiedLines(const std::string& raw)
{
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n'))
            text.push_back(raw[i]);
    }
    std::vector<std::string> lines;
    for (std::size_t position = 0; position < text.size();) {
        std::size_t end = position;
        bool lineEnded = false;
        while (!lineEnded && end - position < kLineBufferSize - 1 && end < text.size())
            lineEnded = text[end++] == '\n';
        lines.push_back(text.substr(position, end - position));
        position = end;
    }
    return lines;
}

// The cuts that once went wrong, then random runs of bytes with form feeds
// among them, long ones cut into pieces.
std::vector<std::string> textsToCut()
{
    // A CR LF pair on either side of a full buffer, a lone CR inside a
    // line or at the end, a NUL.
    std::vector<std::string> texts = {
        "one\r\ntwo\nthree\r\n", std::string(1023, 'y') + "\r\nz",  std::string(1022, 'y') + "\r\nz", "end\r",
        "a\rb\n\r\r\n",          std::string(2000, 'x') + "\nnext", std::string("a\0b\n", 4),         ""};
    // Then runs of one byte, making lines of every length around the piece
    // size and CR LF pairs on either side of a cut.
    std::mt19937 random(17);
    const char alphabet[] = {'a', ' ', '\r', '\n', '\f'};
    for (int round = 0; round < 300; ++round) {
        std::string& raw = texts.emplace_back();
        while (raw.size() < 6000) {
            const char c = alphabet[random() % 5];
            const std::size_t run = random() % 4 == 0 ? 1000 + random() % 50 : 1 + random() % 3;
            raw.append(c == '\r' || c == '\n' ? 1 : run, c);
        }
    }
    return texts;
}

// What a line is, read from its bytes one by one, as the passes once did.
LineFacts factsReadFrom(const std::string& line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
    const auto blankFrom = [&](std::size_t at) { return at >= line.size() || lineEnd(line[at]); };
    LineFacts facts{};
    std::size_t indent = 0;
    while (indent < line.size() && blank(line[indent]))
        ++indent;
    const bool opensWithFeed = indent < line.size() && line[indent] == '\f';
    std::size_t rest = indent;
    // Past every form feed opening the line and the blanks among them.
    if (opensWithFeed) {
        while (rest < line.size() && (blank(line[rest]) || line[rest] == '\f'))
            ++rest;
    }
    std::size_t textEnd = line.size();
    while (textEnd > 0 && lineEnd(line[textEnd - 1]))
        --textEnd;
    std::size_t words = indent;
    while (words < textEnd && (blank(line[words]) || line[words] == '\f'))
        ++words;
    facts.indent = static_cast<uint16_t>(indent);
    facts.rest = static_cast<uint16_t>(rest);
    facts.textEnd = static_cast<uint16_t>(textEnd);
    facts.flags = static_cast<uint8_t>((blankFrom(indent) ? LineFacts::kBlank : 0)
                                       | (blankFrom(rest) ? LineFacts::kBlankAfterRest : 0)
                                       | (opensWithFeed ? LineFacts::kOpensWithFeed : 0)
                                       | (line.find('\f') != std::string::npos ? LineFacts::kHoldsFeed : 0)
                                       | (opensWithFeed && words >= textEnd ? LineFacts::kOnlyFeeds : 0));
    return facts;
}

// Fails where `facts` differ from what `line`'s bytes tell; `where` names
// the text and the line.
void expectFactsOf(const std::string& line, const LineFacts& facts, const std::string& where)
{
    const LineFacts expected = factsReadFrom(line);
    EXPECT_EQ(facts.indent, expected.indent) << where;
    EXPECT_EQ(facts.rest, expected.rest) << where;
    EXPECT_EQ(facts.textEnd, expected.textEnd) << where;
    EXPECT_EQ(facts.flags, expected.flags) << where;
}

// The texts every width of the cut is held to: those above, the same
// without their CRs (the path that never looks for one) with tabs in their
// indentation, lines that outnumber the room made for them, and first
// words chunks after their line's start (at a chunk's first byte, after
// chunks of blanks only, and a blank line's line end), and texts whose
// first CR comes chunks in: in a later chunk, at the end of a line begun
// chunks before, and in the bytes after the last whole chunk; and brackets
// at a chunk's first and last bytes, on both sides of a first CR and in
// the tail; and bytes that share their low half-byte with a blank, an LF,
// a form feed, a CR or "[" (high bytes among them), which a cut looking
// bytes up by their half-bytes must not take for those.
std::vector<std::string> textsForEveryCutWidth()
{
    std::vector<std::string> texts = textsToCut();
    for (std::size_t i = 0, total = texts.size(); i < total; ++i) {
        std::string plain = texts[i];
        plain.erase(std::remove(plain.begin(), plain.end(), '\r'), plain.end());
        std::replace(plain.begin() + static_cast<std::ptrdiff_t>(plain.size() / 2), plain.end(), ' ', '\t');
        texts.push_back(plain);
    }
    texts.push_back(std::string(5000, '\n') + "  x\n");
    texts.push_back("a\n" + std::string(62, ' ') + "b\n" + std::string(200, ' ') + "c\n"
                    + std::string(130, ' ') + "\n");
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += "  a line of text\n";
    texts.push_back(lines + "  \r lone CR opens the words\nends in CRs\r\r\n\r\r\n" + lines);
    texts.push_back(std::string(100, 'd') + "\r\r\n" + lines);
    texts.push_back(std::string(63, 'a') + "\n" + std::string(63, 'b') + "\nc\r\r\n");
    texts.push_back("[" + std::string(62, 'x') + "[[" + lines + "[1]\r\n[2] [RFC3]\n" + lines + "[Page 4]");
    const char kLookAlikes[] = "\x80\xa0\x89\x8a\x8c\x8d\xdb\xff\x00\x10)*,-0@KPZ{p\x7f";
    const std::string lookAlikes(kLookAlikes, sizeof kLookAlikes - 1);
    // Lines of one of them each, so that whole chunks hold no other.
    std::string sharedHalves;
    for (const char c : lookAlikes)
        sharedHalves += "  " + std::string(70, c) + " " + c + "\n";
    texts.push_back(sharedHalves);
    return texts;
}

TEST(LineReader, CutsLikeCopyingTheTextAndEachLine)
{
    const std::vector<std::string> texts = textsToCut();
    for (const std::string& raw : texts) {
        LineReader reader(raw);
        ASSERT_EQ(readAll(reader), copiedLines(raw)) << raw.substr(0, 20);
    }
    // The oracle keeps what the buffer does: a piece that fills it leaves
    // the CR LF pair to the next read, a lone CR stays.
    EXPECT_EQ(copiedLines(texts[1]), (std::vector<std::string>{std::string(1023, 'y'), "\n", "z"}));
    EXPECT_EQ(copiedLines(texts[4]), (std::vector<std::string>{"a\rb\n", "\r\n"}));
}

TEST(LineReader, ReadsBorrowedBytesWhereTheyStandAndLeavesThemAlone)
{
    for (const std::string& raw : textsToCut()) {
        const std::string kept = raw;
        LineReader reader = LineReader::borrowing(raw);
        ASSERT_EQ(readAll(reader), copiedLines(raw)) << raw.substr(0, 20);
        ASSERT_EQ(raw, kept) << "a CR LF pair is turned into text mode in a copy";
        const bool textMode = raw.find("\r\n") == std::string::npos;
        EXPECT_EQ(reader.wholeText().data() == raw.data(), textMode) << raw.substr(0, 20);
    }
}

TEST(LineReader, KnowsEveryLineHoldingAFormFeed)
{
    for (const std::string& raw : textsToCut()) {
        LineReader reader(raw);
        std::vector<std::size_t> expected;
        const std::vector<std::string> lines = copiedLines(raw);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].find('\f') != std::string::npos)
                expected.push_back(i);
        }
        ASSERT_EQ(reader.formFeedLines(), expected) << raw.substr(0, 20);
        for (std::size_t i = 0; i <= lines.size(); ++i) {
            const auto before = std::lower_bound(expected.begin(), expected.end(), i) - expected.begin();
            ASSERT_EQ(reader.formFeedsBefore(i), static_cast<std::size_t>(before)) << i;
        }
    }
}

// A piece of a long line holds its own feeds; a CR LF pair is no line.
TEST(LineReader, APieceOfALongLineHoldsItsOwnFormFeeds)
{
    const std::string raw = "a\r\n\fb\n" + std::string(1030, 'x') + "\f\n\n\f\f\n";
    EXPECT_EQ(LineReader(raw).formFeedLines(), (std::vector<std::size_t>{1, 3, 5}));
}

TEST(LineReader, DescribesEveryLineAsItsBytesTellIt)
{
    std::vector<std::string> texts = textsToCut();
    // Indentation and form feeds of every kind, a lone CR before the line
    // end, a tab, a last line without line end, a piece of a long line.
    texts.push_back("  \f  RFC 1 \n\f\f \n \t\n\f\r \ntext\f\n   \r\r\n\tx\n  \f" + std::string(1100, ' ')
                    + "y");
    for (const std::string& raw : texts) {
        const LineReader reader(raw);
        const std::vector<std::string> lines = copiedLines(raw);
        ASSERT_EQ(reader.lineTotal(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            expectFactsOf(lines[i], reader.factsOf(i), raw.substr(0, 20) + " line " + std::to_string(i));
    }
}

// Every width of the cut against the oracle.
TEST(LineReader, EveryCutWidthCutsAndDescribesAlike)
{
    const std::vector<std::string> texts = textsForEveryCutWidth();
    for (const CutWidth width : {CutWidth::Bytes, CutWidth::Sse2, CutWidth::Avx2}) {
        if (!canCutWith(width))
            continue;
        for (const std::string& raw : texts) {
            // The cut takes text already in text mode.
            const std::vector<std::string> lines = copiedLines(raw);
            std::string textMode;
            for (const std::string& line : lines)
                textMode += line;
            const LineCut cut = cutIntoLines(textMode.data(), textMode.size(), width);
            ASSERT_EQ(cut.total, lines.size()) << static_cast<int>(width);
            std::size_t end = 0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const std::string where =
                    "width " + std::to_string(static_cast<int>(width)) + " line " + std::to_string(i);
                end += lines[i].size();
                ASSERT_EQ(cut.starts[i + 1], end) << where;
                expectFactsOf(lines[i], cut.facts[i], where);
            }
        }
    }
}

TEST(LineReader, EveryCutWidthNotesEachOpeningBracket)
{
    for (const CutWidth width : {CutWidth::Bytes, CutWidth::Sse2, CutWidth::Avx2}) {
        if (!canCutWith(width))
            continue;
        for (const std::string& raw : textsForEveryCutWidth()) {
            std::string textMode;
            for (const std::string& line : copiedLines(raw))
                textMode += line;
            std::vector<LineOffset> expected;
            for (std::size_t at = textMode.find('['); at != std::string::npos;
                 at = textMode.find('[', at + 1))
                expected.push_back(static_cast<LineOffset>(at));
            const LineCut cut = cutIntoLines(textMode.data(), textMode.size(), width);
            ASSERT_EQ(cut.brackets, expected)
                << "width " << static_cast<int>(width) << " " << raw.substr(0, 20);
        }
    }
}

// Texts of far more lines than their size suggests (blank lines, one byte
// each) and of far fewer (one long line): every line kept either way.
TEST(LineReader, CutsTextsOfOneByteLinesAndOfOneLongLine)
{
    for (const std::string& raw : {std::string(5000, '\n'), std::string(40000, '\n') + "x",
                                   std::string(70000, 'w'), std::string("\n")}) {
        const LineReader reader(raw);
        const std::vector<std::string> lines = copiedLines(raw);
        ASSERT_EQ(reader.lineTotal(), lines.size()) << raw.size();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(reader.lineAt(i), lines[i]) << raw.size() << " line " << i;
            ASSERT_EQ(reader.factsOf(i).flags, factsReadFrom(lines[i]).flags) << raw.size() << " line " << i;
        }
    }
}

TEST(LineReader, FindsTheLineHoldingEveryByte)
{
    for (const std::string& raw : textsToCut()) {
        const LineReader reader(raw);
        const std::vector<std::string> lines = copiedLines(raw);
        std::size_t offset = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(reader.lineOffset(i), offset) << i;
            for (std::size_t k = 0; k < lines[i].size(); ++k)
                ASSERT_EQ(reader.lineHolding(offset + k), i) << raw.substr(0, 20) << " byte " << offset + k;
            offset += lines[i].size();
        }
        EXPECT_EQ(reader.lineHolding(offset), lines.size());
    }
}

TEST(LineReader, SkipsPeeksRewindsAndKnowsItsEnd)
{
    LineReader reader("one\ntwo\nthree");
    EXPECT_EQ(reader.peekByte(), 'o');
    EXPECT_EQ(reader.lineTotal(), 3u);
    EXPECT_EQ(reader.lineAt(2), "three");
    EXPECT_EQ(reader.skipLines(1), 1u);
    EXPECT_EQ(reader.remainingText(), "two\nthree");
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.skipLines(5), 2u);
    EXPECT_TRUE(reader.atEnd()) << "skipping past the end is a read that found nothing";
    EXPECT_EQ(reader.peekByte(), -1);
    reader.rewind();
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.skipLines(3), 3u);
    EXPECT_TRUE(reader.atEnd()) << "the last line has no line end";

    // A read that stopped at a line end, or at a piece that exactly fills
    // the buffer, has not met the end; a failed read leaves the line alone.
    std::string line;
    for (const std::string& bytes : {std::string("last\n"), std::string(1023, 'q')}) {
        LineReader last(bytes);
        ASSERT_TRUE(last.readLine(line));
        EXPECT_FALSE(last.atEnd());
        EXPECT_FALSE(last.readLine(line));
        EXPECT_TRUE(last.atEnd());
        EXPECT_EQ(line, bytes);
    }
}

TEST(LineReader, FilesReadLikeMemoryAndAMissingFileIsRefused)
{
    const auto path = std::filesystem::temp_directory_path() / "parchly_line_reader_test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "one\r\ntwo";
    }
    std::optional<LineReader> reader = LineReader::open(path.string());
    ASSERT_TRUE(reader);
    EXPECT_EQ(readAll(*reader), (std::vector<std::string>{"one\n", "two"}));
    std::string text;
    ASSERT_TRUE(readTextModeFile(path.string(), text));
    EXPECT_EQ(text, "one\ntwo");
    std::filesystem::remove(path);

    EXPECT_FALSE(LineReader::open(path.string()));
    EXPECT_FALSE(readTextModeFile(path.string(), text));
}

// Texts of megabytes are held in memory of their own kind: each size
// around where that starts, and a CR LF text turned into text mode in it,
// must read as the same bytes in memory do.
TEST(LineReader, FilesOfMegabytesReadLikeMemory)
{
    const auto path = std::filesystem::temp_directory_path() / "parchly_line_reader_large.txt";
    for (const std::size_t size :
         {std::size_t(1) << 20, (std::size_t(1) << 20) - 2, (std::size_t(2) << 20) + 1}) {
        for (const char* lineEnd : {"\n", "\r\n"}) {
            SCOPED_TRACE(std::to_string(size) + (lineEnd[0] == '\r' ? " CR LF" : " LF"));
            std::string raw;
            for (int line = 0; raw.size() < size; ++line)
                raw += "Line " + std::to_string(line) + " of a long text." + lineEnd;
            raw.resize(size);
            std::ofstream(path, std::ios::binary) << raw;
            std::optional<LineReader> file = LineReader::open(path.string());
            ASSERT_TRUE(file);
            LineReader memory(raw);
            EXPECT_EQ(file->wholeText(), memory.wholeText());
            EXPECT_EQ(readAll(*file), copiedLines(raw));
            std::string text;
            ASSERT_TRUE(readTextModeFile(path.string(), text));
            EXPECT_EQ(text, memory.wholeText());
        }
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace parchly

#include "analysis/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST(LineReader, SplitsBytesAsTheTextModeBufferDoes)
{
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one\r\ntwo\nthree\r\n", {"one\n", "two\n", "three\n"}},
        {"a\rb\n\r\r\n", {"a\rb\n", "\r\n"}}, // a lone CR stays inside its line
        {std::string(2000, 'x') + "\nnext", {std::string(1023, 'x'), std::string(977, 'x') + "\n", "next"}},
        // The CR LF pair is one byte, so 1,022 bytes and the pair fit whole.
        {std::string(1022, 'y') + "\r\nz", {std::string(1022, 'y') + "\n", "z"}},
        {std::string("a\0b\n", 4), {std::string("a\0b\n", 4)}}, // a NUL cuts nothing short
        {"", {}},
    };
    for (const Case& c : cases) {
        LineReader reader(c.bytes);
        EXPECT_EQ(readAll(reader), c.lines) << c.bytes.substr(0, 20);
    }
}

TEST(LineReader, EndStateFollowsTheStreamAndRewindClearsIt)
{
    std::string line;
    LineReader withLineEnd("last\n");
    ASSERT_TRUE(withLineEnd.readLine(line));
    EXPECT_FALSE(withLineEnd.atEnd()) << "a read that stopped at a line end has not met the end";
    EXPECT_FALSE(withLineEnd.readLine(line));
    EXPECT_TRUE(withLineEnd.atEnd());
    EXPECT_EQ(line, "last\n") << "a failed read leaves the buffer alone";

    // A piece that exactly fills the buffer at the end has not read past it.
    LineReader exactPiece(std::string(1023, 'q'));
    ASSERT_TRUE(exactPiece.readLine(line));
    EXPECT_FALSE(exactPiece.atEnd());

    LineReader withoutLineEnd("a\nb");
    readAll(withoutLineEnd);
    ASSERT_TRUE(withoutLineEnd.atEnd());
    withoutLineEnd.rewind();
    EXPECT_FALSE(withoutLineEnd.atEnd());
    EXPECT_EQ(readAll(withoutLineEnd), (std::vector<std::string>{"a\n", "b"}));
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

} // namespace
} // namespace parchly

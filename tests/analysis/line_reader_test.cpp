#include "analysis/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST(LineReader, KeepsLineEndsAndReadsCrLfAsOneLineEnd)
{
    LineReader reader("one\r\ntwo\nthree\r\n");
    EXPECT_EQ(readAll(reader), (std::vector<std::string>{"one\n", "two\n", "three\n"}));
}

TEST(LineReader, LoneCarriageReturnStaysInsideTheLine)
{
    LineReader reader("a\rb\n\r\r\n");
    EXPECT_EQ(readAll(reader), (std::vector<std::string>{"a\rb\n", "\r\n"}));
}

TEST(LineReader, LongLineArrivesInPiecesOfTheBufferSize)
{
    const std::string longLine(2000, 'x');
    LineReader reader(longLine + "\nnext\n");
    const auto lines = readAll(reader);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(1023, 'x'));
    EXPECT_EQ(lines[1], std::string(977, 'x') + "\n");
    EXPECT_EQ(lines[2], "next\n");
}

TEST(LineReader, CrLfAcrossTheBufferEdgeIsStillOneLineEnd)
{
    // 1,022 bytes then CR LF: in text mode the pair is one byte, so the
    // line fits the buffer whole.
    LineReader reader(std::string(1022, 'y') + "\r\nz");
    const auto lines = readAll(reader);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(1022, 'y') + "\n");
    EXPECT_EQ(lines[1], "z");
}

TEST(LineReader, EndOfFileStateFollowsTheStream)
{
    LineReader withLineEnd("last\n");
    std::string line;
    ASSERT_TRUE(withLineEnd.readLine(line));
    EXPECT_FALSE(withLineEnd.atEnd()) << "a read that stopped at a line end has not met the end";
    EXPECT_FALSE(withLineEnd.readLine(line));
    EXPECT_TRUE(withLineEnd.atEnd());
    EXPECT_EQ(line, "last\n") << "a failed read leaves the buffer alone";

    LineReader withoutLineEnd("first\nlast");
    ASSERT_TRUE(withoutLineEnd.readLine(line));
    ASSERT_TRUE(withoutLineEnd.readLine(line));
    EXPECT_EQ(line, "last");
    EXPECT_TRUE(withoutLineEnd.atEnd());

    // A piece that exactly fills the buffer at the end has not read past it.
    LineReader exactPiece(std::string(1023, 'q'));
    ASSERT_TRUE(exactPiece.readLine(line));
    EXPECT_FALSE(exactPiece.atEnd());
    EXPECT_FALSE(exactPiece.readLine(line));
    EXPECT_TRUE(exactPiece.atEnd());
}

TEST(LineReader, EmptyTextHasNoLines)
{
    LineReader reader("");
    std::string line = "untouched";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(line, "untouched");
}

TEST(LineReader, RewindStartsOverAndClearsTheEndState)
{
    LineReader reader("a\nb");
    readAll(reader);
    ASSERT_TRUE(reader.atEnd());
    reader.rewind();
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(readAll(reader), (std::vector<std::string>{"a\n", "b"}));
}

TEST(LineReader, NulBytesAreKeptAsBytes)
{
    LineReader reader(std::string("a\0b\n", 4));
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, std::string("a\0b\n", 4));
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

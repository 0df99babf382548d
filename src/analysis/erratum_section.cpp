#include "analysis/erratum_section.h"

#include "analysis/ascii.h"

#include <array>
#include <vector>

namespace parchly {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

// Characters that end a word of the field; "section-6.3" is the fragment
// of an address and reads as "section 6.3".
bool isWordBreak(char c)
{
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case ',':
    case ';':
    case ':':
    case '(':
    case ')':
    case '[':
    case ']':
    case '"':
    case '\'':
    case '/':
    case '&':
    case '-':
        return true;
    default:
        return false;
    }
}

std::vector<std::string_view> wordsOf(std::string_view field)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < field.size()) {
        while (at < field.size() && isWordBreak(field[at]))
            ++at;
        const std::size_t start = at;
        while (at < field.size() && !isWordBreak(field[at]))
            ++at;
        if (at > start)
            words.push_back(field.substr(start, at - start));
    }
    return words;
}

std::string_view withoutTrailingDots(std::string_view word)
{
    while (!word.empty() && word.back() == '.')
        word.remove_suffix(1);
    return word;
}

// "4", "4.1", "12.2.1.1": digit runs joined by single dots.
bool isDottedNumber(std::string_view word)
{
    if (word.empty() || !isDigit(word.front()) || !isDigit(word.back()))
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '.' && (i + 1 == word.size() || word[i + 1] == '.'))
            return false;
        if (word[i] != '.' && !isDigit(word[i]))
            return false;
    }
    return true;
}

// "A", "B.1", "A.4.2": an appendix letter with its sub-section numbers.
bool isAppendixNumber(std::string_view word)
{
    if (word.empty() || !isUpper(word.front()))
        return false;
    if (word.size() == 1)
        return true;
    return word[1] == '.' && isDottedNumber(word.substr(2));
}

bool isRomanNumeral(std::string_view word)
{
    if (word.empty() || word.size() > 6)
        return false;
    for (const char c : word) {
        if (c != 'I' && c != 'V' && c != 'X' && c != 'i' && c != 'v' && c != 'x')
            return false;
    }
    return true;
}

// A number after one of these words is a page, a line, a table or another
// document, not a section: "3.3. Page 32", "2.6, Table 1", "p. 72".
bool countsSomethingElse(std::string_view previous)
{
    static constexpr std::array<std::string_view, 18> kWords = {
        "page", "pages", "p",   "pp",        "line", "lines", "table", "tables", "figure",
        "fig",  "rfc",   "eid", "paragraph", "para", "item",  "step",  "errata", "bullet"};
    const std::string lower = lowerAsciiCopy(withoutTrailingDots(previous));
    for (const std::string_view word : kWords) {
        if (lower == word)
            return true;
    }
    return false;
}

bool namesAppendix(std::string_view previous)
{
    const std::string lower = lowerAsciiCopy(previous);
    return lower == "appendix" || lower == "appendices" || lower == "annex";
}

// Fields that name the whole document rather than a part of it.
bool namesWholeDocument(std::string_view field)
{
    static constexpr std::array<std::string_view, 6> kWords = {"global", "all",        "whole",
                                                               "entire", "throughout", "various"};
    const std::string lower = lowerAsciiCopy(field);
    for (const std::string_view word : kWords) {
        if (lower.compare(0, word.size(), word) == 0)
            return true;
    }
    return false;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isWordBreak(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isWordBreak(text.back()) || text.back() == '.'))
        text.remove_suffix(1);
    return text;
}

} // namespace

NamedSection readErratumSection(std::string_view field)
{
    NamedSection section;
    const std::vector<std::string_view> words = wordsOf(field);
    std::string_view previous;
    for (const std::string_view word : words) {
        const std::string_view core = withoutTrailingDots(word);
        const bool afterAppendix = namesAppendix(previous);
        if (!countsSomethingElse(previous)) {
            // A lone capital is an appendix only where the field says so or
            // is nothing else ("B", "B."): "A number of details..." is not.
            if (isDottedNumber(core)
                || (isAppendixNumber(core) && (afterAppendix || core.size() > 1 || words.size() == 1))
                || (afterAppendix && isRomanNumeral(core))) {
                section.number = std::string(core);
                // "Appendix ii" and "APPENDIX II" name the same heading.
                for (char& c : section.number)
                    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
                return section;
            }
        }
        previous = word;
    }
    const std::string_view title = trimmed(field);
    bool hasDigit = false;
    for (const char c : title)
        hasDigit = hasDigit || isDigit(c);
    if (!title.empty() && !hasDigit && title.size() <= 40 && !namesWholeDocument(title))
        section.title = std::string(title);
    return section;
}

bool isPlainSectionNumber(std::string_view field)
{
    return isDottedNumber(withoutTrailingDots(field));
}

} // namespace parchly

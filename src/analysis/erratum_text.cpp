#include "analysis/erratum_text.h"

#include "analysis/ascii.h"

#include <array>

namespace parchly {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmedLine(std::string_view line)
{
    while (!line.empty() && isSpace(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isSpace(line.back()))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// "[...]", "...", "[snip]", "<...>", "(...)": a line that stands for text
// left out.
bool isElision(std::string_view squeezed)
{
    if (squeezed.empty())
        return false;
    std::string_view inner = squeezed;
    if (inner.size() >= 2
        && ((inner.front() == '[' && inner.back() == ']') || (inner.front() == '<' && inner.back() == '>')
            || (inner.front() == '(' && inner.back() == ')'))) {
        inner = inner.substr(1, inner.size() - 2);
    }
    if (inner.find_first_not_of('.') == std::string_view::npos && inner.size() >= 2)
        return true;
    const std::string lower = lowerAsciiCopy(inner);
    return lower == "snip" || lower == "..snip.." || lower == "...snip..." || lower == "skip"
        || lower == "omitted" || lower == "textomitted" || lower == "etc.";
}

// The words that open a quotation of the RFC rather than belong to it.
bool isLabel(std::string_view line)
{
    const std::string lower = lowerAsciiCopy(trimmedLine(line));
    if (lower.empty())
        return false;
    static constexpr std::array<std::string_view, 10> kLabels = {
        "old:",          "old",       "original:",      "original text:", "current:",
        "current text:", "existing:", "existing text:", "it says:",       "text:"};
    for (const std::string_view label : kLabels) {
        if (lower == label)
            return true;
    }
    // "Section 4.1 says:", "In Appendix B, it says:", "... currently reads:"
    for (const std::string_view end : {std::string_view("says:"), std::string_view("reads:"),
                                       std::string_view("states:"), std::string_view("say:")}) {
        if (lower.size() >= end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0
            && lower.size() < 60)
            return true;
    }
    return false;
}

bool isNewLabel(std::string_view line)
{
    const std::string lower = lowerAsciiCopy(trimmedLine(line));
    return lower == "new:" || lower == "new" || lower == "new text:" || lower == "corrected:"
        || lower == "corrected text:" || lower == "should be:";
}

std::string_view withoutChangeBar(std::string_view line)
{
    std::size_t at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    if (at < line.size() && line[at] == '|' && (at + 1 == line.size() || isSpace(line[at + 1])))
        return line.substr(at + 1);
    return line;
}

bool isQuote(char c)
{
    return c == '"' || c == '\'' || c == '`';
}

// The quotes and ellipses a submitter puts around a quotation: '"... the
// text ..."'.
void trimQuotation(std::string& piece, bool first, bool last)
{
    if (first) {
        std::size_t start = 0;
        while (start < piece.size() && (isQuote(piece[start]) || piece[start] == '.'))
            ++start;
        piece.erase(0, start);
    }
    if (last) {
        std::size_t end = piece.size();
        while (end > 0 && isQuote(piece[end - 1]))
            --end;
        // "...text..." but not the full stop of the sentence.
        if (end >= 3 && piece.compare(end - 3, 3, "...") == 0) {
            end -= 3;
            while (end > 0 && (piece[end - 1] == '.' || isQuote(piece[end - 1])))
                --end;
        }
        piece.erase(end);
    }
}

// Appends a squeezed line to the last piece, starting a new piece where
// the line leaves text out within it ("MUST ... the client", "works[...]").
void appendSplitAtElisions(std::vector<std::string>& pieces, const std::string& squeezed)
{
    std::size_t start = 0;
    while (start < squeezed.size()) {
        std::size_t dots = squeezed.find("...", start);
        if (dots == std::string::npos) {
            pieces.back() += squeezed.substr(start);
            return;
        }
        std::size_t end = dots;
        while (end < squeezed.size() && squeezed[end] == '.')
            ++end;
        // The brackets around "[...]" go with the dots.
        std::size_t cut = dots;
        if (cut > start && (squeezed[cut - 1] == '[' || squeezed[cut - 1] == '(' || squeezed[cut - 1] == '<')
            && end < squeezed.size()
            && (squeezed[end] == ']' || squeezed[end] == ')' || squeezed[end] == '>')) {
            --cut;
            ++end;
        }
        pieces.back() += squeezed.substr(start, cut - start);
        if (!pieces.back().empty())
            pieces.emplace_back();
        start = end;
    }
}

} // namespace

void appendSqueezed(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (isSpace(static_cast<char>(c)))
            continue;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
            ++i; // no-break space
            continue;
        }
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80) {
            const unsigned char third = static_cast<unsigned char>(text[i + 2]);
            const char* folded = nullptr;
            switch (third) {
            case 0x90: // hyphen
            case 0x91: // non-breaking hyphen
            case 0x93: // en dash
            case 0x94: // em dash
                folded = "-";
                break;
            case 0x98:
            case 0x99:
                folded = "'";
                break;
            case 0x9C:
            case 0x9D:
                folded = "\"";
                break;
            case 0xA6:
                folded = "...";
                break;
            case 0x8B: // zero-width space
            case 0xAF: // narrow no-break space
                folded = "";
                break;
            default:
                break;
            }
            if (folded) {
                out += folded;
                i += 2;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
}

std::vector<std::string> originalTextPieces(std::string_view original, bool dropChangeBars)
{
    std::vector<std::string> pieces(1);
    for (std::string_view line : linesOf(original)) {
        if (isNewLabel(line))
            break;
        if (isLabel(line))
            continue;
        if (dropChangeBars)
            line = withoutChangeBar(line);
        std::string squeezed;
        appendSqueezed(squeezed, line);
        if (isElision(squeezed)) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            continue;
        }
        appendSplitAtElisions(pieces, squeezed);
    }
    if (pieces.back().empty())
        pieces.pop_back();
    for (std::size_t i = 0; i < pieces.size(); ++i)
        trimQuotation(pieces[i], i == 0, i + 1 == pieces.size());
    // A piece of a few characters between two elisions says nothing of
    // where it is and is found almost anywhere.
    constexpr std::size_t kShortestPiece = 4;
    std::vector<std::string> kept;
    for (std::string& piece : pieces) {
        if (piece.size() >= kShortestPiece || (pieces.size() == 1 && !piece.empty()))
            kept.push_back(std::move(piece));
    }
    return kept;
}

std::vector<std::string> originalTextLines(std::string_view original)
{
    std::vector<std::string> lines;
    for (const std::string_view line : linesOf(original)) {
        if (isNewLabel(line))
            break;
        if (isLabel(line))
            continue;
        std::string squeezed;
        appendSqueezed(squeezed, withoutChangeBar(line));
        if (!squeezed.empty() && !isElision(squeezed))
            lines.push_back(std::move(squeezed));
    }
    return lines;
}

bool hasChangeBars(std::string_view original)
{
    for (const std::string_view line : linesOf(original)) {
        if (withoutChangeBar(line).size() != line.size())
            return true;
    }
    return false;
}

} // namespace parchly

#include "view/text_composition.h"

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "platform/shown_lines.h"
#include "platform/text_decoding.h"
#include "settings/formats.h"
#include "settings/settings.h"
#include "view/hyperlinks.h"
#include "view/page_separator.h"

#include <algorithm>

namespace parchly {

namespace {

// The number that starts at `position`, when it is the whole run of digits
// there; -1 when there are no digits.
int64_t digitsValue(const QString& line, int position, int& length)
{
    int64_t value = 0;
    length = 0;
    while (position + length < line.size() && line[position + length].isDigit()
           && line[position + length].unicode() < 0x80) {
        if (value < 1000000000)
            value = value * 10 + (line[position + length].unicode() - '0');
        ++length;
    }
    return length > 0 ? value : -1;
}

// Positions in the shown text as the control counts them, and the questions
// the composition asks about its lines.
class Lines {
public:
    Lines(const RfcText& text, const LineCuts& cuts, const ShownText& shown)
        : m_text(text)
        , m_cuts(cuts)
        , m_shown(shown)
    {
        const QString& all = shown.text;
        m_starts.push_back(0);
        for (qsizetype at = all.indexOf(QLatin1Char('\n')); at >= 0;
             at = all.indexOf(QLatin1Char('\n'), at + 1))
            m_starts.push_back(int(at) + 1);
        m_end = int(all.size());
    }

    int count() const { return int(m_starts.size()); }
    bool exists(int line) const { return line >= 0 && line < count(); }
    QString text(int line) const
    {
        return exists(line)
            ? m_shown.text.mid(start(line), end(line) - start(line) - (exists(line + 1) ? 1 : 0))
            : QString();
    }
    // What a 1,024-byte line buffer holds of the line.
    QString examined(int line) const { return text(line).left(int(kLineBufferSize) - 1); }
    int start(int line) const { return exists(line) ? m_starts[size_t(line)] : -1; }
    int end(int line) const { return exists(line + 1) ? m_starts[size_t(line) + 1] : m_end; }
    int firstNonBlank(int line) const { return start(line) + skipBlanks(text(line), 0); }
    bool isBlank(int line) const { return atLineEnd(text(line), skipBlanks(text(line), 0)); }
    int nextBlankLineStart(int line) const
    {
        for (int next = line + 1; next < count(); ++next) {
            if (isBlank(next))
                return start(next);
        }
        return m_end;
    }
    // The character column in shown line `line` of byte column `column` of
    // the file line shown there.
    int charColumn(int line, int column) const
    {
        const int32_t fileIndex = fileLineOf(m_text, m_cuts, ShownLine::atIndex(line)).index();
        const std::vector<int32_t>& latin1 = m_shown.latin1Lines;
        return byteColumnToCharColumn(text(line), column,
                                      std::binary_search(latin1.begin(), latin1.end(), fileIndex));
    }

private:
    const RfcText& m_text;
    const LineCuts& m_cuts;
    const ShownText& m_shown;
    std::vector<int> m_starts;
    int m_end = 0;
};

class Composer {
public:
    Composer(const RfcText& text, const LineCuts& cuts, const ShownText& shown, const RfcSettings& settings,
             const RfcIndexStatus* index)
        : m_text(text)
        , m_cuts(cuts)
        , m_lines(text, cuts, shown)
        , m_settings(settings)
        , m_index(index)
    {
    }

    ComposedFormats compose()
    {
        formatFrontMatter();
        formatReferences();
        formatLinks();
        formatContents();
        formatRequirementKeywords();
        return std::move(m_result);
    }

private:
    // The control's line of a file line.
    int shown(FileLine line) const { return shownLineOf(m_text, m_cuts, line).index(); }

    void add(int start, int end, int category, Underline underline = Underline::AsConfigured)
    {
        m_result.runs.push_back(FormatRun{start, end, category, underline});
    }

    // The title paragraph and the front-matter headings up to the contents
    // heading as subtitles, then the headers and footers.
    void formatFrontMatter()
    {
        const int titleLine = shown(FileLine::atNumber(m_text.titleLine));
        if (m_lines.exists(titleLine))
            add(m_lines.start(titleLine), m_lines.nextBlankLineStart(titleLine), kFormatSubtitles);
        if (!m_text.structureFromText) {
            for (const SectionHeading& heading : m_text.headings) {
                const int line = shown(FileLine::atNumber(heading.line));
                if (!m_lines.exists(line))
                    break;
                add(m_lines.start(line), m_lines.nextBlankLineStart(line), kFormatSubtitles);
                if (heading.title == "Table of Contents")
                    break;
            }
        }
        for (auto mark = m_text.pageMarks.rbegin(); mark != m_text.pageMarks.rend(); ++mark) {
            const int line = shown(FileLine::atNumber(mark->line));
            if (m_lines.exists(line))
                add(m_lines.start(line), m_lines.end(line), kFormatHeadersFooters);
        }
    }

    // Reference labels, from the first "[" of the entry's first line to the
    // "]" that closes it, then the RFC number each reference names.
    void formatReferences()
    {
        for (auto entry = m_text.references.rbegin(); entry != m_text.references.rend(); ++entry) {
            const int line = shown(FileLine::atIndex(entry->firstLine));
            const QString text = m_lines.examined(line);
            const int open = int(text.indexOf(QLatin1Char('[')));
            if (open < 0)
                continue;
            const int close = int(text.indexOf(QLatin1Char(']'), open));
            const int end = close < 0 ? int(text.size()) : close + 1;
            add(m_lines.start(line) + open, m_lines.start(line) + end, kFormatSubtitles);
        }
        for (std::size_t i = m_text.references.size(); i-- > 0;)
            findReferenceNumber(i);
    }

    // The number written after "RFC" (possibly on the next line) when it is
    // the one the reference names.
    void findReferenceNumber(std::size_t index)
    {
        const ReferenceEntry& entry = m_text.references[index];
        if (entry.rfc <= 0)
            return;
        const int end = shown(FileLine::atIndex(entry.lastLine));
        for (int line = shown(FileLine::atIndex(entry.firstLine)); line < end && line < m_lines.count();
             ++line) {
            QString text = m_lines.examined(line);
            int at = int(text.indexOf(QLatin1String("RFC")));
            if (at > 0 && text[at - 1] == QLatin1Char('['))
                at = int(text.indexOf(QLatin1String("RFC"), at + 3));
            if (at < 0)
                continue;
            int numberLine = line;
            int position = skipBlanks(text, at + 3);
            if (atLineEnd(text, position)) {
                if (line + 1 >= m_lines.count()) {
                    ++line;
                    continue;
                }
                numberLine = line + 1;
                text = m_lines.examined(numberLine);
                position = skipBlanks(text, 0);
            }
            int length = 0;
            if (digitsValue(text, position, length) != entry.rfc)
                continue;
            m_result.referenceNumbers.push_back(
                ReferenceNumberPlace{index, numberLine, position, position + length});
            const int start = m_lines.start(numberLine);
            add(start + position, start + position + length, kFormatContents, Underline::Added);
            return;
        }
    }

    // Every link of the record that leads somewhere, in the contents' look;
    // citations keep that look, without underline, while reference links
    // are off.
    void formatLinks()
    {
        for (auto mark = m_text.links.rbegin(); mark != m_text.links.rend(); ++mark) {
            const bool citationOff = mark->kind == LinkKind::Citation && m_settings.DisableReferenceLink;
            if (!citationOff && !isLiveLink(*mark, m_text, m_settings, m_index))
                continue;
            const int line = shown(FileLine::atIndex(mark->line));
            const int start = m_lines.start(line);
            if (start < 0)
                continue;
            add(start + m_lines.charColumn(line, mark->startColumn),
                start + m_lines.charColumn(line, mark->endColumn), kFormatContents,
                citationOff ? Underline::Untouched : Underline::Added);
        }
    }

    // The requirement keywords in their own format; a format that looks like
    // "Default" is the plain look, and nothing is added.
    void formatRequirementKeywords()
    {
        const FormatTexts look = formatToText(m_settings.categoryFormat(kFormatRequirementKeywords)
                                                  .value_or(defaultFormat(kFormatRequirementKeywords)));
        const FormatTexts plain =
            formatToText(m_settings.categoryFormat(kFormatDefault).value_or(defaultFormat(kFormatDefault)));
        if (look.font == plain.font && look.style == plain.style && look.color == plain.color
            && look.size == plain.size)
            return;
        for (const RequirementSentence& requirement : m_text.requirements) {
            const int line = shown(FileLine::atIndex(requirement.line));
            if (!m_lines.exists(line))
                continue;
            // "MUST NOT" over a line end: its first word on this line.
            const int start = m_lines.start(line);
            const int end = start + int(m_lines.text(line).size());
            const int first = start + m_lines.charColumn(line, requirement.column);
            add(first, std::min<int>(end, first + int(requirement.keyword.size())),
                kFormatRequirementKeywords);
        }
    }

    // The contents listing (links unless disabled or invalid) and the
    // headings in the body that the entries lead to.
    void formatContents()
    {
        const int count = m_lines.count();
        for (const ContentEntry& entry : m_text.contents) {
            const int first = shown(FileLine::atNumber(entry.firstLine));
            if (first >= count)
                break;
            const bool invalid =
                m_settings.DisableInvalidContentEntryLink && shown(FileLine::atNumber(entry.headingLine)) < 0;
            const Underline underline = m_settings.DisableContentEntryLink ? Underline::AsConfigured
                : invalid                                                  ? Underline::Untouched
                                                                           : Underline::Added;
            const int last = std::min(shown(FileLine::atNumber(entry.lastLine)), count - 1);
            for (int line = std::max(first, 0); line <= last; ++line)
                add(m_lines.firstNonBlank(line), m_lines.end(line), kFormatContents, underline);
        }
        for (const ContentEntry& entry : m_text.contents) {
            const int heading = shown(FileLine::atNumber(entry.headingLine));
            if (heading < 0 || heading >= count)
                continue;
            for (int line = heading; line < count && !m_lines.isBlank(line); ++line)
                add(m_lines.firstNonBlank(line), m_lines.end(line), kFormatSubtitles);
        }
    }

    const RfcText& m_text;
    const LineCuts& m_cuts;
    Lines m_lines;
    const RfcSettings& m_settings;
    const RfcIndexStatus* m_index;
    ComposedFormats m_result;
};

} // namespace

QString pageSeparatorText(int page)
{
    const QString label = QStringLiteral(" Page %1 ").arg(page);
    const int room = kPageSeparatorLength - int(label.size());
    const int before = room < 2 ? 0 : room / 2;
    QString text = QString(before, QLatin1Char('-')) + label;
    if (text.size() < kPageSeparatorLength)
        text += QString(kPageSeparatorLength - text.size(), QLatin1Char('-'));
    return text;
}

ComposedFormats composeFormats(const RfcText& text, const LineCuts& cuts, const ShownText& shown,
                               const RfcSettings& settings, const RfcIndexStatus* index)
{
    return Composer(text, cuts, shown, settings, index).compose();
}

std::vector<LineRange> linesToCut(const RfcText& text, const LineCuts& from, const LineCuts& to)
{
    // Whatever `from` hides, `to` hides too when it cuts at least as much.
    const LineCuts wanted{from.headers || to.headers, from.footers || to.footers, to.blankLines};
    const std::vector<LineRange> hidden = hiddenLines(text, from);
    std::vector<LineRange> cut;
    auto kept = hidden.begin();
    for (const LineRange& range : hiddenLines(text, wanted)) {
        int32_t line = range.first;
        while (line < range.end) {
            while (kept != hidden.end() && kept->end <= line)
                ++kept;
            const int32_t stop = kept == hidden.end() ? range.end : std::min(range.end, kept->first);
            if (line < stop) {
                const int32_t shown = shownLineOf(text, from, FileLine::atIndex(line)).index();
                cut.push_back(LineRange{shown, shown + (stop - line)});
            }
            line = kept == hidden.end() ? range.end : std::max(stop, kept->end);
        }
    }
    std::reverse(cut.begin(), cut.end());
    return cut;
}

std::vector<SeparatorPlace> separatorPlaces(const RfcText& text, const LineCuts& cuts)
{
    std::vector<SeparatorPlace> places;
    if (text.isIndex || text.pageEnds.size() < 2)
        return places;
    const std::vector<int32_t> boundaries = shownPageEnds(text, cuts);
    for (std::size_t k = 1; k < boundaries.size(); ++k)
        places.push_back(SeparatorPlace{boundaries[k], pageSeparatorText(int(k))});
    return places;
}

} // namespace parchly

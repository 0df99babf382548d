// Formatting the freshly streamed text of an RFC by category: title and
// headings, page headers and footers, reference labels, the RFC numbers in
// the references, citations and the contents.
#include "analysis/line_mapping.h"
#include "analysis/link_records.h"
#include "settings/settings.h"
#include "view/reading_view.h"
#include "view/reading_session.h"
#include "view/hyperlinks.h"
#include "view/view_host.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <algorithm>

namespace parchly {

namespace {

TextFormat withUnderline(TextFormat format)
{
    format.mask |= kMaskUnderline;
    format.effects |= kEffectUnderline;
    return format;
}

TextFormat withoutUnderline(TextFormat format)
{
    format.mask &= ~kMaskUnderline;
    return format;
}

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

} // namespace

void ReadingView::formatRfcText()
{
    const RfcSettings& options = settings();
    freezeUpdates();
    setNoWordWrap();
    {
        EditBlock block(*this);
        const TextFormat format =
            options.categoryFormat(kFormatDefault).value_or(defaultFormat(kFormatDefault));
        // The whole text starts from "Default" alone, as streamed text does.
        setSelection(0, -1);
        setSelectionFormat(charFormat(format));
        setSelection(0, 0);
        if (options.UseOnlyDefaultText)
            session().contentLinksOff = true;
        else
            formatCategories();
    }
    thawUpdates();
    makeReadOnly();
    clearModified();
}

void ReadingView::formatCategories()
{
    const RfcSettings& options = settings();
    RfcText& text = rfc();
    const auto formatOf = [&options](int category) {
        return options.categoryFormat(category).value_or(defaultFormat(category));
    };
    const TextFormat subtitlesFormat = formatOf(kFormatSubtitles);
    const TextFormat contentsFormat = formatOf(kFormatContents);
    const TextFormat marksFormat = formatOf(kFormatHeadersFooters);
    const QTextCharFormat subtitles = charFormat(subtitlesFormat);
    const QTextCharFormat marks = charFormat(marksFormat);
    const int shownLines = lineCount();

    // The title paragraph, shown as a subtitle.
    const int titleLine = shownLineOfFileNumber(text.titleLine);
    if (titleLine >= 0 && titleLine < shownLines) {
        setSelection(lineStart(titleLine), nextBlankLineStart(*this, titleLine));
        applyFormat(subtitles);
    }

    // The front-matter headings up to the contents heading.
    if (!text.structureFromText) {
        for (const SectionHeading& heading : text.headings) {
            const int line = shownLineOfFileNumber(heading.line);
            if (line < 0 || line >= shownLines)
                break;
            setSelection(lineStart(line), nextBlankLineStart(*this, line));
            applyFormat(subtitles);
            if (heading.title == "Table of Contents")
                break;
        }
    }

    for (auto mark = text.pageMarks.rbegin(); mark != text.pageMarks.rend(); ++mark) {
        const int line = shownLineOfFileNumber(mark->line);
        if (line >= 0 && line < shownLines) {
            setSelection(lineStart(line), lineEndPosition(*this, line));
            applyFormat(marks);
        }
    }

    // Reference labels: from the first "[" of the entry's first line to the
    // "]" that closes it.
    for (auto entry = text.references.rbegin(); entry != text.references.rend(); ++entry) {
        const int line = fileLineToDisplay(text, entry->firstLine);
        const QString shown = examinedText(*this, line);
        const int open = shown.indexOf(QLatin1Char('['));
        if (open < 0)
            continue;
        const int close = shown.indexOf(QLatin1Char(']'), open);
        const int end = close < 0 ? int(shown.size()) : close + 1;
        setSelection(lineStart(line) + open, lineStart(line) + end);
        applyFormat(subtitles);
    }

    linkReferenceRfcNumbers(charFormat(withUnderline(contentsFormat)));

    formatLinks(contentsFormat);

    formatContents(contentsFormat, subtitles);
    formatRequirementKeywords();
}

// Every link of the record that leads somewhere, as the contents' links.
void ReadingView::formatLinks(const TextFormat& contentsFormat)
{
    const RfcSettings& options = settings();
    const RfcText& text = rfc();
    // Citations keep the contents' look, without underline, while reference
    // links are off.
    const QTextCharFormat links = charFormat(withUnderline(contentsFormat));
    const QTextCharFormat citationsOff = charFormat(withoutUnderline(contentsFormat));
    const RfcIndexStatus* index = m_host->indexStatus();
    for (auto mark = text.links.rbegin(); mark != text.links.rend(); ++mark) {
        const bool citationOff = mark->kind == LinkKind::Citation && options.DisableReferenceLink;
        if (!citationOff && !isLiveLink(*mark, text, options, index))
            continue;
        const int line = fileLineToDisplay(text, mark->line);
        const int start = lineStart(line);
        if (start < 0)
            continue;
        setSelection(start + charColumn(line, mark->startColumn), start + charColumn(line, mark->endColumn));
        applyFormat(citationOff ? citationsOff : links);
    }
}

// The requirement keywords in their own format; a format equal to
// "Default" is the plain look, and nothing is applied.
void ReadingView::formatRequirementKeywords()
{
    const RfcSettings& options = settings();
    const RfcText& text = rfc();
    const TextFormat format = options.categoryFormat(kFormatRequirementKeywords)
                                  .value_or(defaultFormat(kFormatRequirementKeywords));
    const TextFormat plain = options.categoryFormat(kFormatDefault).value_or(defaultFormat(kFormatDefault));
    const FormatTexts look = formatToText(format);
    const FormatTexts plainLook = formatToText(plain);
    if (text.requirements.empty()
        || (look.font == plainLook.font && look.style == plainLook.style && look.color == plainLook.color
            && look.size == plainLook.size))
        return;
    const QTextCharFormat keywords = charFormat(format);
    for (const RequirementSentence& requirement : text.requirements) {
        const int line = fileLineToDisplay(text, requirement.line + 1) - 1;
        const int start = lineStart(line);
        if (line < 0 || start < 0)
            continue;
        // "MUST NOT" over a line end: its first word on this line.
        const int end = start + lengthWithoutLineEnd(lineText(line));
        const int first = start + charColumn(line, requirement.column);
        setSelection(first, std::min<int>(end, first + int(requirement.keyword.size())));
        applyFormat(keywords);
    }
}

// Underlines the RFC number that each reference names, where it is written
// after "RFC" (possibly on the next line), and records where it is.
void ReadingView::linkReferenceRfcNumbers(const QTextCharFormat& link)
{
    RfcText& text = rfc();
    const int shownLines = lineCount();
    for (auto entry = text.references.rbegin(); entry != text.references.rend(); ++entry) {
        if (entry->rfc <= 0)
            continue;
        const int end = fileLineToDisplay(text, entry->lastLine);
        for (int line = fileLineToDisplay(text, entry->firstLine); line < end && line < shownLines; ++line) {
            QString shown = examinedText(*this, line);
            int at = shown.indexOf(QLatin1String("RFC"));
            if (at > 0 && shown[at - 1] == QLatin1Char('['))
                at = shown.indexOf(QLatin1String("RFC"), at + 3);
            if (at < 0)
                continue;
            int numberLine = line;
            int position = skipBlanks(shown, at + 3);
            if (atLineEnd(shown, position)) {
                if (line + 1 >= shownLines) {
                    ++line;
                    continue;
                }
                numberLine = line + 1;
                shown = examinedText(*this, numberLine);
                position = skipBlanks(shown, 0);
            }
            int length = 0;
            if (digitsValue(shown, position, length) != entry->rfc)
                continue;
            entry->linkLine = numberLine;
            entry->linkStart = position;
            entry->linkEnd = position + length;
            const int start = lineStart(numberLine);
            setSelection(start + position, start + position + length);
            applyFormat(link);
            break;
        }
    }
}

// The contents listing (links unless disabled or invalid) and the headings
// in the body that the entries lead to.
void ReadingView::formatContents(const TextFormat& contentsFormat, const QTextCharFormat& subtitles)
{
    const RfcSettings& options = settings();
    const RfcText& text = rfc();
    if (text.contents.empty())
        return;
    const int shownLines = lineCount();
    const QTextCharFormat asConfigured = charFormat(contentsFormat);
    const QTextCharFormat linked = charFormat(withUnderline(contentsFormat));
    const QTextCharFormat unlinked = charFormat(withoutUnderline(contentsFormat));

    for (const ContentEntry& entry : text.contents) {
        const int first = fileLineToDisplay(text, entry.firstLine);
        if (first > shownLines)
            break;
        const bool invalid =
            options.DisableInvalidContentEntryLink && fileLineToDisplay(text, entry.headingLine) < 1;
        const QTextCharFormat& format = options.DisableContentEntryLink ? asConfigured
            : invalid                                                   ? unlinked
                                                                        : linked;
        const int last = std::min(fileLineToDisplay(text, entry.lastLine), shownLines);
        for (int number = std::max(first, 1); number <= last; ++number) {
            setSelection(firstNonBlankPosition(*this, number - 1), lineEndPosition(*this, number - 1));
            applyFormat(format);
        }
    }

    for (const ContentEntry& entry : text.contents) {
        const int heading = fileLineToDisplay(text, entry.headingLine);
        if (heading <= 0 || heading > shownLines)
            continue;
        for (int line = heading - 1; line < shownLines && !isBlankLine(*this, line); ++line) {
            setSelection(firstNonBlankPosition(*this, line), lineEndPosition(*this, line));
            applyFormat(subtitles);
        }
    }
}

} // namespace parchly

// Cutting page headers and footers out of the shown text (putting them back
// goes through a reload) and writing or erasing the page separators.
#include "analysis/line_mapping.h"
#include "settings/settings.h"
#include "platform/char_format.h"
#include "view/page_separator.h"
#include "view/reading_view.h"
#include "platform/shown_lines.h"

#include <algorithm>

namespace parchly {

namespace {

// A per-page value; one the analysis did not compute counts as 0.
int32_t valueAt(const std::vector<int32_t>& values, size_t index)
{
    return index < values.size() ? values[index] : 0;
}

} // namespace

const std::vector<int32_t>& boundaryTable(const RfcText& text)
{
    if (text.hideHeaders && text.hideFooters)
        return text.pageEndsNoHeadersFooters;
    if (text.hideHeaders)
        return text.pageEndsNoHeaders;
    if (text.hideFooters)
        return text.pageEndsNoFooters;
    return text.pageEnds;
}

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

void ReadingView::setHeadersAndFootersCut(bool cutHeaders, bool cutFooters)
{
    RfcText& text = rfc();
    if (cutHeaders == text.hideHeaders && cutFooters == text.hideFooters)
        return;
    if (text.pageEnds.size() < 2) {
        // Without a page break (every RFC since 8650) there is nothing to
        // cut: only the state follows, without the reload that showing them
        // again would cost, so the caret and the trees stay as they are.
        text.hideHeaders = cutHeaders;
        text.hideFooters = cutFooters;
        return;
    }
    freezeUpdates();
    const int caretLine = lineFromPosition(selectedRange().end);
    const int32_t caretFileLine = displayLineToFile(text, caretLine + 1);
    // The same text stays at the same height: the file line at the top.
    const int32_t topFileLine = displayLineToFile(text, firstVisibleLine() + 1);
    const bool separators = text.showPageSeparators;

    if ((!cutHeaders && text.hideHeaders) || (!cutFooters && text.hideFooters)) {
        loadRfcText();
        freezeUpdates();
    }
    // Separators sit on the page boundaries, which the cut moves.
    setPageSeparatorsShown(false);
    freezeUpdates();
    cutPages(cutHeaders, cutFooters);
    // A reload cuts what the settings say; what it cut stays cut.
    text.hideHeaders = cutHeaders || text.hideHeaders;
    text.hideFooters = cutFooters || text.hideFooters;
    text.hideBlankLines = settings().DisableSpacesNearHeaderAndFooter;
    setPageSeparatorsShown(separators);
    freezeUpdates();

    const int start = lineStart(fileLineToDisplay(text, caretFileLine) - 1);
    setSelection(std::max(start, 0), std::max(start, 0));
    scrollLines(fileLineToDisplay(text, topFileLine) - 1 - firstVisibleLine());
    makeReadOnly();
    clearModified();
    thawUpdates();
}

// Removes the requested headers and footers that are still shown, last page
// first so that the boundary lines of earlier pages stay where they are.
void ReadingView::cutPages(bool cutHeaders, bool cutFooters)
{
    const RfcText& text = rfc();
    const bool withBlanks = settings().DisableSpacesNearHeaderAndFooter;
    const bool footers = cutFooters && !text.hideFooters;
    const bool headers = cutHeaders && !text.hideHeaders;
    const auto removeLines = [this](int from, int to) {
        const int start = lineStart(from);
        if (from < 0 || to <= from || start < 0)
            return;
        const int end = lineStart(to);
        setSelection(start, end < 0 ? -1 : end);
        replaceSelection(QString());
    };

    EditBlock block(*this);
    for (int k = int(text.pageEnds.size()) - 2; k >= 0; --k) {
        const size_t page = size_t(k);
        if (footers) {
            const int32_t end =
                text.hideHeaders ? valueAt(text.pageEndsNoHeaders, page + 1) : text.pageEnds[page + 1];
            int32_t start = end - valueAt(text.linesFromFooter, page);
            if (withBlanks)
                start -= valueAt(text.blankBeforeFooter, page);
            removeLines(start, end);
        }
        if (headers) {
            const int32_t begin =
                (text.hideFooters ? valueAt(text.pageEndsNoFooters, page) : text.pageEnds[page]) + 1;
            int32_t end = begin + valueAt(text.linesBeforeHeader, page);
            if (withBlanks)
                end += valueAt(text.blankAfterHeader, page);
            removeLines(begin, end);
        }
    }
}

void ReadingView::setPageSeparatorsShown(bool show)
{
    RfcText& text = rfc();
    if (text.isIndex || show == text.showPageSeparators)
        return;
    if (text.pageEnds.size() < 2) {
        // No page, no separator: the caret stays where it is.
        text.showPageSeparators = show;
        return;
    }
    const int caretLine = lineFromPosition(selectedRange().end);
    freezeUpdates();
    const std::vector<int32_t>& boundaries = boundaryTable(text);
    if (show)
        writeSeparators(boundaries);
    else
        eraseSeparators(boundaries);
    text.showPageSeparators = show;
    const int start = std::max(lineStart(caretLine), 0);
    setSelection(start, start);
    makeReadOnly();
    clearModified();
    thawUpdates();
}

void ReadingView::writeSeparators(const std::vector<int32_t>& boundaries)
{
    const RfcSettings& options = settings();
    const int category = options.UseOnlyDefaultText ? kFormatDefault : kFormatHeadersFooters;
    QTextCharFormat separatorFormat =
        charFormat(options.categoryFormat(category).value_or(defaultFormat(category)));
    if (separatorFormat.hasProperty(QTextFormat::FontPointSize))
        separatorFormat.setFontPointSize(separatorFormat.fontPointSize() * zoomScale(m_zoomSteps));

    EditBlock block(*this);
    for (size_t k = 1; k < boundaries.size(); ++k) {
        const int start = lineStart(boundaries[k]);
        if (start < 0)
            continue;
        setSelection(start, start);
        replaceSelection(pageSeparatorText(int(k)));
        setSelection(start, start + kPageSeparatorLength);
        applyFormat(separatorFormat);
    }
}

// Takes away exactly the separators that were written: a boundary line that
// does not begin with its separator keeps its text.
void ReadingView::eraseSeparators(const std::vector<int32_t>& boundaries)
{
    EditBlock block(*this);
    for (size_t k = 1; k < boundaries.size(); ++k) {
        const int start = lineStart(boundaries[k]);
        if (start < 0 || !lineText(boundaries[k]).startsWith(pageSeparatorText(int(k))))
            continue;
        setSelection(start, start + kPageSeparatorLength);
        replaceSelection(QString());
    }
}

} // namespace parchly

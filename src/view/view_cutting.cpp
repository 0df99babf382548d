// Cutting page headers and footers out of the shown text (putting them back
// shows the document's text afresh) and writing or erasing the page separators, at the
// places text_composition.h computes.
#include "analysis/line_mapping.h"
#include "settings/settings.h"
#include "platform/char_format.h"
#include "view/page_separator.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/text_composition.h"

#include <algorithm>

namespace parchly {

void ReadingView::setHeadersAndFootersCut(bool cutHeaders, bool cutFooters)
{
    const RfcText& text = rfc();
    ViewState state = m_document->viewState();
    if (cutHeaders == state.cuts.headers && cutFooters == state.cuts.footers)
        return;
    if (text.pageEnds.size() < 2) {
        // Without a page break (every RFC since 8650) there is nothing to
        // cut: only the state follows, without the text shown afresh that
        // showing them again would cost, so the caret and the trees stay.
        state.cuts.headers = cutHeaders;
        state.cuts.footers = cutFooters;
        m_document->setViewState(state);
        return;
    }
    freezeUpdates();
    const int caretLine = lineFromPosition(selectedRange().end);
    const FileLine caretFileLine = m_document->fileLineOf(ShownLine::atIndex(caretLine));
    // The same text stays at the same height: the file line at the top.
    const FileLine topFileLine = m_document->fileLineOf(ShownLine::atIndex(firstVisibleLine()));
    const bool separators = state.pageSeparators;

    // Lines come back only with the whole text, which cuts what the
    // settings say; what it cut stays cut.
    if ((!cutHeaders && state.cuts.headers) || (!cutFooters && state.cuts.footers)) {
        showText();
        freezeUpdates();
    }
    // Separators sit on the page boundaries, which the cut moves.
    setPageSeparatorsShown(false);
    freezeUpdates();
    state = m_document->viewState();
    const LineCuts wanted{cutHeaders || state.cuts.headers, cutFooters || state.cuts.footers,
                          settings().DisableSpacesNearHeaderAndFooter};
    {
        EditBlock block(*this);
        for (const LineRange& range : linesToCut(text, state.cuts, wanted))
            removeLines(range);
    }
    state.cuts = wanted;
    m_document->setViewState(state);
    setPageSeparatorsShown(separators);
    freezeUpdates();

    const int start = lineStart(m_document->shownLineOf(caretFileLine).index());
    setSelection(std::max(start, 0), std::max(start, 0));
    scrollLines(m_document->shownLineOf(topFileLine).index() - firstVisibleLine());
    makeReadOnly();
    clearModified();
    thawUpdates();
    // The caret moved while frozen: the position pane and the Navigator
    // catch up with it now.
    caretMoved();
}

void ReadingView::removeLines(const LineRange& range)
{
    const int start = lineStart(range.first);
    if (range.first < 0 || range.end <= range.first || start < 0)
        return;
    const int end = lineStart(range.end);
    setSelection(start, end < 0 ? -1 : end);
    replaceSelection(QString());
}

void ReadingView::setPageSeparatorsShown(bool show)
{
    const RfcText& text = rfc();
    ViewState state = m_document->viewState();
    if (text.isIndex || show == state.pageSeparators)
        return;
    if (text.pageEnds.size() < 2) {
        // No page, no separator: the caret stays where it is.
        state.pageSeparators = show;
        m_document->setViewState(state);
        return;
    }
    const int caretLine = lineFromPosition(selectedRange().end);
    freezeUpdates();
    const std::vector<SeparatorPlace> places = separatorPlaces(text, state.cuts);
    if (show)
        writeSeparators(places);
    else
        eraseSeparators(places);
    state.pageSeparators = show;
    m_document->setViewState(state);
    const int start = std::max(lineStart(caretLine), 0);
    setSelection(start, start);
    makeReadOnly();
    clearModified();
    thawUpdates();
    caretMoved();
}

void ReadingView::writeSeparators(const std::vector<SeparatorPlace>& places)
{
    const RfcSettings& options = settings();
    const int category = options.UseOnlyDefaultText ? kFormatDefault : kFormatHeadersFooters;
    QTextCharFormat separatorFormat =
        charFormat(options.categoryFormat(category).value_or(defaultFormat(category)));
    if (separatorFormat.hasProperty(QTextFormat::FontPointSize))
        separatorFormat.setFontPointSize(separatorFormat.fontPointSize() * zoomScale(m_zoom.steps()));

    EditBlock block(*this);
    for (const SeparatorPlace& place : places) {
        const int start = lineStart(place.line);
        if (start < 0)
            continue;
        setSelection(start, start);
        replaceSelection(place.text);
        setSelection(start, start + int(place.text.size()));
        applyFormat(separatorFormat);
    }
}

// Takes away exactly the separators that were written: a boundary line that
// does not begin with its separator keeps its text.
void ReadingView::eraseSeparators(const std::vector<SeparatorPlace>& places)
{
    EditBlock block(*this);
    for (const SeparatorPlace& place : places) {
        const int start = lineStart(place.line);
        if (start < 0 || !lineText(place.line).startsWith(place.text))
            continue;
        setSelection(start, start + int(place.text.size()));
        replaceSelection(QString());
    }
}

} // namespace parchly

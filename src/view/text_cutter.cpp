#include "view/text_cutter.h"

#include "analysis/line_mapping.h"
#include "settings/settings.h"
#include "platform/char_format.h"
#include "view/page_separator.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/text_composition.h"
#include "view/text_zoom.h"
#include "view/view_host.h"

#include <algorithm>

namespace parchly {

TextCutter::TextCutter(ReadingView& view, RfcDocument& document, const ViewHost& host, const TextZoom& zoom)
    : m_view(view)
    , m_document(document)
    , m_host(host)
    , m_zoom(zoom)
{
}

void TextCutter::setHeadersAndFootersCut(bool cutHeaders, bool cutFooters)
{
    const RfcText& text = m_document.text();
    ViewState state = m_document.viewState();
    if (cutHeaders == state.cuts.headers && cutFooters == state.cuts.footers)
        return;
    if (text.pageEnds.size() < 2) {
        // Without a page break (every RFC since 8650) there is nothing to
        // cut: only the state follows, without the text shown afresh that
        // showing them again would cost, so the caret and the trees stay.
        state.cuts.headers = cutHeaders;
        state.cuts.footers = cutFooters;
        m_document.setViewState(state);
        return;
    }
    m_view.freezeUpdates();
    const int caretLine = m_view.lineFromPosition(m_view.selectedRange().end);
    const FileLine caretFileLine = m_document.fileLineOf(ShownLine::atIndex(caretLine));
    // The same text stays at the same height: the file line at the top.
    const FileLine topFileLine = m_document.fileLineOf(ShownLine::atIndex(m_view.firstVisibleLine()));
    const bool separators = state.pageSeparators;

    // Lines come back only with the whole text, which cuts what the
    // settings say; what it cut stays cut.
    if ((!cutHeaders && state.cuts.headers) || (!cutFooters && state.cuts.footers)) {
        m_view.showText();
        m_view.freezeUpdates();
    }
    // Separators sit on the page boundaries, which the cut moves.
    setPageSeparatorsShown(false);
    m_view.freezeUpdates();
    state = m_document.viewState();
    const LineCuts wanted{cutHeaders || state.cuts.headers, cutFooters || state.cuts.footers,
                          m_host.settings().DisableSpacesNearHeaderAndFooter};
    {
        EditBlock block(m_view);
        for (const LineRange& range : linesToCut(text, state.cuts, wanted))
            removeLines(range);
    }
    state.cuts = wanted;
    m_document.setViewState(state);
    setPageSeparatorsShown(separators);
    m_view.freezeUpdates();

    const int start = m_view.lineStart(m_document.shownLineOf(caretFileLine).index());
    m_view.setSelection(std::max(start, 0), std::max(start, 0));
    m_view.scrollLines(m_document.shownLineOf(topFileLine).index() - m_view.firstVisibleLine());
    m_view.makeReadOnly();
    m_view.clearModified();
    m_view.thawUpdates();
    // The caret moved while frozen: the position pane and the Navigator
    // catch up with it now.
    m_view.caretMoved();
}

void TextCutter::removeLines(const LineRange& range)
{
    const int start = m_view.lineStart(range.first);
    if (range.first < 0 || range.end <= range.first || start < 0)
        return;
    const int end = m_view.lineStart(range.end);
    m_view.setSelection(start, end < 0 ? -1 : end);
    m_view.replaceSelection(QString());
}

void TextCutter::setPageSeparatorsShown(bool show)
{
    const RfcText& text = m_document.text();
    ViewState state = m_document.viewState();
    if (text.isIndex || show == state.pageSeparators)
        return;
    if (text.pageEnds.size() < 2) {
        // No page, no separator: the caret stays where it is.
        state.pageSeparators = show;
        m_document.setViewState(state);
        return;
    }
    const int caretLine = m_view.lineFromPosition(m_view.selectedRange().end);
    m_view.freezeUpdates();
    const std::vector<SeparatorPlace> places = separatorPlaces(text, state.cuts);
    if (show)
        writeSeparators(places);
    else
        eraseSeparators(places);
    state.pageSeparators = show;
    m_document.setViewState(state);
    const int start = std::max(m_view.lineStart(caretLine), 0);
    m_view.setSelection(start, start);
    m_view.makeReadOnly();
    m_view.clearModified();
    m_view.thawUpdates();
    m_view.caretMoved();
}

void TextCutter::writeSeparators(const std::vector<SeparatorPlace>& places)
{
    const RfcSettings& options = m_host.settings();
    const int category = options.UseOnlyDefaultText ? kFormatDefault : kFormatHeadersFooters;
    QTextCharFormat separatorFormat =
        m_view.charFormat(options.categoryFormat(category).value_or(defaultFormat(category)));
    if (separatorFormat.hasProperty(QTextFormat::FontPointSize))
        separatorFormat.setFontPointSize(separatorFormat.fontPointSize() * zoomScale(m_zoom.steps()));

    EditBlock block(m_view);
    for (const SeparatorPlace& place : places) {
        const int start = m_view.lineStart(place.line);
        if (start < 0)
            continue;
        m_view.setSelection(start, start);
        m_view.replaceSelection(place.text);
        m_view.setSelection(start, start + int(place.text.size()));
        m_view.applyFormat(separatorFormat);
    }
}

// Takes away exactly the separators that were written: a boundary line that
// does not begin with its separator keeps its text.
void TextCutter::eraseSeparators(const std::vector<SeparatorPlace>& places)
{
    EditBlock block(m_view);
    for (const SeparatorPlace& place : places) {
        const int start = m_view.lineStart(place.line);
        if (start < 0 || !m_view.lineText(place.line).startsWith(place.text))
            continue;
        m_view.setSelection(start, start + int(place.text.size()));
        m_view.replaceSelection(QString());
    }
}

} // namespace parchly

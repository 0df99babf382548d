// Cutting page headers and footers out of a reading view's text (putting
// them back shows the document's text afresh) and writing or erasing the
// page separators, at the places text_composition.h computes. The document
// keeps what is cut; the cutter edits the text to match and reports it.
#ifndef PARCHLY_VIEW_TEXT_CUTTER_H
#define PARCHLY_VIEW_TEXT_CUTTER_H

#include <vector>

namespace parchly {

class ReadingView;
class RfcDocument;
class TextZoom;
class ViewHost;
struct LineRange;
struct SeparatorPlace;

class TextCutter {
public:
    TextCutter(ReadingView& view, RfcDocument& document, const ViewHost& host, const TextZoom& zoom);

    // Cuts the headers and footers out or puts them back; the caret stays
    // on its file line and the same text at the top.
    void setHeadersAndFootersCut(bool cutHeaders, bool cutFooters);
    void setPageSeparatorsShown(bool show);

private:
    void removeLines(const LineRange& range);
    void writeSeparators(const std::vector<SeparatorPlace>& places);
    void eraseSeparators(const std::vector<SeparatorPlace>& places);

    ReadingView& m_view;
    RfcDocument& m_document;
    const ViewHost& m_host;
    const TextZoom& m_zoom;
};

} // namespace parchly

#endif

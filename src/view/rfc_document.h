// One opened file: its path, its analysis and the limits handed to the
// analysis. The document reads nothing itself; its view loads the file when
// it is first shown.
#ifndef PARCHLY_VIEW_RFC_DOCUMENT_H
#define PARCHLY_VIEW_RFC_DOCUMENT_H

#include "analysis/recognition.h"
#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"

#include <QString>

namespace parchly {

// Why the file at `path` is not shown at all, in words for the user ("rfcX.txt
// is not an RFC text file: it holds NUL bytes"), or empty. A binary file
// would be laid out as megabytes of control characters for nothing; a file
// that cannot be read is left to the caller's own message.
QString refusalOf(const QString& path);

// What the reading view shows of the file beside the analysis: what it cuts
// out and whether it writes page separators. Text streamed afresh shows
// neither, whatever the last analysis was.
struct ViewState {
    LineCuts cuts;
    bool pageSeparators = false;
};

class RfcDocument {
public:
    explicit RfcDocument(const QString& path);

    const QString& pathName() const { return m_path; }

    RfcText& text() { return m_text; }
    const RfcText& text() const { return m_text; }

    // Whether the loaded text is an RFC or the index (recognition.h); false
    // before it is loaded.
    bool recognised() const { return recognisedAsRfc(m_text); }
    ViewState& viewState() { return m_viewState; }
    const ViewState& viewState() const { return m_viewState; }
    const LineCuts& cuts() const { return m_viewState.cuts; }

    // The line shown for a line of the file, and the file's line shown at
    // a line, under the document's present cuts.
    ShownLine shownLineOf(FileLine line) const
    {
        return parchly::shownLineOf(m_text, m_viewState.cuts, line);
    }
    FileLine fileLineOf(ShownLine line) const { return parchly::fileLineOf(m_text, m_viewState.cuts, line); }

    // {73, 56, 100}, set when the document is created and never changed.
    const LimitsBlock& limits() const { return m_limits; }

private:
    QString m_path;
    RfcText m_text;
    ViewState m_viewState;
    const LimitsBlock m_limits;
};

} // namespace parchly

#endif

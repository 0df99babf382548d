// One opened file. The document reads the file once, analyses it (or reads
// it as the RFC index), composes its formats, and keeps the record, the
// text to show, the composition and what the view cuts. It announces every
// change through its signals; the reading view and the Navigator are its
// observers and reach each other only through it: a Navigator choice asks
// the document to move, and the view scrolls because it is told.
#ifndef PARCHLY_VIEW_RFC_DOCUMENT_H
#define PARCHLY_VIEW_RFC_DOCUMENT_H

#include "analysis/line_mapping.h"
#include "analysis/line_reader.h"
#include "analysis/recognition.h"
#include "analysis/rfc_text.h"
#include "platform/text_decoding.h"
#include "view/errata_marks.h"
#include "view/history.h"
#include "view/text_composition.h"

#include <QObject>
#include <QString>
#include <vector>

namespace parchly {

class RfcIndexStatus;
struct RfcSettings;

// Why the file at `path` is not shown at all, in words for the user ("rfcX.txt
// is not an RFC text file: it holds NUL bytes"), or empty. A binary file
// would be laid out as megabytes of control characters for nothing; a file
// that cannot be read is left to the caller's own message.
QString refusalOf(const QString& path);

// What the reading view shows of the file beside the analysis: what it cuts
// out and whether it writes page separators. Text shown afresh shows
// neither, whatever the last analysis was.
struct ViewState {
    LineCuts cuts;
    bool pageSeparators = false;
};

// A place the reader is taken to: shown line `line` at the top of the view
// with the caret at its start, or, with a byte column, the caret at that
// column of the line, the line in the upper third of the view.
struct DocumentPlace {
    ShownLine line;
    int byteColumn = -1;
};

class RfcDocument : public QObject {
    Q_OBJECT
public:
    explicit RfcDocument(const QString& path, QObject* parent = nullptr);

    const QString& pathName() const { return m_path; }
    // The RFC index goes by its name: the last 13 characters of the path
    // are "rfc-index.txt", case and all.
    bool isIndexPath() const;

    // Reads the file, analyses it (the index: reads its entries) and
    // composes its formats under `settings`, then announces loaded(). False,
    // with nothing announced, when the file cannot be read.
    bool load(const RfcSettings& settings, const RfcIndexStatus* index);
    // Reads, analyses and composes the file again under `settings` changed
    // since (the formats, what the analysis looks for), keeping the
    // history: announced as aboutToRecompose() before anything changes and
    // formatsChanged() after. False, with nothing announced, when the file
    // cannot be read.
    bool recompose(const RfcSettings& settings, const RfcIndexStatus* index);
    bool isLoaded() const { return m_loaded; }

    RfcText& text() { return m_text; }
    const RfcText& text() const { return m_text; }
    // The file's text as it is shown before anything is cut, decoded once.
    const DecodedText& shownText() const { return m_shownText; }
    // The formats of the text as shown before anything is cut; empty for
    // the index and while only the default format is used.
    const ComposedFormats& composition() const { return m_composition; }

    // Whether the loaded text is an RFC or the index (recognition.h); false
    // before it is loaded.
    bool recognised() const { return recognisedAsRfc(m_text); }
    const ViewState& viewState() const { return m_viewState; }
    const LineCuts& cuts() const { return m_viewState.cuts; }
    // The view has cut or put back lines or separators: announced as
    // cutsChanged().
    void setViewState(const ViewState& state);
    // Asks the view to cut the page headers and footers out or put them
    // back, and to write or erase the page separators: announced as
    // cutsRequested() and separatorsRequested(), cutsChanged() once done.
    void cutHeadersAndFooters(bool headers, bool footers) { emit cutsRequested(headers, footers); }
    void showPageSeparators(bool show) { emit separatorsRequested(show); }

    // The line shown for a line of the file, and the file's line shown at
    // a line, under the document's present cuts.
    ShownLine shownLineOf(FileLine line) const
    {
        return parchly::shownLineOf(m_text, m_viewState.cuts, line);
    }
    FileLine fileLineOf(ShownLine line) const { return parchly::fileLineOf(m_text, m_viewState.cuts, line); }

    // {73, 56, 100}, set when the document is created and never changed.
    const LimitsBlock& limits() const { return m_limits; }

    // The errata of the document's RFC, placed against the present
    // analysis of its file and announced as errataChanged(); none before
    // the errata database is read.
    void setErrata(std::vector<Erratum> errata);
    const std::vector<PlacedErratum>& errata() const { return m_errata; }
    // Which errata are shown changed (their status filter): announced as
    // errataChanged() for the markers to follow.
    void errataFilterChanged() { emit errataChanged(); }

    // Moves asked for by the Navigator or a link: each finds its shown line
    // and announces moveRequested(); nothing for an index out of range.
    // Section heading `heading` and contents entry `entry` (in the index:
    // index entry) come to the top, file line `line` too (a page's first
    // line under a cut header being the first line of its text), and
    // requirement `index` puts the caret on its sentence.
    void goToSectionHeading(int heading);
    void goToContentsEntry(int entry);
    void goToFileLine(FileLine line);
    void goToRequirement(int index);
    // Any place: the view moves there as it does for the moves above.
    void goToPlace(const DocumentPlace& place) { emit moveRequested(place); }
    // Erratum `index` comes to the top: the first of its lines that is
    // shown (a cut header gives way to the line after it).
    void goToErratum(int index);

    // The positions the reader jumped from and to, in the file's lines.
    PositionHistory& history() { return m_history; }
    const PositionHistory& history() const { return m_history; }

    // The shown line of the reader's caret, as the view last told it.
    ShownLine currentLine() const { return m_currentLine; }
    // The view's caret moved: kept quietly (typing, the pointer's drag) or
    // announced as currentPositionChanged() where the Navigator follows.
    void keepCurrentLine(ShownLine line) { m_currentLine = line; }
    void setCurrentLine(ShownLine line);

signals:
    void loaded();
    void aboutToRecompose();
    void formatsChanged();
    void cutsRequested(bool headers, bool footers);
    void separatorsRequested(bool show);
    void cutsChanged();
    void moveRequested(const DocumentPlace& place);
    void currentPositionChanged(ShownLine line);
    void errataChanged();

private:
    // Analyses (or reads as the index) and composes the text of `file`.
    void readFrom(LineReader& file, const RfcSettings& settings, const RfcIndexStatus* index);
    // Places the errata again against the text as analysed from `file`.
    void placeErrata(LineReader& file);

    QString m_path;
    RfcText m_text;
    DecodedText m_shownText;
    ComposedFormats m_composition;
    ViewState m_viewState;
    ShownLine m_currentLine;
    bool m_loaded = false;
    const LimitsBlock m_limits;
    std::vector<PlacedErratum> m_errata;
    PositionHistory m_history;
};

} // namespace parchly

#endif

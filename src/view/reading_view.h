// The reading view of one document: the document's text shown as the file
// holds it, then composed in place (formats by category, headers and
// footers cut out and put back, page separators), and the reader's input.
// It observes its document: it shows the text when the document is loaded,
// cuts what the document is asked to cut and moves where the document is
// asked to move; it tells the document where the caret is. The parts with
// a job of their own are classes it owns: finding, zoom, cutting, the
// errata markers, the history, the links and the RFC index.
#ifndef PARCHLY_VIEW_READING_VIEW_H
#define PARCHLY_VIEW_READING_VIEW_H

#include "platform/text_view.h"
#include "view/command_target.h"
#include "view/errata_markers.h"
#include "view/index_reading.h"
#include "view/link_follower.h"
#include "view/reading_history.h"
#include "view/text_cutter.h"
#include "view/text_finder.h"
#include "view/text_zoom.h"

namespace parchly {

class RfcDocument;
class ViewContextMenu;
class ViewHost;
struct DocumentPlace;

class ReadingView : public TextView, public CommandTarget {
    Q_OBJECT
public:
    ReadingView(RfcDocument* document, ViewHost* host, QWidget* parent = nullptr);
    ~ReadingView() override;

    RfcDocument* rfcDocument() const { return m_document; }
    ViewHost* host() const { return m_host; }

    // Runs once when the view is first shown: has the document load its
    // file (the view shows it when the document announces it) and adds the
    // view's tab to the main frame's document tabs.
    void loadDocument();
    // The document's text shown afresh, composed and cut as the settings
    // say: after loading and whenever cut lines come back.
    void showText();
    // After the program moved the caret: the Navigator, the index entry and
    // the position pane follow it.
    void caretMoved();

    // "Ln %d, Col %d" of the caret into the position pane, both counted
    // from 1, the line being the file's line whatever is hidden.
    void updatePositionStatus();
    // The caret: the file line (0-based, whatever is hidden) of the
    // selection's end and its offset in the shown line. Stored positions
    // (bookmarks) keep this form.
    void caretLineColumn(int& line, int& column) const;
    // Puts the caret on file line `line` (0-based) at `column`, or at the
    // line's end when the line is shorter, in the upper third of the view;
    // nothing when there is no such line.
    void setCaretLineColumn(int line, int column);

    // The positions recorded, Back and Forward.
    ReadingHistory& positions() { return m_positions; }
    const PositionHistory& history() const;
    // Following links, as the pointer and Enter do.
    LinkFollower& links() { return m_links; }
    // The RFC index: making the entry of shown line `line` (-1: the
    // caret's) current.
    void updateCurrentIndexEntry(int line);
    // Find and Find Next: through the find bar given to the finder, else
    // (a view outside a document window) through the Find dialog.
    TextFinder& finder() { return m_finder; }
    // The zoom of the text, kept by the host for the program.
    TextZoom& zoom() { return m_zoom; }

    // Copy, Select All, Find, Find Next, Go To, Go Back and Forward, Print
    // and Print Preview.
    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

protected:
    // The pointer and the keys (view_input.cpp).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // What Copy puts on the clipboard (view_copy.cpp).
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Shows the place the document was asked to move to.
    void moveTo(const DocumentPlace& place);

    RfcDocument* m_document;
    ViewHost* m_host;
    bool m_initialised = false;
    TextFinder m_finder;
    TextZoom m_zoom;
    ViewContextMenu* m_contextMenu = nullptr;
    ErrataMarkers m_errataMarkers;
    TextCutter m_cutter;
    ReadingHistory m_positions;
    // Where the reader was while the document is composed afresh.
    HistoryEntry m_placeBeforeRecomposing;
    IndexReading m_index;
    LinkFollower m_links;
};

} // namespace parchly

#endif

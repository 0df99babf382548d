// The reading view of one document: the document's text shown as the file
// holds it, then composed in place (formats by category, headers and
// footers cut out and put back, page separators). It observes its document:
// it shows the text when the document is loaded and moves where the
// document is asked to move; it tells the document where the caret is.
#ifndef PARCHLY_VIEW_READING_VIEW_H
#define PARCHLY_VIEW_READING_VIEW_H

#include "view/command_target.h"
#include "platform/text_view.h"
#include "view/errata_markers.h"
#include "view/reading_history.h"
#include "view/text_cutter.h"
#include "view/text_finder.h"
#include "view/text_zoom.h"

#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QMenu;

namespace parchly {

class RfcDocument;
class RfcIndexView;
class ViewContextMenu;
class ViewHost;
struct DocumentPlace;
struct ReadingSession;
struct LineCuts;
struct LineRange;
struct ComposedFormats;
struct SeparatorPlace;
struct RfcText;
struct RfcSettings;

class ReadingView : public TextView, public CommandTarget {
    Q_OBJECT
public:
    ReadingView(RfcDocument* document, ViewHost* host, QWidget* parent = nullptr);
    ~ReadingView() override;

    RfcDocument* rfcDocument() const { return m_document; }
    bool isLoaded() const { return m_initialised; }
    ReadingSession& session() const;

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

    // Puts the document's composition on the text shown afresh.
    void formatRfcText();

    // "Ln %d, Col %d" of the caret into the position pane, both counted
    // from 1, the line being the file's line whatever is hidden.
    void updatePositionStatus();

    // The caret: the file line (0-based, whatever is hidden) of the
    // selection's end and its offset in the shown line. Stored positions
    // (bookmarks) keep this form.
    void caretLineColumn(int& line, int& column) const;

    // The character column in shown line `shownLine` of byte column
    // `byteColumn` of the file line shown there.
    int charColumn(int shownLine, int byteColumn) const;

    // Links and pointer (view_input.cpp): the hand over links, following
    // the link under a point, and the common end of every jump (scroll
    // `line` to the top, caret at its start, position recorded).
    void updateLinkCursor(const QPoint& point);
    void followLinkAt(const QPoint& point);
    void jumpToShownLine(int line);
    // Opens RFC `number` (at the heading of `section` when not empty) as a
    // link does, its view's history leading back here.
    void followToRfc(int number, const std::string& section = std::string());
    // The context menu, shown at `globalPosition` without waiting.
    void showContextMenu(const QPoint& globalPosition);
    QMenu* contextMenu() const;
    ViewHost* host() const { return m_host; }

    // The positions recorded, Back and Forward.
    ReadingHistory& positions() { return m_positions; }
    const PositionHistory& history() const;
    // Puts the caret on file line `line` (0-based) at `column`, or at the
    // line's end when the line is shorter, in the upper third of the view;
    // nothing when there is no such line.
    void setCaretLineColumn(int line, int column);

    // The RFC index (view_index.cpp): making the entry of shown line `line`
    // (-1: the caret's) current.
    void updateCurrentIndexEntry(int line);
    RfcIndexView* indexView() const { return m_index.get(); }

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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    RfcText& rfc() const;
    const LineCuts& cuts() const;
    const RfcSettings& settings() const;
    // Shows the place the document was asked to move to.
    void moveTo(const DocumentPlace& place);
    void applyComposedFormats(const ComposedFormats& composed);
    void followIndexLink(const QPoint& point);
    void openIndexRfc(int number);
    // The caret's line to the document, which has the Navigator follow it.
    void announceCaretLine();

    RfcDocument* m_document;
    ViewHost* m_host;
    bool m_initialised = false;
    std::unique_ptr<RfcIndexView> m_index;
    TextFinder m_finder;
    TextZoom m_zoom;
    ViewContextMenu* m_contextMenu = nullptr;
    QString m_linkStatus; // where the link under the pointer leads, as told
    ErrataMarkers m_errataMarkers;
    TextCutter m_cutter;
    ReadingHistory m_positions;
};

} // namespace parchly

#endif

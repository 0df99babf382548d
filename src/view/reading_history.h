// The reader's way through the documents: the positions a reading view
// records in its document's history, and Back and Forward, which restore
// them, across windows where a link led from one document to another.
#ifndef PARCHLY_VIEW_READING_HISTORY_H
#define PARCHLY_VIEW_READING_HISTORY_H

#include "view/history.h"

namespace parchly {

class ReadingView;
class RfcDocument;
class ViewHost;

class ReadingHistory {
public:
    ReadingHistory(ReadingView& view, RfcDocument& document, ViewHost& host);

    // The selection and the line at the top, in the file's lines.
    HistoryEntry current() const;
    // Records the current position in the document's history.
    void record();
    // Puts the selection of `entry` back, in this view or, for an entry of
    // another document, in that document's window brought forward.
    void restore(const HistoryEntry& entry);
    void goBack();
    void goForward();

private:
    ReadingView& m_view;
    RfcDocument& m_document;
    ViewHost& m_host;
};

} // namespace parchly

#endif

// The RFC index in a reading view: its entries formatted in the text, the
// current entry following the caret (and the status bar saying what the
// errata database holds of its RFC), and an entry's links followed.
#ifndef PARCHLY_VIEW_INDEX_READING_H
#define PARCHLY_VIEW_INDEX_READING_H

#include <memory>

class QPoint;

namespace parchly {

class RfcDocument;
class RfcIndexView;
class TextView;
class ViewHost;

class IndexReading {
public:
    IndexReading(TextView& view, RfcDocument& document, ViewHost& host);
    ~IndexReading();

    // Formats the document's index in the text shown afresh.
    void show();
    // Makes the entry of shown line `line` (-1: the caret's) current;
    // nothing while no index is shown.
    void updateCurrentEntry(int line);
    // Whether `point` is on an entry's title or on an RFC number.
    bool isLinkAt(const QPoint& point) const;
    // Follows the link at `point`: a title opens its RFC; a number opens
    // it too, or, as the settings may say, goes to its entry. True when it
    // went to an entry, which the caller records.
    bool followLinkAt(const QPoint& point);

private:
    void openRfc(int number);

    TextView& m_view;
    RfcDocument& m_document;
    ViewHost& m_host;
    std::unique_ptr<RfcIndexView> m_index;
};

} // namespace parchly

#endif

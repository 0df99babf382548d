// The links of a reading view under the pointer: the hand over a link and
// where it leads (a tooltip and the status bar), an erratum's marker told
// off a link, and following a link: to a web page, a place in the text, or
// another RFC, whose window leads back here.
#ifndef PARCHLY_VIEW_LINK_FOLLOWER_H
#define PARCHLY_VIEW_LINK_FOLLOWER_H

#include <QString>
#include <string>

class QPoint;

namespace parchly {

class ErrataMarkers;
class IndexReading;
class ReadingView;
class RfcDocument;
class ViewHost;

class LinkFollower {
public:
    LinkFollower(ReadingView& view, RfcDocument& document, ViewHost& host, ErrataMarkers& markers,
                 IndexReading& index);

    // The pointer is at `point` (viewport coordinates).
    void pointAt(const QPoint& point);
    // Follows the link under `point`, if any.
    void followAt(const QPoint& point);
    // Opens RFC `number` (at the heading of `section` when not empty) as a
    // link does, its view's history leading back here.
    void followToRfc(int number, const std::string& section = std::string());

private:
    ReadingView& m_view;
    RfcDocument& m_document;
    ViewHost& m_host;
    ErrataMarkers& m_markers;
    IndexReading& m_index;
    QString m_status; // where the link under the pointer leads, as told
};

} // namespace parchly

#endif

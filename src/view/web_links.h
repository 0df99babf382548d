// Web addresses written in an RFC's text ("http://", "https://", "ftp://",
// "mailto:"), found in one shown line so that the reader can follow them in
// the desktop's browser.
#ifndef PARCHLY_VIEW_WEB_LINKS_H
#define PARCHLY_VIEW_WEB_LINKS_H

#include <QString>
#include <vector>

namespace parchly {

struct WebLink {
    int start = 0; // character offsets in the line, the end past the last
    int end = 0;
    QString url;
};

// The addresses of `line`, in order. An address ends before a blank, a
// quote or an angle bracket, and gives up the punctuation that ends its
// sentence (".", ",", ";", ":", "!", "?") and a closing bracket it does not
// open itself: "(see <https://example.org/a>)." gives "https://example.org/a".
std::vector<WebLink> webLinksIn(const QString& line);

} // namespace parchly

#endif

// Web addresses as RFCs write them in running text, in angle brackets, at
// the end of a sentence and in parentheses.
#include "view/web_links.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace parchly {
namespace {

struct WebLinkCase {
    const char* line;
    QStringList urls;
};

const WebLinkCase kWebLinkCases[] = {
    {"   Read https://www.rfc-editor.org/info/rfc9110 or DOI", {"https://www.rfc-editor.org/info/rfc9110"}},
    {"   URI:   <https://www.iana.org/assignments/tls-parameters>",
     {"https://www.iana.org/assignments/tls-parameters"}},
    {"   available at http://example.com/a.html.", {"http://example.com/a.html"}},
    {"   (see ftp://ftp.example.net/pub/rfc/), or", {"ftp://ftp.example.net/pub/rfc/"}},
    {"   http://en.wikipedia.org/wiki/Foo_(bar) explains", {"http://en.wikipedia.org/wiki/Foo_(bar)"}},
    {"   EMail: mailto:someone@example.org; and \"http://a.example/x\"",
     {"mailto:someone@example.org", "http://a.example/x"}},
    {"   HTTP://EXAMPLE.ORG/ in capitals", {"HTTP://EXAMPLE.ORG/"}},
    {"   the scheme http:// alone, mailto: with no one, xhttp://not", {}},
    {"   no address here, only RFC 9110", {}},
};

TEST(WebLinks, EachAddressIsFoundWithoutTheTextAroundIt)
{
    for (const WebLinkCase& c : kWebLinkCases) {
        QStringList found;
        for (const WebLink& link : webLinksIn(QString::fromLatin1(c.line)))
            found << link.url;
        EXPECT_EQ(found, c.urls) << c.line;
    }
}

TEST(WebLinks, AnAddressSpansItsOwnCharacters)
{
    const QString line = QStringLiteral("see <https://a.example/b>.");
    const std::vector<WebLink> links = webLinksIn(line);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(line.mid(links[0].start, links[0].end - links[0].start), links[0].url);
    EXPECT_EQ(links[0].start, 5);
}

} // namespace
} // namespace parchly

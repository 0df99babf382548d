// Web addresses as RFCs write them in running text, in angle brackets, at
// the end of a sentence and in parentheses.
#include "view/web_links.h"

#include "support/fixture_cases.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(WebLinks, EachAddressIsFoundWithoutTheTextAroundIt)
{
    for (const test::FixtureCase& c : test::readFixtureCases("view/web-links.txt")) {
        SCOPED_TRACE(c.title);
        std::vector<std::string> found;
        for (const WebLink& link : webLinksIn(QString::fromStdString(c["line"])))
            found.push_back(link.url.toStdString());
        EXPECT_EQ(found, c.items("urls"));
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

#include "update/new_rfcs.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/stat.h>
#include <unordered_map>

#include "download/fetch_files.h"
#include "settings/download_addresses.h"
#include "update/https_update.h"

namespace parchly {

namespace {

constexpr int64_t kDaySeconds = 24 * 60 * 60;

int32_t numberIn(const QString& text, const QRegularExpression& pattern)
{
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool exists(const std::string& path)
{
    struct stat status { };
    return ::lstat(path.c_str(), &status) == 0;
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

FeedReading readNewRfcFeed(const std::string& xml)
{
    static const QRegularExpression linkNumber(QStringLiteral("/rfc(\\d{1,5})(?:\\.txt|\\.html)?/?$"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression titleNumber(QStringLiteral("^\\s*RFC\\s*(\\d{1,5})\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression titlePrefix(QStringLiteral("^\\s*RFC\\s*\\d{1,5}\\s*[:\\-]?\\s*"),
                                                QRegularExpression::CaseInsensitiveOption);
    FeedReading reading;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    bool isFeed = false;
    bool inItem = false;
    QString title;
    QString link;
    const auto endItem = [&] {
        int32_t number = numberIn(link.trimmed(), linkNumber);
        if (number == 0)
            number = numberIn(title, titleNumber);
        if (number > 0) {
            QString shown = title.trimmed();
            shown.remove(titlePrefix);
            reading.items.push_back({number, shown.toStdString()});
        }
    };
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringView name = reader.name();
        if (reader.isStartElement()) {
            if (name == QLatin1String("rss") || name == QLatin1String("feed") || name == QLatin1String("RDF"))
                isFeed = true;
            else if (name == QLatin1String("item") || name == QLatin1String("entry")) {
                inItem = true;
                title.clear();
                link.clear();
            } else if (inItem && name == QLatin1String("title")) {
                title = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (inItem && name == QLatin1String("link")) {
                // Atom names the address in href, RSS in the element's text.
                const QString href = reader.attributes().value(QLatin1String("href")).toString();
                const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                if (link.isEmpty())
                    link = href.isEmpty() ? text : href;
            }
        } else if (reader.isEndElement() && inItem
                   && (name == QLatin1String("item") || name == QLatin1String("entry"))) {
            inItem = false;
            endItem();
        }
    }
    if (reader.hasError()) {
        reading.items.clear();
        reading.error = "is not XML (line " + std::to_string(reader.lineNumber()) + ": "
            + reader.errorString().toStdString() + ")";
    } else if (!isFeed) {
        reading.error = "is no RSS or Atom feed";
    }
    return reading;
}

NewRfcs checkForNewRfcs(const NewRfcsOptions& options, const std::atomic<bool>& cancel)
{
    NewRfcs result;
    const std::string indexPath = options.folder + "/rfc-index.txt";
    const std::vector<ListedRfc> oldListing = readIndexListing(indexPath).value_or(std::vector<ListedRfc>());
    std::unordered_map<int32_t, const ListedRfc*> known;
    for (const ListedRfc& listed : oldListing)
        known[listed.number] = &listed;

    QTemporaryDir scratch;
    const std::string feedPath = scratch.path().toStdString() + "/feed.xml";
    FetchOptions fetch;
    fetch.caFile = options.caFile;
    const std::vector<FetchResult> fetched = options.feedUrl.empty() || !scratch.isValid()
        ? std::vector<FetchResult>(1)
        : fetchFiles({{options.feedUrl, feedPath}}, fetch, cancel, {});
    if (cancel)
        return result;
    FeedReading feed;
    if (fetched[0].arrived)
        feed = readNewRfcFeed(readWhole(feedPath));
    if (fetched[0].arrived && feed.error.empty()) {
        result.source = "feed";
        std::set<int32_t> seen;
        for (const FeedItem& item : feed.items) {
            if (!seen.insert(item.number).second || exists(options.folder + "/" + rfcFileName(item.number)))
                continue;
            ListedRfc rfc;
            rfc.number = item.number;
            rfc.title = item.title;
            rfc.hasText = true;
            if (const auto entry = known.find(item.number); entry != known.end()) {
                rfc.title = entry->second->title;
                rfc.status = entry->second->status;
            }
            result.rfcs.push_back(std::move(rfc));
        }
        return result;
    }
    result.notes.push_back("The feed of new RFCs at " + options.feedUrl + " "
                           + (fetched[0].arrived ? feed.error : "could not be read: " + fetched[0].error)
                           + "; comparing a fresh index with the folder instead.");

    HttpsOptions https;
    https.indexUrl = options.indexUrl;
    https.folder = options.folder;
    https.caFile = options.caFile;
    result.problem = fetchIndex(https, cancel);
    if (!result.problem.empty() || cancel)
        return result;
    result.source = "index";
    for (const ListedRfc& listed : readIndexListing(indexPath).value_or(std::vector<ListedRfc>())) {
        // New: listed as text now, not listed before (when there was an
        // index), and not in the folder.
        if (listed.hasText && (oldListing.empty() || known.count(listed.number) == 0)
            && !exists(options.folder + "/" + rfcFileName(listed.number)))
            result.rfcs.push_back(listed);
    }
    return result;
}

bool newRfcCheckDue(NewRfcCheck setting, int64_t lastCheck, int64_t now)
{
    switch (setting) {
    case NewRfcCheck::Never:
        return false;
    case NewRfcCheck::Daily:
        return lastCheck <= 0 || now - lastCheck >= kDaySeconds || now < lastCheck;
    case NewRfcCheck::Weekly:
        return lastCheck <= 0 || now - lastCheck >= 7 * kDaySeconds || now < lastCheck;
    }
    return false;
}

std::string newRfcsText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " new RFC" : " new RFCs");
}

} // namespace parchly

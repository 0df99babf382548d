// What is new since the last look: the RFC Editor's feed of new RFCs, or,
// when the feed cannot be read, a fresh index compared with the folder.
// Nothing here runs unless the reader asked or switched the check on.
#ifndef PARCHLY_UPDATE_NEW_RFCS_H
#define PARCHLY_UPDATE_NEW_RFCS_H

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "update/index_listing.h"

namespace parchly {

struct FeedItem {
    int32_t number = 0;
    std::string title; // "RFC 9999: Title" as the feed gives it, less "RFC 9999: "
};

struct FeedReading {
    std::vector<FeedItem> items;
    // Why the text is no feed (not XML, or no RSS or Atom); empty when it is.
    std::string error;
};

// The RFCs an RSS or Atom feed announces, read from each item's link
// (".../rfc9999" or ".../rfc9999.txt") or else its title ("RFC 9999: ...").
FeedReading readNewRfcFeed(const std::string& xml);

struct NewRfcsOptions {
    std::string feedUrl;
    std::string indexUrl;
    std::string folder;
    std::string caFile;
};

struct NewRfcs {
    // The RFCs announced that the folder lacks, with the index's title and
    // status where the index knows them.
    std::vector<ListedRfc> rfcs;
    // "feed" or "index": where the news came from.
    std::string source;
    // Why the check found nothing to go on; empty when it could look.
    std::string problem;
    std::vector<std::string> notes;
};

// Reads the feed, falling back to a fresh index (which replaces the local
// one when it is whole) compared with the folder and the index it replaced.
NewRfcs checkForNewRfcs(const NewRfcsOptions& options, const std::atomic<bool>& cancel);

// True when a check at start-up is due under `setting`, the last check
// having been at `lastCheck` (0: never) and the time being `now` (seconds
// since 1970).
bool newRfcCheckDue(NewRfcCheck setting, int64_t lastCheck, int64_t now);

// "7 new RFCs", "1 new RFC".
std::string newRfcsText(std::size_t count);

} // namespace parchly

#endif

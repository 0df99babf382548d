// Update RFC Collection: brings the local folder level with the RFC Editor
// the way the collection address says. An rsync:// module goes through
// rsync, and over HTTPS when rsync is missing or the server cannot be
// reached; a .zip or .tar.gz archive is downloaded and unpacked; any other
// web address is read as the HTTPS path alone. Runs on the calling thread;
// the Download dialog runs it on a worker, the command line on its own.
#ifndef PARCHLY_UPDATE_COLLECTION_UPDATE_H
#define PARCHLY_UPDATE_COLLECTION_UPDATE_H

#include <atomic>
#include <optional>
#include <string>

#include "update/update_progress.h"
#include "update/update_summary.h"

namespace parchly {

struct RfcSettings;

struct UpdateOptions {
    std::string source; // the collection address
    std::string indexUrl;
    std::string rfcFolderUrl;
    std::string folder; // the local RFC folder
    std::string errataUrl; // the errata database, fetched last; empty for none
    std::string caFile; // extra trusted authorities for https
    std::string rsyncProgram = "rsync";
    int connectTimeoutSeconds = 15;
    int maxConnections = 6;
    bool keepArchive = false;
};

// The options the settings give, for the folder `folder`.
UpdateOptions updateOptionsFrom(const RfcSettings& settings);

enum class CollectionSource { Rsync, Archive, Web };

// How `source` is fetched; none for an address none of the ways takes.
std::optional<CollectionSource> collectionSourceOf(const std::string& source);

UpdateSummary updateCollection(const UpdateOptions& options, const std::atomic<bool>& cancel,
                               const UpdateProgressSink& progress);

} // namespace parchly

#endif

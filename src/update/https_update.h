// Bringing the folder level over HTTPS when rsync cannot serve: the index
// first, then every RFC it lists as text that the folder lacks, several at
// once. A second run fetches only what is still missing.
#ifndef PARCHLY_UPDATE_HTTPS_UPDATE_H
#define PARCHLY_UPDATE_HTTPS_UPDATE_H

#include <atomic>
#include <string>
#include <vector>

#include "download/fetch_files.h"
#include "update/update_progress.h"
#include "update/update_summary.h"

namespace parchly {

struct HttpsOptions {
    std::string indexUrl;
    std::string rfcFolderUrl; // RFC n is this folder followed by "rfcn.txt"
    std::string folder; // the local RFC folder, without a trailing "/"
    std::string caFile;
    int maxConnections = 6;
    int connectTimeoutSeconds = 15;
};

struct HttpsOutcome {
    // Why nothing past the index was fetched; empty when the index arrived.
    std::string problem;
    std::vector<UpdateFailure> failures;
    bool cancelled = false;
};

struct RfcSettings;

// The index and single-RFC addresses and the folder the settings give.
HttpsOptions httpsOptionsFrom(const RfcSettings& settings);

// How the transfers of `options` go: their authorities, connections and
// connect timeout.
FetchOptions fetchOptions(const HttpsOptions& options);

HttpsOutcome httpsUpdate(const HttpsOptions& options, const std::atomic<bool>& cancel,
                         const UpdateProgressSink& progress);

// Fetches the index at `indexUrl` into `folder`/rfc-index.txt, replacing the
// local one only when the fresh one is whole; the problem when it is not.
std::string fetchIndex(const HttpsOptions& options, const std::atomic<bool>& cancel);

// Fetches the RFCs `numbers` into the folder; the ones that failed.
std::vector<UpdateFailure> fetchRfcs(const HttpsOptions& options, const std::vector<int32_t>& numbers,
                                     const std::atomic<bool>& cancel, const UpdateProgressSink& progress);

} // namespace parchly

#endif

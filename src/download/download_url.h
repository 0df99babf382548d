// Turning download addresses into the parts the transfer uses.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_URL_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_URL_H

#include <cstdint>
#include <string>

#include "download/download_request.h"

namespace parchly {

struct UrlParts {
    ServiceKind service = ServiceKind::Other;
    std::string server;
    uint16_t port = 0;       // the written one, else the scheme's standard port
    std::string objectPath;  // path and query; "/" when the address has none
};

// Parses an absolute address; false when libcurl's parser refuses it.
bool ParseUrlParts(const std::string& url, UrlParts& parts);

// Resolves a redirect's target (absolute, or relative to `base`) to an
// absolute address; false when it cannot be parsed.
bool ResolveUrl(const std::string& base, const std::string& target, std::string& resolved);

// The address to fetch: scheme, server, port and path, without the user name
// or password the address may carry.
std::string TransferUrl(const UrlParts& parts);
std::string TransferUrl(const DownloadRequest& request);

} // namespace parchly

#endif

// Turning download addresses into the parts the transfer uses.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_URL_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_URL_H

#include <cstdint>
#include <optional>
#include <string>

#include "download/download_request.h"

namespace parchly {

struct UrlParts {
    ServiceKind service = ServiceKind::Other;
    std::string server;
    uint16_t port = 0; // the written one, else the scheme's standard port
    std::string objectPath; // path and query; "/" when the address has none

    bool operator==(const UrlParts& other) const;
};

// An absolute address parsed for fetching.
struct ParsedUrl {
    // None when libcurl's parser refuses the address, or when its host could
    // not be fetched as it is shown (see refusal).
    std::optional<UrlParts> parts;
    // Why an address that parses is refused: its host is written with a
    // percent sign, holds a character a host name cannot hold, or would
    // name another host once built into the transfer address. Empty
    // otherwise.
    std::string refusal;
};

// Parses an absolute address. Accepted parts of an ftp, http or https
// address satisfy parseUrlParts(transferUrl(parts)).parts == parts: the
// host shown is the host fetched.
ParsedUrl parseUrlParts(const std::string& url);

// The address to fetch: scheme, server, port and path, without the user name
// or password the address may carry.
std::string transferUrl(const UrlParts& parts);
std::string transferUrl(const DownloadRequest& request);

} // namespace parchly

#endif

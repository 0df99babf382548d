// The download address parser: the host shown is the host fetched, and the
// transfer address re-parses to the same parts.
#include "download/download_url.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace parchly;

bool holdsOnlyHostNameCharacters(const std::string& host)
{
    for (char c : host) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '-' || c == '.' || c == '[' || c == ']' || c == ':';
        if (!allowed)
            return false;
    }
    return !host.empty();
}

void checkFetchedAsShown(const UrlParts& shown)
{
    PARCHLY_CHECK(holdsOnlyHostNameCharacters(shown.server),
                  "an accepted host holds host name characters only");
    if (shown.service == ServiceKind::Other)
        return;
    const ParsedUrl fetched = parseUrlParts(transferUrl(shown));
    PARCHLY_CHECK(fetched.parts.has_value(), "the transfer address parses");
    PARCHLY_CHECK(fetched.parts->server == shown.server, "the host fetched is the host shown");
    PARCHLY_CHECK(*fetched.parts == shown, "the transfer address re-parses to the same parts");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    // Addresses reach the parser as C strings.
    std::string url(reinterpret_cast<const char*>(data), size);
    url = url.c_str();

    const ParsedUrl parsed = parseUrlParts(url);
    PARCHLY_CHECK(!(parsed.parts && !parsed.refusal.empty()), "an address is either accepted or refused");
    if (parsed.parts)
        checkFetchedAsShown(*parsed.parts);

    DownloadRequest request;
    request.url = url;
    if (parseDownloadUrl(request)) {
        UrlParts shown;
        shown.service = request.serviceType;
        shown.server = request.server;
        shown.port = request.port;
        shown.objectPath = request.objectPath;
        checkFetchedAsShown(shown);
    }
    return 0;
}

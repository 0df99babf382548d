#include "download/download_url.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace parchly {

namespace {

struct UrlHandleDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlHandleDeleter>;

struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

// One part of a parsed address; empty when the address has none.
std::string urlPart(CURLU* handle, CURLUPart part, unsigned flags = 0)
{
    char* raw = nullptr;
    if (curl_url_get(handle, part, &raw, flags) != CURLUE_OK)
        return std::string();
    std::unique_ptr<char, CurlTextDeleter> text(raw);
    return text.get();
}

ServiceKind serviceOf(const std::string& scheme)
{
    if (scheme == "ftp")
        return ServiceKind::Ftp;
    if (scheme == "http")
        return ServiceKind::Http;
    if (scheme == "https")
        return ServiceKind::Https;
    return ServiceKind::Other;
}

const char* schemeOf(ServiceKind service)
{
    switch (service) {
    case ServiceKind::Ftp:
        return "ftp";
    case ServiceKind::Http:
        return "http";
    case ServiceKind::Https:
        return "https";
    case ServiceKind::Other:
        break;
    }
    return "";
}

// The parts of an address as libcurl's parser reads them.
std::optional<UrlParts> partsOf(const std::string& url)
{
    UrlHandle handle(curl_url());
    if (!handle
        || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return std::nullopt;
    const std::string host = urlPart(handle.get(), CURLUPART_HOST);
    const std::string port = urlPart(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (host.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long portNumber = port.empty() ? 0 : std::stoul(port);
    if (portNumber > 65535)
        return std::nullopt;
    UrlParts parts;
    parts.service = serviceOf(urlPart(handle.get(), CURLUPART_SCHEME));
    parts.server = host;
    parts.port = static_cast<uint16_t>(portNumber);
    parts.objectPath = urlPart(handle.get(), CURLUPART_PATH);
    if (parts.objectPath.empty())
        parts.objectPath = "/";
    const std::string query = urlPart(handle.get(), CURLUPART_QUERY);
    if (!query.empty())
        parts.objectPath += "?" + query;
    return parts;
}

bool isAsciiAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A name of letters, digits, "-" and ".", or an IPv6 address in brackets.
bool isHostName(const std::string& host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
    return std::all_of(host.begin(), host.end(),
                       [](char c) { return isAsciiAlphanumeric(c) || c == '-' || c == '.'; });
}

// The host and port of `url` as written: after "://" and any user
// information, up to the path, query or fragment.
std::string writtenHostAndPort(const std::string& url)
{
    const std::string::size_type scheme = url.find("://");
    const std::string::size_type begin = scheme == std::string::npos ? 0 : scheme + 3;
    const std::string::size_type end = std::min(url.find_first_of("/?#", begin), url.size());
    const std::string authority = url.substr(begin, end - begin);
    const std::string::size_type at = authority.rfind('@');
    return at == std::string::npos ? authority : authority.substr(at + 1);
}

std::string hostRefusal(const std::string& host, const char* why)
{
    return "The address's host \"" + host + "\" " + why + "; nothing was fetched.";
}

} // namespace

bool UrlParts::operator==(const UrlParts& other) const
{
    return service == other.service && server == other.server && port == other.port
        && objectPath == other.objectPath;
}

ParsedUrl parseUrlParts(const std::string& url)
{
    ParsedUrl parsed;
    std::optional<UrlParts> parts = partsOf(url);
    if (!parts)
        return parsed;
    // libcurl hands the host back percent-decoded: built into the transfer
    // address it would be decoded once more, or read as a number.
    const std::string written = writtenHostAndPort(url);
    if (written.find('%') != std::string::npos)
        parsed.refusal =
            hostRefusal(written, "is written with a percent sign, which a host name cannot hold");
    else if (!isHostName(parts->server))
        parsed.refusal = hostRefusal(parts->server, "holds a character a host name cannot hold");
    else if (parts->service != ServiceKind::Other && !(partsOf(transferUrl(*parts)) == parts))
        parsed.refusal = hostRefusal(parts->server, "would be fetched as another host name");
    else
        parsed.parts = std::move(parts);
    return parsed;
}

std::string transferUrl(const UrlParts& parts)
{
    return std::string(schemeOf(parts.service)) + "://" + parts.server + ":" + std::to_string(parts.port)
        + parts.objectPath;
}

std::string transferUrl(const DownloadRequest& request)
{
    UrlParts parts;
    parts.service = request.serviceType;
    parts.server = request.server;
    parts.port = request.port;
    parts.objectPath = request.objectPath;
    return transferUrl(parts);
}

std::string remoteFileName(const std::string& url)
{
    const std::string::size_type slash = url.rfind('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

std::string localFileName(const std::string& localName, const std::string& url)
{
    return localName.empty() ? remoteFileName(url) : localName;
}

bool parseDownloadUrl(DownloadRequest& request)
{
    ParsedUrl parsed;
    for (const char* prefix : {"", "ftp://", "http://"}) {
        parsed = parseUrlParts(prefix + request.url);
        if (parsed.parts || !parsed.refusal.empty())
            break;
    }
    if (!parsed.parts) {
        request.status.set(kStatusInvalidUrl);
        tellUser(request, parsed.refusal.empty() ? std::string(kInvalidUrlMessage) : parsed.refusal);
        return false;
    }
    request.serviceType = parsed.parts->service;
    request.server = parsed.parts->server;
    request.port = parsed.parts->port;
    request.objectPath = parsed.parts->objectPath;
    request.status.set(kStatusReady);
    return true;
}

} // namespace parchly

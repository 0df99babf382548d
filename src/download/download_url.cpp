#include "download/download_url.h"

#include <curl/curl.h>

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
    case ServiceKind::Ftp: return "ftp";
    case ServiceKind::Http: return "http";
    case ServiceKind::Https: return "https";
    case ServiceKind::Other: break;
    }
    return "";
}

bool parsePartsOf(CURLU* handle, UrlParts& parts)
{
    const std::string host = urlPart(handle, CURLUPART_HOST);
    const std::string port = urlPart(handle, CURLUPART_PORT, CURLU_DEFAULT_PORT);
    if (host.empty())
        return false;
    unsigned long portNumber = port.empty() ? 0 : std::stoul(port);
    if (portNumber > 65535)
        return false;
    parts.service = serviceOf(urlPart(handle, CURLUPART_SCHEME));
    parts.server = host;
    parts.port = static_cast<uint16_t>(portNumber);
    parts.objectPath = urlPart(handle, CURLUPART_PATH);
    if (parts.objectPath.empty())
        parts.objectPath = "/";
    const std::string query = urlPart(handle, CURLUPART_QUERY);
    if (!query.empty())
        parts.objectPath += "?" + query;
    return true;
}

} // namespace

bool ParseUrlParts(const std::string& url, UrlParts& parts)
{
    UrlHandle handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return false;
    return parsePartsOf(handle.get(), parts);
}

bool ResolveUrl(const std::string& base, const std::string& target, std::string& resolved)
{
    UrlHandle handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, base.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK
        || curl_url_set(handle.get(), CURLUPART_URL, target.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return false;
    resolved = urlPart(handle.get(), CURLUPART_URL);
    return !resolved.empty();
}

std::string TransferUrl(const UrlParts& parts)
{
    return std::string(schemeOf(parts.service)) + "://" + parts.server + ":" + std::to_string(parts.port)
           + parts.objectPath;
}

std::string TransferUrl(const DownloadRequest& request)
{
    UrlParts parts;
    parts.service = request.ServiceType;
    parts.server = request.Server;
    parts.port = request.Port;
    parts.objectPath = request.ObjectPath;
    return TransferUrl(parts);
}

std::string RemoteFileName(const std::string& url)
{
    const std::string::size_type slash = url.rfind('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

bool ParseDownloadUrl(DownloadRequest& request)
{
    UrlParts parts;
    const bool parsed = ParseUrlParts(request.Url, parts) || ParseUrlParts("ftp://" + request.Url, parts)
                        || ParseUrlParts("http://" + request.Url, parts);
    if (!parsed) {
        request.Status.set(kStatusInvalidUrl);
        TellUser(request, kInvalidUrlMessage);
        return false;
    }
    request.ServiceType = parts.service;
    request.Server = parts.server;
    request.Port = parts.port;
    request.ObjectPath = parts.objectPath;
    request.Status.set(kStatusReady);
    return true;
}

} // namespace parchly

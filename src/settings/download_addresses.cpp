#include "settings/download_addresses.h"

#include "settings/profile.h"
#include "settings/settings.h"

namespace parchly {

namespace {

// The hosts and schemes older versions and their predecessors wrote; the
// paths are the ones every one of them used.
const char* const kOldHosts[] = {
    "https://www.rfc-editor.org", "http://www.rfc-editor.org", "ftp://ftp.rfc-editor.org",
    "ftp://www.rfc-editor.org",   "https://rfc-editor.org",    "http://rfc-editor.org",
};
const char* const kOldCollectionPaths[] = {"/in-notes/tar/RFC-all.zip", "/in-notes/tar/RFC-all.tar.gz"};
const char* const kOldIndexPath = "/in-notes/rfc-index.txt";

bool isOneOf(const std::string& address, const char* path)
{
    for (const char* host : kOldHosts) {
        if (address == std::string(host) + path)
            return true;
    }
    return false;
}

} // namespace

bool isOldDefaultCollectionUrl(const std::string& address)
{
    for (const char* path : kOldCollectionPaths) {
        if (isOneOf(address, path))
            return true;
    }
    return false;
}

bool isOldDefaultIndexUrl(const std::string& address)
{
    return isOneOf(address, kOldIndexPath);
}

bool migrateOldDefaultAddresses(RfcSettings& settings, Profile& profile)
{
    bool replaced = false;
    const auto migrate = [&](std::string& address, bool (*isOld)(const std::string&), const char* key,
                             const char* today) {
        if (!isOld(address))
            return;
        address = today;
        profile.writeString("settings", key, address);
        replaced = true;
    };
    migrate(settings.RfcDownloadUrl, isOldDefaultCollectionUrl, "RfcDownloadUrl", kDefaultCollectionUrl);
    migrate(settings.RfcIndexDownloadUrl, isOldDefaultIndexUrl, "RfcIndexDownloadUrl", kDefaultIndexUrl);
    return replaced;
}

std::string rfcFileName(int32_t number)
{
    return "rfc" + std::to_string(number) + ".txt";
}

std::string singleRfcUrl(const std::string& folderUrl, int32_t number)
{
    // No address, no server: an empty setting never names "/rfcN.txt".
    if (number < 1 || folderUrl.empty())
        return std::string();
    std::string url = folderUrl;
    if (url.back() != '/')
        url += '/';
    return url + rfcFileName(number);
}

} // namespace parchly

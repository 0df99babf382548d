// Where the RFC Editor serves the collection, the index, single RFCs, the
// feed of new RFCs and the errata, the addresses older versions wrote as
// defaults, and the single-RFC address built from a folder address and a
// number.
#ifndef PARCHLY_SETTINGS_DOWNLOAD_ADDRESSES_H
#define PARCHLY_SETTINGS_DOWNLOAD_ADDRESSES_H

#include <cstdint>
#include <string>

namespace parchly {

class Profile;
struct RfcSettings;

// The text-only rsync module: the text files of in-notes/ and of its bcp/,
// fyi/, ien/ and std/ folders.
inline constexpr const char* kDefaultCollectionUrl = "rsync://rsync.rfc-editor.org/rfcs-text-only/";
inline constexpr const char* kDefaultIndexUrl = "https://www.rfc-editor.org/rfc-index.txt";
// One RFC is this folder followed by "rfcNNNN.txt".
inline constexpr const char* kDefaultRfcFolderUrl = "https://www.rfc-editor.org/rfc/";
inline constexpr const char* kDefaultNewRfcFeedUrl = "https://www.rfc-editor.org/rfcrss.xml";
// The whole errata database, one JSON array.
inline constexpr const char* kDefaultErrataUrl = "https://www.rfc-editor.org/errata.json";

// True when `address` is one that an older version wrote as the default
// collection (or index) address. The RFC Editor withdrew the bundles of
// in-notes/tar/ in 2026 and moved the index out of in-notes/.
bool isOldDefaultCollectionUrl(const std::string& address);
bool isOldDefaultIndexUrl(const std::string& address);

// Replaces an old default collection or index address, in the record and in
// the file, by today's default; an address the user typed stays. True when
// anything was replaced.
bool migrateOldDefaultAddresses(RfcSettings& settings, Profile& profile);

// The address of RFC `number`: `folderUrl` (a "/" added when it lacks one)
// followed by "rfcNNNN.txt"; empty for a number below 1.
std::string singleRfcUrl(const std::string& folderUrl, int32_t number);

// "rfcNNNN.txt", the local name of RFC `number`.
std::string rfcFileName(int32_t number);

} // namespace parchly

#endif

// Reads the RFC Editor's errata database (errata.json: an array of
// records, one per erratum) into Erratum records. Tolerant of what a
// download or a hand edit can do to the file: a record with keys missing or
// with numbers where strings belong is read as far as it goes; a file cut
// short keeps the records before the cut; a file that is not JSON, holds no
// records or is far too large is refused with a message saying why.
#ifndef PARCHLY_ERRATA_ERRATA_FILE_H
#define PARCHLY_ERRATA_ERRATA_FILE_H

#include "analysis/erratum.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

// The whole database is some 20 MB; a file ten times that is not one.
constexpr std::uint64_t kLargestErrataFile = 128ull * 1024 * 1024;

struct ErrataLoad {
    std::vector<Erratum> errata;
    // Empty when the whole file was read; else what went wrong, in words
    // for the user ("errata.json ends early at byte 1234 ...").
    std::string error;
    // Entries of the array that are no errata: not objects, or with
    // neither an id nor an RFC.
    std::size_t skipped = 0;
    // True when the file was read to its end.
    bool complete() const { return error.empty(); }
};

// Reads the text of an errata file; `name` names it in the messages.
ErrataLoad parseErrata(std::string_view json, const std::string& name = "errata.json");

// Reads an errata file; refuses one larger than `largest` bytes unread.
ErrataLoad readErrataFile(const std::string& path, std::uint64_t largest = kLargestErrataFile);

// The RFC number of a "doc-id" ("RFC4954", "RFC 4954", "rfc0791"); 0 when
// it names no RFC.
int32_t rfcNumberOfDocId(std::string_view docId);

} // namespace parchly

#endif

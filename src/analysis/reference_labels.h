// The labels of an RFC's references, looked up by their text. A text cites
// its references by the hundred, so that a lookup is one hash and mostly
// one comparison of two words rather than a search of the sorted labels;
// and many bracketed texts name no reference, so that a lookup of a size
// that no label has fails before the hash.
#ifndef PARCHLY_ANALYSIS_REFERENCE_LABELS_H
#define PARCHLY_ANALYSIS_REFERENCE_LABELS_H

#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace parchly {

class ReferenceLabels {
public:
    // Views of the references' labels: valid while `references` is
    // unchanged. Of equal labels, the first reference is the one found.
    explicit ReferenceLabels(const std::vector<ReferenceEntry>& references);

    // The index of the reference whose label's brackets hold `inside`
    // ("RFC2119" for "[RFC2119]"), or -1: a citation is read between its
    // brackets, and a label without brackets is never found. Where no label
    // is `inside` exactly, the one label that differs from it only in ASCII
    // case is taken (RFC 3339 cites "[Zeller]" of "[ZELLER]"); where two
    // labels do so, neither is. An RFC's number is cited as its label
    // prints it or spelled otherwise: "[RFC 2119]" and "[RFC-2119]" cite
    // "[RFC2119]", and "[RFC2119]" cites "[RFC 2119]" or "[RFC-2119]".
    int32_t find(std::string_view inside) const;

private:
    // A label as it is compared: its first eight bytes and its last eight
    // (the bytes of a shorter one, zeros after them), which hold all of a
    // label up to sixteen bytes, and its size.
    struct Key {
        uint64_t first = 0;
        uint64_t last = 0;
        std::size_t size = 0;
    };
    // Open addressing; a free slot has no reference.
    struct Slot {
        Key key;
        const char* bytes = nullptr;
        int32_t reference = -1;
    };

    // find(), an RFC's number looked for spelled otherwise only with
    // `respell`.
    int32_t findAsPrinted(std::string_view inside, bool respell) const;
    // The reference labelled by the RFC number of `inside` ("RFC 2119")
    // spelled another way, or -1.
    int32_t findRfcSpelledOtherwise(std::string_view inside) const;
    static Key keyOf(std::string_view label);
    std::size_t slotOf(const Key& key, const char* bytes) const;
    // The bit of m_foldedKeys for a label, ASCII case aside.
    static std::size_t foldedBitOf(const Key& key);
    int32_t findIgnoringCase(std::string_view inside) const;

    // The first reference labelled "[]": the table keeps no empty key.
    int32_t m_emptyInside = -1;
    // Bit n set where a label of n bytes is kept (bit 63 for any of 63 or
    // more).
    uint64_t m_sizes = 0;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    // A label differing in case from every citation is rare: a lookup that
    // found no label searches the labels with case folded only where the
    // bit of its folded key is set here, one for every label's.
    uint64_t m_foldedKeys[16] = {};
    const std::vector<ReferenceEntry>* m_references = nullptr;
};

} // namespace parchly

#endif

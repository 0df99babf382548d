// The labels of an RFC's references, looked up by their text. A text cites
// its references by the hundred, so that a lookup is one hash and mostly
// one comparison rather than a search of the sorted labels.
#ifndef PARCHLY_ANALYSIS_REFERENCE_LABELS_H
#define PARCHLY_ANALYSIS_REFERENCE_LABELS_H

#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace parchly {

// What a label is looked up by: the whole label ("[RFC2119]"), or what its
// brackets hold ("RFC2119"; a label without brackets is then left out), as
// the link pass reads it between a citation's brackets.
enum class LabelKey : uint8_t { Whole, InsideBrackets };

class ReferenceLabels {
public:
    // Views of the references' labels: valid while `references` is
    // unchanged. Of equal labels, the first reference is the one found.
    explicit ReferenceLabels(const std::vector<ReferenceEntry>& references, LabelKey key = LabelKey::Whole);

    // The index of the reference labelled `label` ("[RFC2119]", or
    // "RFC2119" by LabelKey::InsideBrackets), or -1.
    int32_t find(std::string_view label) const;

private:
    std::size_t slotOf(std::string_view label) const;

    // The first reference labelled "[]", by LabelKey::InsideBrackets: the
    // table keeps no empty key.
    int32_t m_emptyInside = -1;

    // Open addressing, an empty label marking a free slot: a label is
    // never empty.
    std::vector<std::pair<std::string_view, int32_t>> m_slots;
    std::size_t m_mask = 0;
};

} // namespace parchly

#endif

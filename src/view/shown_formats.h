// Formatting the text of an RFC shown afresh by category: the formats are
// the document's composition (text_composition.h), merged into the text.
#ifndef PARCHLY_VIEW_SHOWN_FORMATS_H
#define PARCHLY_VIEW_SHOWN_FORMATS_H

namespace parchly {

class TextView;
struct ComposedFormats;
struct RfcSettings;

// "Default" over the whole text, as streamed text has it, then, unless
// only the default format is used, each run of `composition` in its
// category's format; the text is read-only and unmodified after.
void formatShownText(TextView& view, const ComposedFormats& composition, const RfcSettings& settings);

} // namespace parchly

#endif

// The RFC's own table of contents: the entries that follow its
// "Table of Contents" heading.
#ifndef PARCHLY_ANALYSIS_CONTENTS_H
#define PARCHLY_ANALYSIS_CONTENTS_H

#include "analysis/text_scan.h"

#include <string>

namespace parchly {

enum class ContentsEnd {
    kAtHeading,  // an unindented line ended the contents: the first heading after them
    kOther,      // the end of the file, or a line that cannot start an entry
    kFailed,     // a line that cannot be read as an entry: the analysis fails
};

// Parses the entries after the contents heading into `contents`. At
// kAtHeading, `headingLine` holds the line that ended the contents (already
// offered to the page recogniser and counted).
ContentsEnd parseContents(TextScan& scan, std::string& headingLine);

} // namespace parchly

#endif

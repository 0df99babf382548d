// What the reading views of one main window share while the program runs:
// kept by the window that holds the views and reached through ViewHost.
#ifndef PARCHLY_VIEW_READING_SESSION_H
#define PARCHLY_VIEW_READING_SESSION_H

#include "view/go_to_dialog.h"

#include <QString>
#include <memory>

class QPrinter;

namespace parchly {

struct ReadingSession {
    // Set once an RFC is composed while UseOnlyDefaultText is set, and kept:
    // contents entries are no links from then on.
    bool contentLinksOff = false;
    // The Go To dialog offers the last accepted choice again.
    GoToChoice lastGoToChoice;
    // The printer chosen in Print Setup and used by Print and Print Preview
    // for the rest of the run; made on first use (sessionPrinter).
    std::shared_ptr<QPrinter> printer;
    // The PDF file the printer was last given after the document (a file
    // the reader chose instead is kept).
    QString namedPrintFile;
};

} // namespace parchly

#endif

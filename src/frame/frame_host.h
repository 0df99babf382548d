// What the main window and its document windows need of the application
// object above them: the settings and where they are kept, the opening of
// documents, and the last link of the command route. The application
// implements it; the frame knows nothing else of the application.
#ifndef PARCHLY_FRAME_FRAME_HOST_H
#define PARCHLY_FRAME_FRAME_HOST_H

#include <string>

#include "view/command_target.h"

class QString;

namespace parchly {

class Profile;
class RecentFileList;
class RfcDocument;
class RfcIndexStatus;
struct RfcSettings;

class FrameHost : public CommandTarget {
public:
    virtual RfcSettings& settings() = 0;
    virtual const RfcSettings& settings() const = 0;
    virtual Profile& profile() = 0;
    virtual const std::string& appDirectory() const = 0;
    virtual RecentFileList& recentFiles() = 0;

    // Opens `path` as a document after checking that it can be read and,
    // for a name not ending in ".txt", asking the user. Null when stopped.
    virtual RfcDocument* openDocumentFile(const QString& path) = 0;
    // Opens "<RfcRootPath>/rfc<number>.txt".
    virtual RfcDocument* openRfcNumber(int number) = 0;
    // Opens entry `index` of the recent-file list; an entry that cannot be
    // opened is dropped from the list.
    virtual RfcDocument* openRecentFile(int index) = 0;
    // What the RFC folder's rfc-index.txt says of each RFC, read once for
    // every window; null when there is none.
    virtual const RfcIndexStatus* indexStatus() const { return nullptr; }
    // Reads the RFC folder's index again (after the folder changed).
    virtual void reloadIndexStatus() { }
};

} // namespace parchly

#endif

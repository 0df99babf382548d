// What the download worker needs to ask of the user. The worker runs on its
// own thread; whoever implements this interface brings each question to the
// user and returns the answer, the worker waiting for it.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_ASKER_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_ASKER_H

#include <string>

namespace parchly {

class DownloadAsker {
public:
    virtual ~DownloadAsker() = default;

    // A message with an OK button.
    virtual void tell(const std::string& text) = 0;

    // A question with OK and Cancel; true for OK.
    virtual bool confirm(const std::string& text) = 0;

    // The save-file dialog offering `proposedPath`, asking before it replaces
    // an existing file; empty when cancelled.
    virtual std::string savePath(const std::string& proposedPath) = 0;

    // Asks for a user name and password for `server`, which refused access;
    // false when the user declined to try again.
    virtual bool credentials(const std::string& server, std::string& user, std::string& password) = 0;
};

} // namespace parchly

#endif

// Brings the download worker's questions and messages to the user through
// the program's dialogs, on the GUI thread, while the worker waits.
#ifndef PARCHLY_DOWNLOAD_GUI_DOWNLOAD_ASKER_H
#define PARCHLY_DOWNLOAD_GUI_DOWNLOAD_ASKER_H

#include "download/download_asker.h"

namespace parchly {

class GuiDownloadAsker : public DownloadAsker {
public:
    // Must be made on the GUI thread.
    GuiDownloadAsker();

    void tell(const std::string& text) override;
    bool confirm(const std::string& text) override;
    std::string savePath(const std::string& proposedPath) override;
    bool credentials(const std::string& server, std::string& user, std::string& password) override;
};

} // namespace parchly

#endif

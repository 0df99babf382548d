// The program as the command-line companions run it: in a scratch folder,
// so that a run leaves no settings behind, and without a tip of the day
// waiting for a click at start-up.
#ifndef PARCHLY_TOOLS_UNATTENDED_APP_H
#define PARCHLY_TOOLS_UNATTENDED_APP_H

#include "app/parchly_application.h"
#include "settings/profile.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace parchly {

class UnattendedApp {
public:
    UnattendedApp()
    {
        if (!m_scratch.isValid() || !QDir::setCurrent(m_scratch.path()))
            return;
        Profile("Parchly.ini").writeInt("Tip", "StartUp", 1);
        m_app = std::make_unique<ParchlyApplication>();
        if (!m_app->start())
            m_app.reset();
    }

    // The started program; null when the scratch folder or the start failed.
    ParchlyApplication* app() const { return m_app.get(); }

private:
    QTemporaryDir m_scratch;
    std::unique_ptr<ParchlyApplication> m_app;
};

} // namespace parchly

#endif

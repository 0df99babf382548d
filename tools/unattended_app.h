// The program as the command-line companions run it: in a scratch folder,
// so that a run leaves no settings behind, and without a tip of the day
// waiting for a click at start-up; a message box is not shown but written
// to standard error and answered at once (Ok, or Cancel for a question).
#ifndef PARCHLY_TOOLS_UNATTENDED_APP_H
#define PARCHLY_TOOLS_UNATTENDED_APP_H

#include "app/parchly_application.h"
#include "platform/dialogs.h"
#include "settings/profile.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace parchly {

class UnattendedDialogs : public Dialogs {
public:
    MessageAnswer message(QWidget*, const QString& text, MessageButtons buttons, MessageIcon,
                          const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
};

class UnattendedApp {
public:
    UnattendedApp()
    {
        installDialogs(&m_dialogs);
        if (!m_scratch.isValid() || !QDir::setCurrent(m_scratch.path()))
            return;
        Profile("Parchly.ini").writeInt("Tip", "StartUp", 1);
        m_app = std::make_unique<ParchlyApplication>();
        if (!m_app->start())
            m_app.reset();
    }

    ~UnattendedApp()
    {
        m_app.reset();
        installDialogs(nullptr);
    }
    UnattendedApp(const UnattendedApp&) = delete;
    UnattendedApp& operator=(const UnattendedApp&) = delete;

    // The started program; null when the scratch folder or the start failed.
    ParchlyApplication* app() const { return m_app.get(); }

private:
    UnattendedDialogs m_dialogs;
    QTemporaryDir m_scratch;
    std::unique_ptr<ParchlyApplication> m_app;
};

} // namespace parchly

#endif

#include "download/gui_download_asker.h"

#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <future>

namespace parchly {

namespace {

// Runs `ask` on the GUI thread and returns its answer: directly when called
// there, otherwise queued to the application's event loop with this thread
// waiting. The dialogs have no parent: the Download dialog may be gone.
template <typename Answer, typename Ask>
Answer onGuiThread(Ask ask)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return Answer();
    if (QThread::currentThread() == application->thread())
        return ask();
    std::promise<Answer> answer;
    std::future<Answer> answered = answer.get_future();
    QMetaObject::invokeMethod(application, [&answer, &ask] { answer.set_value(ask()); }, Qt::QueuedConnection);
    return answered.get();
}

} // namespace

void GuiDownloadAsker::tell(const std::string& text)
{
    onGuiThread<bool>([&text] {
        dialogs().message(nullptr, QString::fromStdString(text), MessageButtons::Ok, MessageIcon::Warning);
        return true;
    });
}

bool GuiDownloadAsker::confirm(const std::string& text)
{
    return onGuiThread<bool>([&text] {
        return dialogs().message(nullptr, QString::fromStdString(text), MessageButtons::OkCancel,
                                 MessageIcon::Question)
               == MessageAnswer::Ok;
    });
}

std::string GuiDownloadAsker::savePath(const std::string& proposedPath)
{
    return onGuiThread<std::string>([&proposedPath] {
        return dialogs()
            .saveFileName(nullptr, QStringLiteral("Save As"), QString::fromStdString(proposedPath),
                          QStringLiteral("All Files (*)"))
            .toStdString();
    });
}

bool GuiDownloadAsker::credentials(const std::string& server, std::string& user, std::string& password)
{
    return onGuiThread<bool>([&] {
        QString enteredUser = QString::fromStdString(user);
        QString enteredPassword = QString::fromStdString(password);
        const QString prompt = QStringLiteral("The server %1 asks for a user name and password.")
                                   .arg(QString::fromStdString(server));
        if (!dialogs().credentials(nullptr, prompt, enteredUser, enteredPassword))
            return false;
        user = enteredUser.toStdString();
        password = enteredPassword.toStdString();
        return true;
    });
}

} // namespace parchly

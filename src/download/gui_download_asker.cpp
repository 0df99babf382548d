#include "download/gui_download_asker.h"

#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace parchly {

namespace {

// A question on its way from the worker to the GUI thread.
struct PendingQuestion {
    std::function<void()> ask;
    std::promise<void> answered;
};

// Carries questions to the GUI thread. The worker queues a question and
// writes a byte into a pipe; a socket notifier on the GUI thread wakes up,
// asks every queued question and hands each answer back. Nothing of Qt
// crosses the threads, so the handover is visible to the thread checker.
class QuestionPump {
public:
    // Made on the GUI thread, for the life of the program.
    QuestionPump()
    {
        if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        auto* notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { askAllQueued(); });
    }

    // Called on the worker; returns once the question has been answered.
    void ask(PendingQuestion& question)
    {
        std::future<void> answered = question.answered.get_future();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queued.push_back(&question);
        }
        const char wake = 1;
        if (::write(m_pipe[1], &wake, 1) != 1) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queued.erase(std::find(m_queued.begin(), m_queued.end(), &question));
            return;
        }
        answered.wait();
    }

private:
    void askAllQueued()
    {
        char wakes[64];
        while (::read(m_pipe[0], wakes, sizeof wakes) > 0) { }
        for (;;) {
            PendingQuestion* question = nullptr;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_queued.empty())
                    return;
                question = m_queued.front();
                m_queued.pop_front();
            }
            question->ask();
            question->answered.set_value();
        }
    }

    int m_pipe[2] = {-1, -1};
    std::mutex m_mutex;
    std::deque<PendingQuestion*> m_queued;
};

QuestionPump& questionPump()
{
    static QuestionPump* pump = new QuestionPump;
    return *pump;
}

// Runs `ask` on the GUI thread and returns its answer: directly when called
// there, otherwise through the pump with this thread waiting. The dialogs
// have no parent: the Download dialog may be gone.
template <typename Answer, typename Ask> Answer onGuiThread(Ask ask)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return Answer();
    if (QThread::currentThread() == application->thread())
        return ask();
    Answer answer{};
    PendingQuestion question;
    question.ask = [&answer, &ask] { answer = ask(); };
    questionPump().ask(question);
    return answer;
}

} // namespace

GuiDownloadAsker::GuiDownloadAsker()
{
    questionPump();
}

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

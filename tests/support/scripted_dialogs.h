// Answers the program's dialogs from a script and records what was asked,
// so that no test ever waits on a modal dialog.
#ifndef PARCHLY_TESTS_SCRIPTED_DIALOGS_H
#define PARCHLY_TESTS_SCRIPTED_DIALOGS_H

#include "platform/dialogs.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <tuple>
#include <utility>

namespace parchly::test {

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { installDialogs(this); }
    ~ScriptedDialogs() override { installDialogs(nullptr); }

    // Answers given in order; when none is left, a message is answered with
    // Cancel (or Ok for a box with only an Ok button) and a file or folder
    // dialog with an empty string.
    std::deque<MessageAnswer> answers;
    std::deque<QString> paths;

    // Every message text shown, in order.
    QStringList messages;
    // The start folder and filter of every Open dialog, in order.
    QStringList openStarts;
    QStringList openFilters;
    // Every caption of a file or folder dialog shown, in order.
    QStringList pathCaptions;

    // Run while each message is "shown", before it is answered: a test
    // that needs the event loop a real modal box runs sets it.
    std::function<void()> whileMessageShown;

    MessageAnswer message(QWidget*, const QString& text, MessageButtons buttons, MessageIcon,
                          const QString&) override
    {
        messages << text;
        if (whileMessageShown)
            whileMessageShown();
        return take(answers, buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel);
    }

    QString openFileName(QWidget*, const QString& caption, const QString& start,
                         const QString& filter) override
    {
        openStarts << start;
        openFilters << filter;
        return nextPath(caption);
    }

    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return nextPath(caption);
    }

    QString folderName(QWidget*, const QString& caption, const QString&) override
    {
        return nextPath(caption);
    }

    // User name and password pairs given to credentials prompts in order;
    // when none is left the prompt is cancelled.
    std::deque<std::pair<QString, QString>> logins;
    // Every credentials prompt shown, in order.
    QStringList credentialPrompts;

    bool credentials(QWidget*, const QString& prompt, QString& user, QString& password) override
    {
        credentialPrompts << prompt;
        const bool answered = !logins.empty();
        std::tie(user, password) = take(logins, std::make_pair(user, password));
        return answered;
    }

    // Scripts for the program's own modal dialogs, used in order: each gets
    // the dialog (set up, not shown), may fill its fields and call its
    // slots, and returns its result. Without a script a dialog is rejected.
    std::deque<std::function<int(QDialog&)>> dialogScripts;
    // The title of every own modal dialog run, in order.
    QStringList dialogTitles;

    int runModal(QDialog& dialog) override
    {
        dialogTitles << dialog.windowTitle();
        if (dialogScripts.empty())
            return QDialog::Rejected;
        return take(dialogScripts, {})(dialog);
    }

    // The answer of the print and page setup dialogs, and how often each
    // print dialog was shown.
    bool acceptPrinting = false;
    int printDialogs = 0;
    int pageSetups = 0;
    int previews = 0;
    // What the last preview would draw its pages with.
    std::function<void(QPrinter*)> previewPainter;

    bool printDialog(QWidget*, QPrinter&) override
    {
        ++printDialogs;
        return acceptPrinting;
    }

    bool pageSetup(QWidget*, QPrinter&) override
    {
        ++pageSetups;
        return acceptPrinting;
    }

    void printPreview(QWidget*, QPrinter&, const std::function<void(QPrinter*)>& paint) override
    {
        ++previews;
        previewPainter = paint;
    }

    // Fonts chosen in the font chooser in order; when none is left the
    // chooser is cancelled.
    std::deque<FontChoice> fontChoices;
    // The font each chooser was started from, in order.
    QList<FontChoice> fontsOffered;

    // Answers to the colour chooser in turn (none: cancelled), and the
    // colours it started from.
    std::deque<QColor> colourChoices;
    QList<QColor> coloursOffered;

    QColor chooseColour(QWidget*, const QColor& initial) override
    {
        coloursOffered << initial;
        return take(colourChoices, QColor());
    }

    bool chooseFixedFont(QWidget*, FontChoice& choice) override
    {
        fontsOffered << choice;
        const bool chosen = !fontChoices.empty();
        choice = take(fontChoices, choice);
        return chosen;
    }

private:
    QString nextPath(const QString& caption)
    {
        pathCaptions << caption;
        return take(paths, QString());
    }

    // The next scripted answer, or `whenEmpty` when none is left.
    template <typename T> static T take(std::deque<T>& script, T whenEmpty)
    {
        if (script.empty())
            return whenEmpty;
        T answer = std::move(script.front());
        script.pop_front();
        return answer;
    }
};

} // namespace parchly::test

#endif

// Every message box, question and file or folder dialog of the program goes
// through the one Dialogs object installed here, so that tests can answer
// them without a person and read what was asked.
#ifndef PARCHLY_PLATFORM_DIALOGS_H
#define PARCHLY_PLATFORM_DIALOGS_H

#include <QColor>
#include <QString>
#include <functional>

class QDialog;
class QFileDialog;
class QPrinter;
class QWidget;

namespace parchly {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// A font as the font chooser offers and returns it. Weight is on the 100 to
// 900 scale (400 normal, 700 bold).
struct FontChoice {
    QString face;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int pointSize = 10;
    QColor colour = Qt::black;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; the caption is the program's name when empty.
    virtual MessageAnswer message(QWidget* parent, const QString& text,
                                  MessageButtons buttons = MessageButtons::Ok,
                                  MessageIcon icon = MessageIcon::Warning,
                                  const QString& caption = QString());

    // The file-open dialog; an empty string when cancelled. `filter` is in
    // Qt's form ("Txt Files (*.txt);;All Files (*)").
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);

    // The file-save dialog, offering `proposedPath`; empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                 const QString& filter);

    // The folder browser; empty when cancelled.
    virtual QString folderName(QWidget* parent, const QString& caption, const QString& startFolder);

    // Asks for a user name and password (a server refused access); false
    // when cancelled. `user` and `password` come back as entered.
    virtual bool credentials(QWidget* parent, const QString& prompt, QString& user, QString& password);

    // The font chooser, offering only fixed-pitch fonts, started from
    // `choice`; false when cancelled, else `choice` holds what was chosen.
    virtual bool chooseFixedFont(QWidget* parent, FontChoice& choice);

    // The colour chooser started from `initial`; an invalid colour when
    // cancelled.
    virtual QColor chooseColour(QWidget* parent, const QColor& initial);

    // Runs one of the program's own modal dialogs and gives its result
    // (QDialog::Accepted or Rejected).
    virtual int runModal(QDialog& dialog);

    // The print dialog and the page setup dialog for `printer`; false when
    // cancelled.
    virtual bool printDialog(QWidget* parent, QPrinter& printer);
    virtual bool pageSetup(QWidget* parent, QPrinter& printer);

    // The print preview of `printer`'s pages, drawn by `paint`.
    virtual void printPreview(QWidget* parent, QPrinter& printer,
                              const std::function<void(QPrinter*)>& paint);
};

// The file-open dialog as openFileName shows it, not yet run: Qt's own,
// with its list ordered by the numbers in the names (rfc2 before rfc10),
// as a reader of a folder of RFCs expects; the desktop's dialogs order
// them letter by letter (rfc1, rfc10, rfc100, rfc1000, rfc1001...).
QFileDialog* newOpenFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter);

// The dialogs in force: the Qt ones unless a test installed its own.
Dialogs& dialogs();

// Installs `replacement` (not owned) until it is uninstalled with nullptr.
void installDialogs(Dialogs* replacement);

} // namespace parchly

#endif

#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace parchly {

namespace {

Dialogs qtDialogs;
Dialogs* installedDialogs = nullptr;

QMessageBox::StandardButtons standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: return MessageAnswer::Cancel;
    }
}

} // namespace

MessageAnswer Dialogs::message(QWidget* parent, const QString& text, MessageButtons buttons,
                               MessageIcon icon, const QString& caption)
{
    QMessageBox box(standardIcon(icon), caption.isEmpty() ? QStringLiteral("Parchly") : caption,
                    text, standardButtons(buttons), parent);
    return answerOf(box.exec());
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption,
                              const QString& directory, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption,
                              const QString& proposedPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

QString Dialogs::folderName(QWidget* parent, const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

Dialogs& dialogs()
{
    return installedDialogs ? *installedDialogs : qtDialogs;
}

void installDialogs(Dialogs* replacement)
{
    installedDialogs = replacement;
}

} // namespace parchly

#include <QColorDialog>
#include "platform/dialogs.h"

#include "platform/font_chooser.h"
#include "platform/natural_order.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

namespace parchly {

namespace {

Dialogs qtDialogs;
Dialogs* installedDialogs = nullptr;

QMessageBox::StandardButtons standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return MessageAnswer::Cancel;
    }
}

} // namespace

MessageAnswer Dialogs::message(QWidget* parent, const QString& text, MessageButtons buttons, MessageIcon icon,
                               const QString& caption)
{
    QMessageBox box(standardIcon(icon), caption.isEmpty() ? QStringLiteral("Parchly") : caption, text,
                    standardButtons(buttons), parent);
    return answerOf(box.exec());
}

QFileDialog* newOpenFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter)
{
    auto* dialog = new QFileDialog(parent, caption, directory, filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setProxyModel(new NaturalOrderProxy(dialog));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& directory,
                              const QString& filter)
{
    const std::unique_ptr<QFileDialog> dialog(newOpenFileDialog(parent, caption, directory, filter));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                              const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

QString Dialogs::folderName(QWidget* parent, const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

bool Dialogs::credentials(QWidget* parent, const QString& prompt, QString& user, QString& password)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Parchly"));
    auto* form = new QFormLayout(&dialog);
    form->addRow(new QLabel(prompt));
    auto* userEdit = new QLineEdit(user);
    auto* passwordEdit = new QLineEdit(password);
    passwordEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&User name:"), userEdit);
    form->addRow(QStringLiteral("&Password:"), passwordEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = userEdit->text();
    password = passwordEdit->text();
    return true;
}

int Dialogs::runModal(QDialog& dialog)
{
    return dialog.exec();
}

bool Dialogs::printDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::pageSetup(QWidget* parent, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Dialogs::printPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

bool Dialogs::chooseFixedFont(QWidget* parent, FontChoice& choice)
{
    FontChooserDialog chooser(choice, parent);
    if (chooser.exec() != QDialog::Accepted)
        return false;
    choice = chooser.choice();
    return true;
}

QColor Dialogs::chooseColour(QWidget* parent, const QColor& initial)
{
    return QColorDialog::getColor(initial, parent);
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

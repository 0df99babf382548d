#include "app/command_line.h"

#include <QDir>

namespace parchly {

namespace {

constexpr int kLongestRfcNumber = 5;

} // namespace

int rfcNumberArgument(const QString& argument)
{
    if (argument.isEmpty() || argument.size() > kLongestRfcNumber)
        return 0;
    for (QChar c : argument)
        if (!c.isDigit() || c.unicode() > '9')
            return 0;
    return argument.toInt();
}

QStringList documentArguments(const QStringList& arguments, const QString& workingDirectory)
{
    QStringList documents;
    const QDir base(workingDirectory);
    for (const QString& argument : arguments) {
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-')))
            continue;
        if (rfcNumberArgument(argument) > 0)
            documents << argument;
        else
            documents << QDir::cleanPath(base.absoluteFilePath(argument));
    }
    return documents;
}

} // namespace parchly

// The documents named on the command line: files, and RFC numbers that open
// from the local RFC folder. A second start hands them to the running
// program, whose current folder may differ, so files travel as absolute paths.
#ifndef PARCHLY_APP_COMMAND_LINE_H
#define PARCHLY_APP_COMMAND_LINE_H

#include <QString>
#include <QStringList>

namespace parchly {

// The document arguments of `arguments` (without the program name): a
// number of 1 to 5 digits stays as it is, an option ("-x", "--x") is left
// to the option parser and dropped, anything else is a file made absolute
// against `workingDirectory`.
QStringList documentArguments(const QStringList& arguments, const QString& workingDirectory);

// The RFC number of a document argument, or 0 when it names a file.
int rfcNumberArgument(const QString& argument);

} // namespace parchly

#endif

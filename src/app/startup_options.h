// The options of the command line: --help and --version answer and end the
// program; a wrong option ends it with status 2. Files and RFC numbers are
// left for the program to open.
#ifndef PARCHLY_APP_STARTUP_OPTIONS_H
#define PARCHLY_APP_STARTUP_OPTIONS_H

#include <QStringList>

#include <optional>

namespace parchly {

// Reads `arguments` (the program's name first). When the program must end
// now, writes its answer to stdout or stderr and returns the exit status;
// otherwise returns nothing and writes nothing. Without `reportErrors` Qt's
// own options (-platform...) pass: that pass runs before QApplication has
// taken them out, so that --help, --version and a wrong option need no
// display.
std::optional<int> handleStartupOptions(const QStringList& arguments, bool reportErrors = true);

} // namespace parchly

#endif

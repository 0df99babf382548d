// `parchly --update-collection [--source URL] [--folder DIR]`: the update of
// the collection without a window, for a cron job or a systemd timer.
#ifndef PARCHLY_APP_UPDATE_COMMAND_H
#define PARCHLY_APP_UPDATE_COMMAND_H

#include <QString>

#include <cstdio>

namespace parchly {

// Runs the update with the settings' addresses and folder, `source` and
// `folder` standing in for them when not empty. Writes one progress line at
// a time to `out` (a new line whenever the stage or the file count moves,
// so a log stays short) and the summary at the end. 0 when everything
// wanted arrived; 1 otherwise, the summary saying why.
int runUpdateCommand(const QString& source, const QString& folder, std::FILE* out);

} // namespace parchly

#endif

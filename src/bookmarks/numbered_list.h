// Lists kept in the settings file under numbered keys ("BM0", "BM1", ...):
// read up to the first empty or missing value, written back whole, with an
// empty value after the last entry only where an older, longer list must
// end there.
#ifndef PARCHLY_BOOKMARKS_NUMBERED_LIST_H
#define PARCHLY_BOOKMARKS_NUMBERED_LIST_H

#include <QStringList>

namespace parchly {

class Profile;

QStringList readNumberedList(const Profile& profile, const char* section, const char* keyPrefix);

void writeNumberedList(Profile& profile, const char* section, const char* keyPrefix,
                       const QStringList& values);

} // namespace parchly

#endif

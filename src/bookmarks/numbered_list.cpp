#include "bookmarks/numbered_list.h"

#include "settings/profile.h"

#include <string>

namespace parchly {

namespace {

std::string numberedKey(const char* keyPrefix, int number)
{
    return keyPrefix + std::to_string(number);
}

} // namespace

QStringList readNumberedList(const Profile& profile, const char* section, const char* keyPrefix)
{
    QStringList values;
    for (int i = 0;; ++i) {
        const std::string value = profile.readString(section, numberedKey(keyPrefix, i), "");
        if (value.empty())
            return values;
        values << QString::fromStdString(value);
    }
}

void writeNumberedList(Profile& profile, const char* section, const char* keyPrefix,
                       const QStringList& values)
{
    ProfileBatch batch(profile);
    int i = 0;
    for (const QString& value : values)
        profile.writeString(section, numberedKey(keyPrefix, i++), value.toStdString());
    // An empty value ends a longer list stored before; a list that was no
    // longer needs none.
    if (!profile.readString(section, numberedKey(keyPrefix, i), "").empty())
        profile.writeString(section, numberedKey(keyPrefix, i), "");
}

} // namespace parchly

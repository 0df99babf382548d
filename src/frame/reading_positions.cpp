#include "frame/reading_positions.h"

#include "settings/profile.h"

#include <algorithm>
#include <cstdio>

namespace parchly {

namespace {

const char kPositionsSection[] = "Reading Positions";
const char kSessionSection[] = "Session";

std::string numbered(const char* key, int number)
{
    return key + std::to_string(number);
}

std::string positionText(const ReadingPosition& position)
{
    return std::to_string(position.topLine) + " " + std::to_string(position.caretLine) + " "
        + std::to_string(position.caretColumn);
}

// "top caretLine caretColumn"; a value edited into something else is no position.
std::optional<ReadingPosition> parsePosition(const std::string& text)
{
    ReadingPosition position;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d %d %d %c", &position.topLine, &position.caretLine,
                    &position.caretColumn, &rest)
        != 3)
        return std::nullopt;
    if (position.topLine < 1 || position.caretLine < 1 || position.caretColumn < 0)
        return std::nullopt;
    return position;
}

std::vector<SessionWindow> readList(const Profile& profile, const char* section, int limit)
{
    std::vector<SessionWindow> list;
    const int count = std::clamp(profile.readInt(section, "Count", 0), 0, limit);
    for (int i = 1; i <= count; ++i) {
        const std::string path = profile.readString(section, numbered("File", i), "");
        const std::optional<ReadingPosition> position =
            parsePosition(profile.readString(section, numbered("Position", i), ""));
        if (!path.empty() && position)
            list.push_back({path, *position});
    }
    return list;
}

void writeList(Profile& profile, const char* section, const std::vector<SessionWindow>& list)
{
    ProfileBatch batch(profile);
    profile.writeInt(section, "Count", static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        profile.writeString(section, numbered("File", number), list[i].path);
        profile.writeString(section, numbered("Position", number), positionText(list[i].position));
    }
}

} // namespace

std::optional<ReadingPosition> storedReadingPosition(const Profile& profile, const std::string& path)
{
    for (const SessionWindow& entry : readList(profile, kPositionsSection, kKeptReadingPositions))
        if (entry.path == path)
            return entry.position;
    return std::nullopt;
}

void storeReadingPosition(Profile& profile, const std::string& path, const ReadingPosition& position)
{
    std::vector<SessionWindow> list = readList(profile, kPositionsSection, kKeptReadingPositions);
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&path](const SessionWindow& entry) { return entry.path == path; }),
               list.end());
    list.insert(list.begin(), {path, position});
    if (list.size() > size_t(kKeptReadingPositions))
        list.resize(kKeptReadingPositions);
    writeList(profile, kPositionsSection, list);
}

void storeSession(Profile& profile, const std::vector<SessionWindow>& windows, int active)
{
    ProfileBatch batch(profile);
    writeList(profile, kSessionSection, windows);
    profile.writeInt(kSessionSection, "Active", active < 0 ? 0 : active + 1);
}

std::vector<SessionWindow> storedSession(const Profile& profile, int& active)
{
    // No limit beyond what a user could have open: the stored count decides.
    std::vector<SessionWindow> windows = readList(profile, kSessionSection, 1000);
    active = profile.readInt(kSessionSection, "Active", 0) - 1;
    if (active >= static_cast<int>(windows.size()))
        active = -1;
    return windows;
}

} // namespace parchly

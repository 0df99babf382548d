// Where the reader was: the last reading position of each recently read
// document ("[Reading Positions]"), and the windows open when the program
// ended with the active one ("[Session]"), both kept in the settings file.
// Lines are lines of the file counted from 1, so a position stays right
// whether headers and footers are shown or not.
#ifndef PARCHLY_FRAME_READING_POSITIONS_H
#define PARCHLY_FRAME_READING_POSITIONS_H

#include <optional>
#include <string>
#include <vector>

namespace parchly {

class Profile;

struct ReadingPosition {
    int topLine = 1; // file line at the top of the view
    int caretLine = 1; // file line of the caret
    int caretColumn = 0; // the caret's offset in its line
};

struct SessionWindow {
    std::string path;
    ReadingPosition position;
};

// The documents whose positions are kept, newest first; older ones drop out.
constexpr int kKeptReadingPositions = 40;

// The stored position of `path`, if any.
std::optional<ReadingPosition> storedReadingPosition(const Profile& profile, const std::string& path);
// Stores the position of `path` as the newest.
void storeReadingPosition(Profile& profile, const std::string& path, const ReadingPosition& position);

// Stores the open windows in their order and which one (-1: none) is active.
void storeSession(Profile& profile, const std::vector<SessionWindow>& windows, int active);
// The stored windows; `active` gets the active one's index (-1: none).
std::vector<SessionWindow> storedSession(const Profile& profile, int& active);

} // namespace parchly

#endif

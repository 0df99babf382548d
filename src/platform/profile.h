// The settings file: an INI file of [section] headers and key=value lines,
// read and written one value at a time like a Windows private profile.
#ifndef PARCHLY_PLATFORM_PROFILE_H
#define PARCHLY_PLATFORM_PROFILE_H

#include <string>

namespace parchly {

class Profile {
public:
    explicit Profile(std::string path);

    const std::string& path() const;

    // The value of `key` in `section` with surrounding blanks removed;
    // `defaultValue` when the file, the section or the key is missing.
    // Section and key names match without regard to ASCII case; the first
    // matching section and key win.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // The leading signed decimal of the value; `defaultValue` when the key is
    // missing, 0 when the value does not start with a number.
    int readInt(const std::string& section, const std::string& key, int defaultValue) const;

    // Stores `value` under `key`, keeping every other line in place: a
    // missing section is added at the end of the file, a missing key after
    // the last entry of its section. The file is replaced as a whole through
    // a temporary file beside it ("<path>.<process id>.tmp"), so a failed
    // write leaves the old file as it was. False when the file could not be written, or when the section
    // or key name is empty or the value holds a line break (such a value
    // could not be read back as written).
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value);

    bool writeInt(const std::string& section, const std::string& key, int value);

private:
    std::string path_;
};

} // namespace parchly

#endif

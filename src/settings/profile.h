// The settings file: an INI file of [section] headers and key=value lines,
// read and written one value at a time like a Windows private profile, or
// several values in one write through a ProfileBatch. Reads are answered
// from the file as parsed once, read again when it changes on disk. A line ends in LF,
// CR LF or a lone CR, for reading and writing alike; a write keeps every
// line it does not change byte for byte.
#ifndef PARCHLY_SETTINGS_PROFILE_H
#define PARCHLY_SETTINGS_PROFILE_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace parchly {

class Profile {
public:
    explicit Profile(std::string path);
    ~Profile();

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
    // the last entry of its section. The file is read afresh and replaced as
    // a whole under its lock ("<path>.lock"), so that programs writing it at
    // once keep each other's values, through a temporary file of its own
    // (see replaceFileContents), so a failed write leaves the old file as it
    // was. False when the file could not be
    // written, or when the section or key name is empty or the value holds a
    // line break (such a value could not be read back as written). While a
    // ProfileBatch is open the value is only kept in memory (see there).
    bool writeString(const std::string& section, const std::string& key, const std::string& value);

    bool writeInt(const std::string& section, const std::string& key, int value);

private:
    friend class ProfileBatch;
    struct PendingWrites;
    struct ReadCache;
    struct StoredValue {
        std::string section;
        std::string key;
        std::string value;
    };

    std::optional<std::string> lookUp(const std::string& section, const std::string& key) const;
    // The file as it is on disk, parsed once for each version of it.
    const ReadCache& currentFile() const;
    bool rewriteFile(const std::vector<StoredValue>& values);
    bool endBatch();

    std::string path_;
    std::unique_ptr<ReadCache> cache_;
    std::unique_ptr<PendingWrites> pending_; // while a batch is open
};

// Gathers the writes made through a Profile during its life into one
// replacement of the file, instead of one per value. Reads through the
// Profile see the pending values; the file itself is left as it is until the
// batch ends. At the end the file is read afresh and the writes are applied
// to it in their order, so lines changed meanwhile by another instance are
// kept; it is then replaced atomically as a single write would be. Batches
// nest: the file is written when the last open batch ends.
class ProfileBatch {
public:
    explicit ProfileBatch(Profile& profile);
    // Ends the batch if commit() has not; its outcome is then not reported.
    ~ProfileBatch();
    ProfileBatch(const ProfileBatch&) = delete;
    ProfileBatch& operator=(const ProfileBatch&) = delete;

    // Ends the batch. For the last open batch: writes the file, true when it
    // was written or nothing was pending, false (the file as it was, the
    // pending values dropped) when it could not be. Inside another batch:
    // true, the values going out with the enclosing batch. A second call
    // gives the first one's answer.
    bool commit();

private:
    Profile& profile_;
    bool ended_ = false;
    bool committed_ = false;
};

} // namespace parchly

#endif

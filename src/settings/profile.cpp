#include "settings/profile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "analysis/file_access.h"
#include "settings/leading_integer.h"

namespace parchly {

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

struct ProfileLine {
    std::string text; // without its line end
    std::string ending; // "\n", "\r\n", "\r", or empty for a last line without one
};

// The file as lines, each keeping its own line end so that a rewrite gives
// back every untouched line byte for byte.
struct ProfileFile {
    std::string byteOrderMark;
    std::vector<ProfileLine> lines;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string trimmed(const std::string& text, std::size_t begin, std::size_t end)
{
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

char foldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string> sectionName(const std::string& line)
{
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start]))
        ++start;
    if (start == line.size() || line[start] != '[')
        return std::nullopt;
    std::size_t close = line.find(']', start + 1);
    if (close == std::string::npos)
        close = line.size();
    return trimmed(line, start + 1, close);
}

// The key and value of a "key=value" line, or nothing for a line without "=".
std::optional<std::pair<std::string, std::string>> keyAndValue(const std::string& line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return std::make_pair(trimmed(line, 0, equals), trimmed(line, equals + 1, line.size()));
}

enum class ReadResult { Read, Missing, Failed };

// What identifies one version of the file on disk: a replacement is a new
// file (a new inode), an edit in place changes the size or the time.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;

    bool operator==(const FileIdentity& other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size
            && modified == other.modified;
    }
};

FileIdentity identityOf(const std::string& path)
{
    struct stat status { };
    FileIdentity identity;
    if (::stat(path.c_str(), &status) != 0)
        return identity;
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modified = std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return identity;
}

ReadResult readProfileFile(const std::string& path, ProfileFile& file)
{
    // A FIFO, a device or a huge file at the settings' name is no settings
    // file: reading it would block or never end.
    std::string raw;
    std::size_t size = 0;
    const FileRefusal refusal = readRegularFile(path, kTextFileSizeLimit, raw, size);
    if (refusal == FileRefusal::Unopened && ::access(path.c_str(), F_OK) != 0 && errno == ENOENT)
        return ReadResult::Missing;
    if (refusal != FileRefusal::None)
        return ReadResult::Failed;
    raw.resize(size);

    std::size_t pos = 0;
    if (raw.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        file.byteOrderMark = kByteOrderMark;
        pos = kByteOrderMark.size();
    }
    // LF, CR LF and a lone CR each end a line, so that no write can join a
    // line to the one after it by adding an LF behind a CR.
    while (pos < raw.size()) {
        const std::size_t end = raw.find_first_of("\r\n", pos);
        ProfileLine line;
        if (end == std::string::npos) {
            line.text = raw.substr(pos);
            pos = raw.size();
        } else {
            const bool crlf = raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n';
            line.text = raw.substr(pos, end - pos);
            line.ending = crlf ? "\r\n" : std::string(1, raw[end]);
            pos = end + line.ending.size();
        }
        file.lines.push_back(std::move(line));
    }
    return ReadResult::Read;
}

// The line index of the first section called `section`, if there is one.
std::optional<std::size_t> findSection(const ProfileFile& file, const std::string& section)
{
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const auto name = sectionName(file.lines[i].text);
        if (name && sameName(*name, section))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> findValue(const ProfileFile& file, const std::string& section,
                                     const std::string& key)
{
    const auto header = findSection(file, section);
    if (!header)
        return std::nullopt;
    for (std::size_t i = *header + 1; i < file.lines.size(); ++i) {
        const std::string& text = file.lines[i].text;
        if (sectionName(text))
            break;
        const auto entry = keyAndValue(text);
        if (entry && sameName(entry->first, key))
            return entry->second;
    }
    return std::nullopt;
}

// Sets `key` to `value` in the lines of `file`.
void storeValue(ProfileFile& file, const std::string& section, const std::string& key,
                const std::string& value)
{
    std::string ending = "\n";
    for (const ProfileLine& line : file.lines) {
        if (!line.ending.empty()) {
            ending = line.ending;
            break;
        }
    }
    const std::string entryText = key + "=" + value;

    const auto header = findSection(file, section);
    std::size_t insertAt;
    if (header) {
        std::size_t lastEntry = *header;
        for (std::size_t i = *header + 1; i < file.lines.size(); ++i) {
            const std::string& text = file.lines[i].text;
            if (sectionName(text))
                break;
            const auto entry = keyAndValue(text);
            if (entry && sameName(entry->first, key)) {
                file.lines[i].text = entryText;
                return;
            }
            if (!trimmed(text, 0, text.size()).empty())
                lastEntry = i;
        }
        insertAt = lastEntry + 1;
    } else {
        insertAt = file.lines.size();
    }

    // The added lines take the end of the line they follow, so that they
    // meet the next line as it did (a CR before an empty LF-ended line would
    // otherwise read as one CR LF). A last line without its end gets the
    // file's first line end.
    if (insertAt > 0 && !file.lines[insertAt - 1].ending.empty())
        ending = file.lines[insertAt - 1].ending;
    else if (insertAt > 0)
        file.lines[insertAt - 1].ending = ending;
    std::vector<ProfileLine> added;
    if (!header)
        added.push_back({"[" + section + "]", ending});
    added.push_back({entryText, ending});
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(), added.end());
}

bool hasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string fileBytes(const ProfileFile& file)
{
    std::string bytes = file.byteOrderMark;
    for (const ProfileLine& line : file.lines)
        bytes += line.text + line.ending;
    return bytes;
}

} // namespace

// The file as last read or written, and which version of it that was.
struct Profile::ReadCache {
    FileIdentity identity;
    ReadResult result = ReadResult::Missing;
    ProfileFile file;
};

struct Profile::PendingWrites {
    int openBatches = 0;
    // The file with the pending values stored, read at the first write.
    std::optional<ProfileFile> file;
    std::vector<Profile::StoredValue> values;
};

Profile::Profile(std::string path)
    : path_(std::move(path))
    , cache_(std::make_unique<ReadCache>())
{
}

Profile::~Profile() = default;

const std::string& Profile::path() const
{
    return path_;
}

std::string Profile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    return lookUp(section, key).value_or(defaultValue);
}

int Profile::readInt(const std::string& section, const std::string& key, int defaultValue) const
{
    const auto value = lookUp(section, key);
    return value ? leadingInteger(*value) : defaultValue;
}

bool Profile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    // Names and values that would read back as something else are refused.
    const std::string sectionText = trimmed(section, 0, section.size());
    const std::string keyText = trimmed(key, 0, key.size());
    if (sectionText.empty() || keyText.empty() || hasLineBreak(section) || hasLineBreak(key)
        || hasLineBreak(value) || sectionText.find(']') != std::string::npos
        || keyText.find('=') != std::string::npos || keyText.front() == '[')
        return false;

    StoredValue stored{sectionText, keyText, trimmed(value, 0, value.size())};
    if (!pending_)
        return rewriteFile({stored});

    if (!pending_->file) {
        // As a single write does, refuse to build on a file that cannot be read.
        const ReadCache& current = currentFile();
        if (current.result == ReadResult::Failed)
            return false;
        pending_->file = current.file;
    }
    storeValue(*pending_->file, stored.section, stored.key, stored.value);
    pending_->values.push_back(std::move(stored));
    return true;
}

bool Profile::writeInt(const std::string& section, const std::string& key, int value)
{
    return writeString(section, key, std::to_string(value));
}

std::optional<std::string> Profile::lookUp(const std::string& section, const std::string& key) const
{
    if (pending_ && pending_->file)
        return findValue(*pending_->file, section, key);
    const ReadCache& current = currentFile();
    if (current.result != ReadResult::Read)
        return std::nullopt;
    return findValue(current.file, section, key);
}

const Profile::ReadCache& Profile::currentFile() const
{
    // Read again only when the file on disk is another than the one read:
    // a look at its identity instead of a parse of the whole file for
    // every value read.
    const FileIdentity identity = identityOf(path_);
    if (identity.exists && identity == cache_->identity && cache_->result != ReadResult::Failed)
        return *cache_;
    ReadCache fresh;
    fresh.identity = identity;
    fresh.result = readProfileFile(path_, fresh.file);
    *cache_ = std::move(fresh);
    return *cache_;
}

bool Profile::rewriteFile(const std::vector<StoredValue>& values)
{
    // Another program may be changing the same file: the read, change and
    // replacement are done under the file's lock, so that neither loses
    // the other's values, and on the file as it is now.
    struct stat status { };
    if (::stat(path_.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    const FileLock lock(path_);
    ReadCache fresh;
    fresh.result = readProfileFile(path_, fresh.file);
    if (fresh.result == ReadResult::Failed)
        return false;
    for (const StoredValue& stored : values)
        storeValue(fresh.file, stored.section, stored.key, stored.value);
    if (!replaceFileContents(path_, fileBytes(fresh.file)).empty()) {
        cache_->identity = FileIdentity();
        return false;
    }
    fresh.result = ReadResult::Read;
    fresh.identity = identityOf(path_);
    *cache_ = std::move(fresh);
    return true;
}

bool Profile::endBatch()
{
    if (--pending_->openBatches > 0)
        return true;
    const std::unique_ptr<PendingWrites> ending = std::move(pending_);
    return ending->values.empty() || rewriteFile(ending->values);
}

ProfileBatch::ProfileBatch(Profile& profile)
    : profile_(profile)
{
    if (!profile_.pending_)
        profile_.pending_ = std::make_unique<Profile::PendingWrites>();
    ++profile_.pending_->openBatches;
}

ProfileBatch::~ProfileBatch()
{
    commit();
}

bool ProfileBatch::commit()
{
    if (!ended_) {
        ended_ = true;
        committed_ = profile_.endBatch();
    }
    return committed_;
}

} // namespace parchly

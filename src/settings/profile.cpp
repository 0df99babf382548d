#include "settings/profile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

ReadResult readProfileFile(const std::string& path, ProfileFile& file)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    std::string raw;
    char buffer[8192];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        raw.append(buffer, count);
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed)
        return ReadResult::Failed;

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

bool writeAll(int descriptor, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`, so that readers see either the old file or the whole new one.
bool replaceFile(const std::string& path, const std::string& bytes)
{
    mode_t mode = 0666;
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777;

    // Named after the process, so that two instances saving at once cannot
    // write into the same temporary file.
    const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (descriptor < 0)
        return false;
    bool ok = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    ok = ::close(descriptor) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

// The file a write has to replace: the target of a symbolic link rather
// than the link itself.
std::string writeTarget(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

bool hasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

struct StoredValue {
    std::string section;
    std::string key;
    std::string value;
};

// Reads the file as it is now, applies `values` in their order and replaces
// the file with the result.
bool rewriteFile(const std::string& path, const std::vector<StoredValue>& values)
{
    const std::string target = writeTarget(path);
    ProfileFile file;
    if (readProfileFile(target, file) == ReadResult::Failed)
        return false;
    for (const StoredValue& stored : values)
        storeValue(file, stored.section, stored.key, stored.value);

    std::string bytes = file.byteOrderMark;
    for (const ProfileLine& line : file.lines)
        bytes += line.text + line.ending;
    return replaceFile(target, bytes);
}

} // namespace

struct Profile::PendingWrites {
    int openBatches = 0;
    // The file with the pending values stored, read at the first write.
    std::optional<ProfileFile> file;
    std::vector<StoredValue> values;
};

Profile::Profile(std::string path)
    : path_(std::move(path))
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
        return rewriteFile(path_, {stored});

    if (!pending_->file) {
        // As a single write does, refuse to build on a file that cannot be read.
        ProfileFile file;
        if (readProfileFile(writeTarget(path_), file) == ReadResult::Failed)
            return false;
        pending_->file = std::move(file);
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
    ProfileFile file;
    if (readProfileFile(path_, file) != ReadResult::Read)
        return std::nullopt;
    return findValue(file, section, key);
}

bool Profile::endBatch()
{
    if (--pending_->openBatches > 0)
        return true;
    const std::unique_ptr<PendingWrites> ending = std::move(pending_);
    return ending->values.empty() || rewriteFile(path_, ending->values);
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

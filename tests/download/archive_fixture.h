// Archives the unpack tests make themselves with libarchive's writer, and a
// look at what a folder holds afterwards.
#ifndef PARCHLY_TESTS_DOWNLOAD_ARCHIVE_FIXTURE_H
#define PARCHLY_TESTS_DOWNLOAD_ARCHIVE_FIXTURE_H

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace parchly::test {

enum class ArchiveFormat { Zip, TarGz, Tar };

struct ArchiveEntry {
    enum Kind { File, Symlink, Hardlink };
    std::string name;
    std::string body; // the link's target for a link
    Kind kind = File;
};

// False when libarchive refused the archive or an entry.
inline bool writeArchive(const std::string& path, ArchiveFormat format,
                         const std::vector<ArchiveEntry>& entries)
{
    archive* writer = archive_write_new();
    if (format == ArchiveFormat::Zip) {
        archive_write_set_format_zip(writer);
    } else {
        archive_write_set_format_pax_restricted(writer);
        if (format == ArchiveFormat::TarGz)
            archive_write_add_filter_gzip(writer);
    }
    bool written = archive_write_open_filename(writer, path.c_str()) == ARCHIVE_OK;
    for (const ArchiveEntry& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        archive_entry_set_filetype(entry, item.kind == ArchiveEntry::Symlink ? AE_IFLNK : AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_mtime(entry, 1000000000, 0);
        if (item.kind == ArchiveEntry::Symlink)
            archive_entry_set_symlink(entry, item.body.c_str());
        else if (item.kind == ArchiveEntry::Hardlink)
            archive_entry_set_hardlink(entry, item.body.c_str());
        else
            archive_entry_set_size(entry, la_int64_t(item.body.size()));
        written = written && archive_write_header(writer, entry) == ARCHIVE_OK;
        if (item.kind == ArchiveEntry::File && !item.body.empty())
            written = written
                && archive_write_data(writer, item.body.data(), item.body.size())
                    == la_ssize_t(item.body.size());
        archive_entry_free(entry);
    }
    written = archive_write_close(writer) == ARCHIVE_OK && written;
    archive_write_free(writer);
    return written;
}

// A body that compresses little, so that a cut falls inside it.
inline std::string noise(std::size_t size)
{
    std::string body(size, ' ');
    uint32_t state = 12345;
    for (char& c : body) {
        state = state * 1103515245u + 12345u;
        c = char(' ' + (state >> 16) % 95);
    }
    return body;
}

inline std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.insert(item.path().filename().string());
    return names;
}

} // namespace parchly::test

#endif

#include "update/rsync_output.h"

#include <ctime>
#include <regex>

namespace parchly {

namespace {

uint64_t groupedNumber(const std::string& text)
{
    uint64_t value = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            value = value * 10 + uint64_t(c - '0');
    }
    return value;
}

} // namespace

std::optional<ListedFile> parseListingLine(const std::string& line)
{
    // Type and permissions, size with thousands separators, date, time, name.
    static const std::regex listing(
        R"(^([-dlpscb])[-rwxsStT]{9}[.+@]?\s+([0-9,.]+)\s+(\d{4})/(\d\d)/(\d\d)\s+(\d\d):(\d\d):(\d\d)\s(.+)$)");
    std::smatch match;
    if (!std::regex_match(line, match, listing))
        return std::nullopt;
    ListedFile file;
    const char type = match[1].str()[0];
    file.type = type == '-' ? ListedFile::Regular
        : type == 'd'       ? ListedFile::Directory
        : type == 'l'       ? ListedFile::Link
                            : ListedFile::Other;
    file.size = groupedNumber(match[2].str());
    std::tm time{};
    time.tm_year = std::stoi(match[3].str()) - 1900;
    time.tm_mon = std::stoi(match[4].str()) - 1;
    time.tm_mday = std::stoi(match[5].str());
    time.tm_hour = std::stoi(match[6].str());
    time.tm_min = std::stoi(match[7].str());
    time.tm_sec = std::stoi(match[8].str());
    const time_t seconds = timegm(&time);
    file.modified = seconds > 0 ? static_cast<int64_t>(seconds) : 0;
    file.name = match[9].str();
    return file;
}

std::optional<RsyncProgress> parseProgressLine(const std::string& line)
{
    static const std::regex progress(
        R"(^\s*([0-9,.]+)\s+(\d+)%\s+(\S+)\s+(\d+:\d\d:\d\d)(?:\s+\(xfr#(\d+),\s+(?:ir|to)-chk=(\d+)/(\d+)\))?\s*$)");
    std::smatch match;
    if (!std::regex_match(line, match, progress))
        return std::nullopt;
    RsyncProgress result;
    result.bytes = groupedNumber(match[1].str());
    result.percent = std::stoi(match[2].str());
    result.rate = match[3].str();
    result.timeLeft = match[4].str();
    if (match[5].matched) {
        result.transferred = std::stoll(match[5].str());
        result.toCheck = std::stoll(match[6].str());
        result.total = std::stoll(match[7].str());
    }
    return result;
}

std::vector<std::string> rsyncFilterArguments()
{
    std::vector<std::string> arguments{"--include=/rfc-index.txt"};
    std::string digits = "[1-9]";
    for (int count = 1; count <= 5; ++count) {
        arguments.push_back("--include=/rfc" + digits + ".txt");
        digits += "[0-9]";
    }
    arguments.push_back("--exclude=*");
    return arguments;
}

} // namespace parchly

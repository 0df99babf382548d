#include "download/fetch_files.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "download/local_files.h"

namespace parchly {

namespace {

constexpr int kPollMilliseconds = 20;

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One file in flight: its easy handle, its temporary file, its bytes.
struct Transfer {
    std::size_t index = 0;
    CURL* easy = nullptr;
    std::FILE* file = nullptr;
    std::string partPath;
    uint64_t bytes = 0;
    uint64_t maxBytes = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    int writeError = 0;
    uint64_t* totalBytes = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    ~Transfer()
    {
        if (file)
            std::fclose(file);
        if (easy)
            curl_easy_cleanup(easy);
    }
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<Transfer*>(self);
    const std::size_t bytes = size * count;
    long status = 0;
    curl_easy_getinfo(transfer->easy, CURLINFO_RESPONSE_CODE, &status);
    // The body of an error page is not the file; it is read and dropped.
    if (status != 200)
        return bytes;
    if (transfer->bytes + bytes > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    if (std::fwrite(data, 1, bytes, transfer->file) != bytes) {
        transfer->writeFailed = true;
        transfer->writeError = errno;
        return 0;
    }
    transfer->bytes += bytes;
    *transfer->totalBytes += bytes;
    return bytes;
}

std::string sizeText(uint64_t bytes)
{
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

// How a finished transfer went; renames its temporary file when it is whole.
FetchResult finish(Transfer& transfer, CURLcode code, const std::string& path)
{
    FetchResult result;
    long status = 0;
    curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &status);
    const bool flushed = std::fflush(transfer.file) == 0;
    std::fclose(transfer.file);
    transfer.file = nullptr;
    if (transfer.tooLarge)
        result.error = "larger than " + sizeText(transfer.maxBytes) + ", the largest file the reader opens";
    else if (transfer.writeFailed || !flushed)
        result.error =
            "could not be written: " + systemErrorText(transfer.writeError ? transfer.writeError : errno);
    else if (code != CURLE_OK)
        result.error = transfer.errorBuffer[0] ? transfer.errorBuffer : curl_easy_strerror(code);
    else if (status != 200)
        result.error = "the server answered with status " + std::to_string(status);
    if (result.error.empty()) {
        try {
            moveFile(transfer.partPath, path);
            curl_off_t time = -1;
            curl_easy_getinfo(transfer.easy, CURLINFO_FILETIME_T, &time);
            if (time > 0)
                setFileTimes(path, static_cast<int64_t>(time));
            result.arrived = true;
            return result;
        } catch (const FileError& error) {
            result.error = std::string("could not be saved: ") + error.what();
        }
    }
    std::remove(transfer.partPath.c_str());
    return result;
}

} // namespace

std::string partialFilePath(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".part";
}

std::vector<FetchResult> fetchFiles(const std::vector<FileFetch>& files, const FetchOptions& options,
                                    const std::atomic<bool>& cancel,
                                    const std::function<void(const FetchProgress&)>& progress)
{
    initialiseCurlOnce();
    std::vector<FetchResult> results(files.size());
    FetchProgress state;
    state.total = files.size();
    CURLM* multi = curl_multi_init();
    // At most this many connections; requests beyond them wait for one, or
    // share one where the server speaks HTTP/2.
    curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, static_cast<long>(options.maxConnections));
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(options.maxConnections));
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, static_cast<long>(CURLPIPE_MULTIPLEX));

    std::unordered_map<CURL*, std::unique_ptr<Transfer>> active;
    std::size_t next = 0;
    // Keeps a bounded number of handles added so that files start in order
    // and no more temporary files are open than can make progress.
    const std::size_t inFlight = static_cast<std::size_t>(options.maxConnections) * 4;
    const auto startMore = [&] {
        while (next < files.size() && active.size() < inFlight) {
            const std::size_t index = next++;
            auto transfer = std::make_unique<Transfer>();
            transfer->index = index;
            transfer->maxBytes = options.maxBytes;
            transfer->totalBytes = &state.bytes;
            transfer->partPath = partialFilePath(files[index].path);
            transfer->file = std::fopen(transfer->partPath.c_str(), "wb");
            if (!transfer->file) {
                results[index].error = "could not be written: " + systemErrorText(errno);
                ++state.finished;
                continue;
            }
            CURL* easy = curl_easy_init();
            transfer->easy = easy;
            curl_easy_setopt(easy, CURLOPT_URL, files[index].url.c_str());
            curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
            curl_easy_setopt(easy, CURLOPT_PIPEWAIT, 1L);
            curl_easy_setopt(easy, CURLOPT_USERAGENT, "Parchly");
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 3L);
            curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
            // A server that stops sending for a minute has failed this file.
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
            curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->errorBuffer);
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
            if (!options.caFile.empty())
                curl_easy_setopt(easy, CURLOPT_CAINFO, options.caFile.c_str());
            curl_multi_add_handle(multi, easy);
            active.emplace(easy, std::move(transfer));
        }
    };

    startMore();
    uint64_t reportedBytes = 0;
    while (!active.empty()) {
        if (cancel)
            break;
        int running = 0;
        curl_multi_perform(multi, &running);
        int pending = 0;
        bool changed = false;
        while (CURLMsg* message = curl_multi_info_read(multi, &pending)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            CURL* easy = message->easy_handle;
            const CURLcode code = message->data.result;
            curl_multi_remove_handle(multi, easy);
            auto found = active.find(easy);
            Transfer& transfer = *found->second;
            results[transfer.index] = finish(transfer, code, files[transfer.index].path);
            active.erase(found);
            ++state.finished;
            changed = true;
        }
        startMore();
        if (progress && (changed || state.bytes != reportedBytes)) {
            reportedBytes = state.bytes;
            progress(state);
        }
        if (!active.empty())
            curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }
    // Cancelled: what is in flight goes, and with it its temporary file.
    for (auto& [easy, transfer] : active) {
        curl_multi_remove_handle(multi, easy);
        std::fclose(transfer->file);
        transfer->file = nullptr;
        std::remove(transfer->partPath.c_str());
    }
    active.clear();
    curl_multi_cleanup(multi);
    return results;
}

} // namespace parchly

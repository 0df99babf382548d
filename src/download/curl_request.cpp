#include "download/curl_request.h"

#include <memory>
#include <mutex>

namespace parchly {

namespace {

// How long one wait on the network may last before the running flag is
// looked at again.
constexpr int kCancelCheckMilliseconds = 10;
constexpr long kMaxBlock = 10239;

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

} // namespace

CurlRequest::CurlRequest(const std::string& url, const std::string& caFile, const std::atomic<bool>& running)
    : m_running(running)
{
    initialiseCurlOnce();
    m_easy = curl_easy_init();
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(m_easy, CURLOPT_FILETIME, 1L);
    curl_easy_setopt(m_easy, CURLOPT_BUFFERSIZE, kMaxBlock);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &CurlRequest::onHeader);
    curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CurlRequest::onBody);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    if (!caFile.empty())
        curl_easy_setopt(m_easy, CURLOPT_CAINFO, caFile.c_str());
}

CurlRequest::~CurlRequest()
{
    curl_easy_cleanup(m_easy);
    curl_slist_free_all(m_headerList);
}

void CurlRequest::setHeaders(const std::string& headerLines)
{
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = headerLines.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        m_headerList = curl_slist_append(m_headerList, headerLines.substr(start, end - start).c_str());
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headerList);
}

void CurlRequest::setCredentials(const std::string& user, const std::string& password)
{
    curl_easy_setopt(m_easy, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(m_easy, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(m_easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
}

CURLcode CurlRequest::perform(const WantBody& want, const TakeBlock& take)
{
    m_headers.clear();
    m_body = Body::Undecided;
    m_want = &want;
    m_take = &take;
    m_errorBuffer[0] = '\0';

    // The multi interface lets the wait for data end every few milliseconds,
    // so that a cancellation is seen even while no byte arrives.
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    curl_multi_add_handle(multi.get(), m_easy);
    CURLcode result = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            int pending = 0;
            CURLMsg* message = curl_multi_info_read(multi.get(), &pending);
            result = message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_OK;
            break;
        }
        if (!m_running) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kCancelCheckMilliseconds, nullptr);
    }
    curl_multi_remove_handle(multi.get(), m_easy);
    m_want = nullptr;
    m_take = nullptr;
    return result;
}

long CurlRequest::status() const
{
    long code = 0;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

uint64_t CurlRequest::contentLength() const
{
    curl_off_t length = -1;
    curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length > 0 ? static_cast<uint64_t>(length) : 0;
}

int64_t CurlRequest::remoteTime() const
{
    curl_off_t time = -1;
    curl_easy_getinfo(m_easy, CURLINFO_FILETIME_T, &time);
    return time > 0 ? static_cast<int64_t>(time) : 0;
}

std::string CurlRequest::redirectUrl() const
{
    char* target = nullptr;
    curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_URL, &target);
    return target ? std::string(target) : std::string();
}

std::string CurlRequest::errorText(CURLcode code) const
{
    return m_errorBuffer[0] ? std::string(m_errorBuffer) : std::string(curl_easy_strerror(code));
}

std::size_t CurlRequest::onHeader(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* request = static_cast<CurlRequest*>(self);
    const std::string line(data, size * count);
    // A status line begins the headers of a new response (after a 100
    // Continue or an authentication round).
    if (line.compare(0, 5, "HTTP/") == 0) {
        request->m_headers.clear();
        request->m_body = Body::Undecided;
    }
    request->m_headers += line;
    return size * count;
}

std::size_t CurlRequest::onBody(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* request = static_cast<CurlRequest*>(self);
    const std::size_t bytes = size * count;
    if (!request->m_running)
        return 0;
    if (request->m_body == Body::Undecided)
        request->m_body = (*request->m_want)(request->status()) ? Body::Wanted : Body::Dropped;
    if (request->m_body == Body::Dropped)
        return bytes;
    return (*request->m_take)(data, bytes) ? bytes : 0;
}

} // namespace parchly

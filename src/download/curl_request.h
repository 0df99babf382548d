// One request through libcurl, run so that clearing its download's running
// flag stops it within a few milliseconds, also while it waits on the network. Redirects
// are never followed here: the HTTP transfer decides about them itself.
#ifndef PARCHLY_DOWNLOAD_CURL_REQUEST_H
#define PARCHLY_DOWNLOAD_CURL_REQUEST_H

#include <curl/curl.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace parchly {

class CurlRequest {
public:
    // `caFile`: extra trusted certificate authorities, empty for none.
    // `running`: the download's flag, which must outlive the request.
    CurlRequest(const std::string& url, const std::string& caFile, const std::atomic<bool>& running);
    ~CurlRequest();
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    // Sends `headerLines` ("Name: value" lines, each ended by CR LF).
    void setHeaders(const std::string& headerLines);
    // Answers an authentication challenge with these credentials.
    void setCredentials(const std::string& user, const std::string& password);

    // Decides, by the status of the response it belongs to, whether a body
    // is wanted; the body of a response that is not wanted is read and
    // dropped.
    using WantBody = std::function<bool(long status)>;
    // Receives each block of a wanted body, at most 10239 bytes; false
    // stops the request.
    using TakeBlock = std::function<bool(const char* data, std::size_t count)>;

    // Runs the request to its end. CURLE_ABORTED_BY_CALLBACK when
    // the running flag was cleared, CURLE_WRITE_ERROR when `take` said stop.
    CURLcode perform(const WantBody& want, const TakeBlock& take);

    // What the last perform() learnt; valid during `take` too.
    long status() const;
    const std::string& rawHeaders() const { return m_headers; }
    uint64_t contentLength() const; // 0 when unknown
    int64_t remoteTime() const; // 0 when unknown
    // The absolute target of a redirect response; empty when there is none.
    std::string redirectUrl() const;
    std::string errorText(CURLcode code) const;

private:
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self);

    const std::atomic<bool>& m_running;
    CURL* m_easy = nullptr;
    curl_slist* m_headerList = nullptr;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    std::string m_headers;
    enum class Body { Undecided, Wanted, Dropped } m_body = Body::Undecided;
    const WantBody* m_want = nullptr;
    const TakeBlock* m_take = nullptr;
};

} // namespace parchly

#endif

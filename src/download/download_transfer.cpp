#include "download/download_transfer.h"

#include "download/download_url.h"

#include <stdexcept>

namespace parchly {

namespace {

// A failure of the network or of the server, with the text to show (empty:
// nothing is shown) and the status to publish (none: status is left as it
// was).
class TransferError : public std::runtime_error {
public:
    explicit TransferError(const std::string& text, const char* status = nullptr)
        : std::runtime_error(text)
        , status(status)
    {
    }
    const char* status;
};

bool isSuccess(long status)
{
    return status >= 200 && status <= 299;
}
bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303;
}

// Runs one request of the transfer, copying the body `want` accepts; false
// when the download was cancelled. A failed request throws TransferError
// with `failureStatus`; a file the server does not have is a failed
// connection, without a message.
bool runRequest(DownloadRequest& request, CurlRequest& remote, TempFile& local,
                const CurlRequest::WantBody& want, const char* failureStatus = nullptr)
{
    bool copied = false;
    const CURLcode code = copyToTempFile(request, remote, local, want, copied);
    if (!request.running)
        return false;
    if (code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_FTP_COULDNT_RETR_FILE)
        throw TransferError(std::string(), kStatusConnectionFailed);
    if (code != CURLE_OK)
        throw TransferError(remote.errorText(code), failureStatus);
    return true;
}

// libcurl logs in anonymously, asks for the file's size and time, and reads
// it in binary over a passive data connection.
void fetchFtp(DownloadRequest& request, TempFile& local)
{
    request.status.set(kStatusConnecting);
    CurlRequest remote(transferUrl(request), request.caFile, request.running);
    runRequest(
        request, remote, local, [](long) { return true; }, kStatusNetworkError);
}

// Follows the one redirect the transfer allows: its target, as libcurl
// resolves it, must be an http or https address that answers 200.
void followRedirect(DownloadRequest& request, const std::string& target, TempFile& local)
{
    const ParsedUrl parsed = parseUrlParts(target);
    if (!parsed.parts
        || (parsed.parts->service != ServiceKind::Http && parsed.parts->service != ServiceKind::Https))
        throw TransferAborted(TransferAborted::RedirectNotFollowed);
    CurlRequest remote(transferUrl(*parsed.parts), request.caFile, request.running);
    remote.setHeaders(kHttpRequestHeaders);
    if (runRequest(request, remote, local, [](long status) { return status == 200; })
        && remote.status() != 200)
        throw TransferAborted(TransferAborted::RedirectNotFollowed);
}

void fetchHttp(DownloadRequest& request, TempFile& local)
{
    CurlRequest remote(transferUrl(request), request.caFile, request.running);
    remote.setHeaders(kHttpRequestHeaders);
    if (!runRequest(request, remote, local, isSuccess))
        return;
    if (remote.status() == 401) {
        std::string user;
        std::string password;
        if (!request.asker || !request.asker->credentials(request.server, user, password))
            throw TransferAborted(TransferAborted::AuthenticationFailed);
        remote.setCredentials(user, password);
        if (!runRequest(request, remote, local, isSuccess))
            return;
    }
    const long status = remote.status();
    if (isRedirect(status))
        followRedirect(request, remote.redirectUrl(), local);
    else if (!isSuccess(status))
        throw TransferError("The server answered with status " + std::to_string(status)
                                + "; nothing was saved.",
                            kStatusConnectionFailed);
}

// One transfer into the temporary file by `fetch`, its failures reported,
// then the saving step.
bool transfer(DownloadRequest& request, void (*fetch)(DownloadRequest&, TempFile&))
{
    if (!request.running)
        return false;
    TempFile local;
    if (!createTempFile(request, local))
        return false;
    bool result = true;
    try {
        fetch(request, local);
    } catch (const TransferAborted& error) {
        tellUser(request, error.message());
        result = false;
    } catch (const TransferError& error) {
        if (*error.what())
            tellUser(request, error.what());
        if (error.status)
            request.status.set(error.status);
        result = false;
    } catch (const FileError& error) {
        reportWriteFailure(request, error);
        result = false;
    }
    return finishTransfer(request, result);
}

} // namespace

std::string TransferAborted::message() const
{
    switch (m_reason) {
    case AuthenticationFailed:
        return "Authentication failed.";
    case RedirectNotFollowed:
        return "The redirection could not be followed.";
    }
    return std::string();
}

bool downloadHttp(DownloadRequest& request)
{
    return transfer(request, fetchHttp);
}

bool downloadFtp(DownloadRequest& request)
{
    return transfer(request, fetchFtp);
}

} // namespace parchly

#include "download/download_transfer.h"

#include "download/download_url.h"

#include <cctype>
#include <stdexcept>

namespace parchly {

namespace {

// A failure of the network or of the server, with the text to show and
// the status to publish (none: Status is left as it was).
class TransferError : public std::runtime_error {
public:
    explicit TransferError(const std::string& text, const char* status = nullptr)
        : std::runtime_error(text), status(status) {}
    const char* status;
};

bool isSuccess(long status) { return status >= 200 && status <= 299; }
bool isRedirect(long status) { return status == 301 || status == 302 || status == 303; }

// Runs one request of the transfer; false when the user cancelled it.
bool runRequest(DownloadRequest& request, CurlRequest& remote, TempFile& local,
                const CurlRequest::WantBody& want)
{
    bool copied = false;
    const CURLcode code = CopyToTempFile(request, remote, local, want, copied);
    if (!DownloadRunning)
        return false;
    if (code != CURLE_OK)
        throw TransferError(remote.errorText(code));
    return true;
}

// The target of the first Location header of `headers`, up to its line's
// end. Header names are matched without regard to case, as HTTP has them.
std::string locationOf(const std::string& headers)
{
    static const std::string name = "location: ";
    for (std::string::size_type line = 0; line < headers.size();) {
        std::string::size_type end = headers.find("\r\n", line);
        if (end == std::string::npos)
            end = headers.size();
        if (end - line >= name.size()) {
            bool same = true;
            for (std::size_t i = 0; same && i < name.size(); ++i)
                same = std::tolower(static_cast<unsigned char>(headers[line + i])) == name[i];
            if (same)
                return headers.substr(line + name.size(), end - line - name.size());
        }
        line = end + 2;
    }
    throw CTearException(2);
}

// Follows the one redirect the transfer allows: its target must be an http
// or https address that answers 200.
void followRedirect(DownloadRequest& request, const std::string& from, const std::string& location,
                    TempFile& local)
{
    std::string target;
    UrlParts parts;
    if (!ResolveUrl(from, location, target) || !ParseUrlParts(target, parts)
        || (parts.service != ServiceKind::Http && parts.service != ServiceKind::Https))
        throw CTearException(2);
    CurlRequest remote(TransferUrl(parts), request.CaFile);
    remote.setHeaders(kHttpRequestHeaders);
    if (runRequest(request, remote, local, [](long status) { return status == 200; })
        && remote.status() != 200)
        throw CTearException(2);
}

// The transfer up to the end of the copy.
void fetch(DownloadRequest& request, TempFile& local)
{
    const std::string url = TransferUrl(request);
    CurlRequest remote(url, request.CaFile);
    remote.setHeaders(kHttpRequestHeaders);
    if (!runRequest(request, remote, local, isSuccess))
        return;
    if (remote.status() == 401) {
        std::string user;
        std::string password;
        if (!request.Asker || !request.Asker->credentials(request.Server, user, password))
            throw CTearException(1);
        remote.setCredentials(user, password);
        if (!runRequest(request, remote, local, isSuccess))
            return;
    }
    const long status = remote.status();
    if (isRedirect(status))
        followRedirect(request, url, locationOf(remote.rawHeaders()), local);
    else if (!isSuccess(status))
        throw TransferError("The server answered with status " + std::to_string(status)
                                + "; nothing was saved.",
                            kStatusConnectionFailed);
}

} // namespace

std::string CTearException::message() const
{
    switch (ErrorCode) {
    case 1: return "Authentication failed.";
    case 2: return "The redirection could not be followed.";
    default: return std::string();
    }
}

bool DownloadHttp(DownloadRequest& request)
{
    if (!DownloadRunning)
        return false;
    TempFile local;
    if (!CreateTempFile(request, local))
        return false;
    bool result = true;
    try {
        fetch(request, local);
    } catch (const CTearException& error) {
        TellUser(request, error.message());
        result = false;
    } catch (const TransferError& error) {
        TellUser(request, error.what());
        if (error.status)
            request.Status.set(error.status);
        result = false;
    } catch (const FileError& error) {
        ReportWriteFailure(request, error);
        result = false;
    }
    return FinishTransfer(request, result);
}

} // namespace parchly

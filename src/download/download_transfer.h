// The worker side of a download: the HTTP and FTP transfers into the
// temporary file and the saving step that gives the file its final name.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_TRANSFER_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_TRANSFER_H

#include <string>

#include "download/curl_request.h"
#include "download/download_request.h"
#include "download/local_files.h"

namespace parchly {

// The headers of every HTTP request.
inline constexpr const char* kHttpRequestHeaders = "Accept: */*\r\nUser-Agent: Parchly\r\n";

inline constexpr const char* kOverwriteQuestion =
    "File already exists,\nclick OK if overwrite, click Cancel if rename.";
inline constexpr const char* kCreateTempFileFailure = "Couldn't open source file: ";
inline constexpr const char* kWriteTempFileFailure = "Couldn't write the downloaded data: ";

// A transfer that could not go on: the server refused access and the user
// did not supply credentials, or a redirect could not be followed.
class TransferAborted {
public:
    enum Reason { AuthenticationFailed, RedirectNotFollowed };
    explicit TransferAborted(Reason reason)
        : m_reason(reason)
    {
    }
    Reason reason() const { return m_reason; }
    // The message shown for the reason.
    std::string message() const;

private:
    Reason m_reason;
};

// One transfer of the request's address, including the saving step. False
// after a failure of the transfer (which has been reported to the user).
bool downloadHttp(DownloadRequest& request);
bool downloadFtp(DownloadRequest& request);

// Runs `remote` and copies the body of the response `want` accepts into
// `local` block by block, publishing progress in the request. `copied` tells
// whether such a response came. A cancelled copy deletes the temporary file;
// a finished one gets the remote modification time. Throws FileError when
// the temporary file cannot be written.
CURLcode copyToTempFile(DownloadRequest& request, CurlRequest& remote, TempFile& local,
                        const CurlRequest::WantBody& want, bool& copied);

// Moves the temporary file to localFolder + localFileName(localName, url), asking
// before it replaces a file unless overwrite is set; false on a file error.
bool saveDownloadedFile(DownloadRequest& request);

// Creates the temporary file; on failure tells the user, sets "File Error"
// and returns false.
bool createTempFile(DownloadRequest& request, TempFile& local);

// Ends a transfer: saves the temporary file when the transfer
// succeeded and was not cancelled, clears the running flag; returns `result`.
bool finishTransfer(DownloadRequest& request, bool result);

// Unpacks the collection just saved at localPath into localFolder, keeping
// the archive when the unpack did not complete or keepArchive is set; the
// status tells how it ended, a failure is told to the user too.
void unpackDownloadedCollection(DownloadRequest& request);

// Reports a failed write of the temporary file: message and "File Error".
void reportWriteFailure(DownloadRequest& request, const FileError& error);

} // namespace parchly

#endif

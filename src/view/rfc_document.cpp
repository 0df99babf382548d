#include "view/rfc_document.h"

#include "analysis/file_access.h"
#include "analysis/line_reader.h"

#include <QFile>
#include <QFileInfo>
#include <cstdint>

namespace parchly {

namespace {

// More lines than any RFC or index holds (the longest RFCs have about
// 40,000, the index about 60,000): the text control spends microseconds
// and hundreds of bytes on every line, so a file of a million empty lines
// would take seconds and most of a gigabyte to show.
constexpr qint64 kLineLimit = 200000;
// Eight times the size of the index, the largest file the program reads
// (the longest RFCs hold 1.5 MB): a bigger file would cost the view its
// size many times over in memory.
constexpr qint64 kSizeLimitMiB = 16;

// The lines of `bytes` as the analysis reads them: a line longer than its
// buffer counts once for each piece.
qint64 linesAsRead(const QByteArray& bytes)
{
    constexpr qint64 piece = qint64(kLineBufferSize) - 1;
    qint64 lines = 0;
    for (qint64 start = 0; start < bytes.size();) {
        qint64 end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        lines += (end - start + piece - 1) / piece;
        start = end;
    }
    return lines;
}

} // namespace

QString refusalOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    // The type and size are looked at before the file is opened: a FIFO
    // would block the open, and a device reports no size and never ends.
    const qint64 limit = kSizeLimitMiB * 1024 * 1024;
    const QString tooLarge =
        QStringLiteral("%1 is not an RFC text file: it holds more than %2 MB").arg(name).arg(kSizeLimitMiB);
    switch (fileRefusal(QFile::encodeName(path).toStdString(), std::uint64_t(limit))) {
    case FileRefusal::NotRegular:
        return QStringLiteral("%1 is not an RFC text file: it is not a regular file").arg(name);
    case FileRefusal::TooLarge:
        return tooLarge;
    default:
        break;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // At most the limit, should the file grow meanwhile.
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return tooLarge;
    if (bytes.contains('\0'))
        return QStringLiteral("%1 is not an RFC text file: it holds NUL bytes").arg(name);
    if (linesAsRead(bytes) > kLineLimit)
        return QStringLiteral("%1 is not an RFC text file: it holds more than %2 lines")
            .arg(name)
            .arg(kLineLimit);
    return QString();
}

RfcDocument::RfcDocument(const QString& path)
    : m_path(path)
    , m_limits{73, 56, 100}
{
}

} // namespace parchly

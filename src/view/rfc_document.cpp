#include "view/rfc_document.h"

#include "analysis/errata_placement.h"
#include "analysis/line_reader.h"

#include <QFile>
#include <QFileInfo>

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString name = QFileInfo(path).fileName();
    if (file.size() > kSizeLimitMiB * 1024 * 1024)
        return QStringLiteral("%1 is not an RFC text file: it holds more than %2 MB")
            .arg(name)
            .arg(kSizeLimitMiB);
    const QByteArray bytes = file.readAll();
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

void RfcDocument::setErrata(std::vector<Erratum> errata, LineReader& file)
{
    m_errata.clear();
    for (Erratum& erratum : errata)
        m_errata.push_back({std::move(erratum), ErratumPlacement()});
    placeErrata(file);
}

void RfcDocument::placeErrata(LineReader& file)
{
    if (m_errata.empty())
        return;
    std::vector<Erratum> errata;
    for (const PlacedErratum& placed : m_errata)
        errata.push_back(placed.erratum);
    const std::vector<ErratumPlacement> placements = parchly::placeErrata(m_text, file, errata);
    for (std::size_t i = 0; i < m_errata.size(); ++i)
        m_errata[i].placement = placements[i];
}

} // namespace parchly

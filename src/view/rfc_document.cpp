#include "view/rfc_document.h"

#include "analysis/analyse.h"
#include "analysis/errata_placement.h"
#include "analysis/file_access.h"
#include "analysis/line_reader.h"
#include "index/index_reader.h"
#include "settings/settings.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
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

RfcDocument::RfcDocument(const QString& path, QObject* parent)
    : QObject(parent)
    , m_path(path)
    , m_limits{73, 56, 100}
{
}

void RfcDocument::setErrata(std::vector<Erratum> errata)
{
    if (errata.empty() && m_errata.empty())
        return;
    std::optional<LineReader> file = LineReader::open(QFile::encodeName(m_path).toStdString());
    if (!file)
        return;
    m_errata.clear();
    for (Erratum& erratum : errata)
        m_errata.push_back({std::move(erratum), ErratumPlacement()});
    placeErrata(*file);
    emit errataChanged();
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

bool RfcDocument::isIndexPath() const
{
    return m_path.endsWith(QLatin1String("rfc-index.txt"), Qt::CaseSensitive);
}

bool RfcDocument::load(const RfcSettings& settings, const RfcIndexStatus* index)
{
    // The one read of the file: the reader's text serves the analysis and
    // then the text shown.
    std::optional<LineReader> reader = LineReader::open(QFile::encodeName(m_path).toStdString());
    if (!reader)
        return false;
    readFrom(*reader, settings, index);
    m_loaded = true;
    emit loaded();
    return true;
}

bool RfcDocument::recompose(const RfcSettings& settings, const RfcIndexStatus* index)
{
    std::optional<LineReader> reader = LineReader::open(QFile::encodeName(m_path).toStdString());
    if (!reader || !m_loaded)
        return false;
    emit aboutToRecompose();
    readFrom(*reader, settings, index);
    emit formatsChanged();
    return true;
}

void RfcDocument::readFrom(LineReader& file, const RfcSettings& settings, const RfcIndexStatus* index)
{
    m_text = RfcText();
    m_composition = ComposedFormats();
    if (isIndexPath()) {
        readIndex(m_text, file);
    } else {
        analyseText(m_text, &file, m_limits, settings.analysisOptions());
        // The errata follow the text as analysed afresh.
        placeErrata(file);
        // A README or a source file is shown as the plain text it is.
        if (!recognisedAsRfc(m_text))
            keepAsPlainText(m_text);
    }
    m_shownText = decodeRfcText(file.wholeText());
    // The text is shown afresh: nothing is cut and no separator is written.
    m_viewState = ViewState();
    if (!m_text.isIndex && !settings.UseOnlyDefaultText) {
        ShownText shown;
        shown.text = m_shownText.text;
        shown.latin1Lines = m_shownText.latin1Lines;
        m_composition = composeFormats(m_text, m_viewState.cuts, shown, settings, index);
        // A reference's number is found where a reader clicks it.
        for (const ReferenceNumberPlace& place : m_composition.referenceNumbers) {
            ReferenceEntry& entry = m_text.references[place.reference];
            entry.linkLine = place.line;
            entry.linkStart = place.start;
            entry.linkEnd = place.end;
        }
    }
}

void RfcDocument::setViewState(const ViewState& state)
{
    m_viewState = state;
    emit cutsChanged();
}

void RfcDocument::goToSectionHeading(int heading)
{
    if (heading < 0 || size_t(heading) >= m_text.headings.size())
        return;
    // A heading before the text (line 0) leads to the top.
    const FileLine line = FileLine::atNumber(std::max(m_text.headings[size_t(heading)].line, 1));
    emit moveRequested(DocumentPlace{shownLineOf(line)});
}

void RfcDocument::goToContentsEntry(int entry)
{
    ShownLine target = ShownLine::atIndex(-1);
    if (m_text.isIndex) {
        // The index is shown whole: its lines are the file's.
        if (entry >= 0 && size_t(entry) < m_text.indexEntries.size())
            target = ShownLine::atNumber(m_text.indexEntries[size_t(entry)].firstLine);
    } else if (entry >= 0 && size_t(entry) < m_text.contents.size()) {
        target = shownLineOf(FileLine::atNumber(m_text.contents[size_t(entry)].headingLine));
    }
    if (target.index() >= 0)
        emit moveRequested(DocumentPlace{target});
}

void RfcDocument::goToFileLine(FileLine line)
{
    emit moveRequested(DocumentPlace{firstShownLineFrom(m_text, m_viewState.cuts, line)});
}

void RfcDocument::goToRequirement(int index)
{
    if (index < 0 || size_t(index) >= m_text.requirements.size())
        return;
    const RequirementSentence& requirement = m_text.requirements[size_t(index)];
    emit moveRequested(
        DocumentPlace{shownLineOf(FileLine::atIndex(requirement.sentenceLine)), requirement.sentenceColumn});
}

void RfcDocument::goToErratum(int index)
{
    if (index < 0 || size_t(index) >= m_errata.size())
        return;
    const ErratumPlacement& placement = m_errata[size_t(index)].placement;
    for (int32_t file = placement.firstLine; file <= std::max(placement.firstLine, placement.lastLine) + 1;
         ++file) {
        const ShownLine shown = shownLineOf(FileLine::atIndex(file));
        if (shown.index() >= 0) {
            emit moveRequested(DocumentPlace{shown});
            return;
        }
    }
}

void RfcDocument::setCurrentLine(ShownLine line)
{
    m_currentLine = line;
    emit currentPositionChanged(line);
}

} // namespace parchly

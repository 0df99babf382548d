// The errata in the reading view: their markers (the "Errata" format's
// colour as a background tint), the tooltip and the click on a marker, and
// the way to where an erratum applies.
#include "settings/settings.h"
#include "view/errata_marks.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/text_composition.h"
#include "view/view_host.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace parchly {

namespace {

// The tint of a Technical erratum: the same hue, about twice as strong.
QColor strongerTint(const QColor& tint)
{
    if (tint.hsvHue() < 0)
        return tint.darker(120);
    return QColor::fromHsv(tint.hsvHue(), std::min(255, tint.hsvSaturation() * 2 + 30),
                           std::max(0, tint.value() - 20));
}

} // namespace

void ReadingView::setErrata(std::vector<Erratum> errata)
{
    if (errata.empty() && m_document->errata().empty())
        return;
    std::optional<LineReader> reader =
        LineReader::open(QFile::encodeName(m_document->pathName()).toStdString());
    if (!reader)
        return;
    m_document->setErrata(std::move(errata), *reader);
    if (m_initialised)
        markErrata();
}

void ReadingView::markErrata()
{
    freezeUpdates();
    {
        EditBlock block(*this);
        applyErrataMarks();
    }
    thawUpdates();
    makeReadOnly();
    clearModified();
}

void ReadingView::applyErrataMarks()
{
    if (rfc().isIndex)
        return;
    const std::vector<ErratumRun>& runs = errataRuns();
    // The tints of an earlier filter go first; nothing else in the text has
    // a background of its own.
    QTextCharFormat clear;
    clear.setBackground(QBrush());
    setSelection(0, -1);
    applyFormat(clear);
    const TextFormat format = settings().categoryFormat(kFormatErrata).value_or(defaultFormat(kFormatErrata));
    const QColor tint(int(format.colour & 0xFF), int((format.colour >> 8) & 0xFF),
                      int((format.colour >> 16) & 0xFF));
    QTextCharFormat editorial;
    editorial.setBackground(tint);
    QTextCharFormat technical;
    technical.setBackground(strongerTint(tint));
    for (const ErratumRun& run : runs) {
        setSelection(run.start, run.end);
        applyFormat(run.technical ? technical : editorial);
    }
    setSelection(0, 0);
}

const std::vector<ErratumRun>& ReadingView::errataRuns()
{
    // The runs count characters of the text as it stands: a cut or a
    // separator moves them, so they are composed again after any edit.
    const int revision = document()->revision();
    if (revision != m_errataRevision) {
        // The raw text ends each line with a paragraph separator; the marks
        // count lines by their line feeds.
        QString shown = document()->toRawText();
        shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_errataRuns = composeErrataMarks(rfc(), cuts(), shown, m_document->errata(), settings());
        m_errataRevision = revision;
    }
    return m_errataRuns;
}

int ReadingView::erratumAt(const QPoint& point)
{
    if (m_document->errata().empty() || rfc().isIndex)
        return -1;
    return erratumAtPosition(errataRuns(), cursorForPosition(point).position());
}

void ReadingView::goToErratum(int index)
{
    const std::vector<PlacedErratum>& errata = m_document->errata();
    if (index < 0 || index >= int(errata.size()))
        return;
    const ErratumPlacement& placement = errata[std::size_t(index)].placement;
    // The first of its lines that is shown: a cut header gives way to the
    // line after it.
    for (int32_t file = placement.firstLine; file <= std::max(placement.firstLine, placement.lastLine) + 1;
         ++file) {
        const int shown = m_document->shownLineOf(FileLine::atIndex(file)).index();
        if (shown >= 0) {
            jumpToShownLine(shown);
            return;
        }
    }
}

} // namespace parchly

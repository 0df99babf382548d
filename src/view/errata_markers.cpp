#include "view/errata_markers.h"

#include "platform/text_view.h"
#include "settings/settings.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

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

ErrataMarkers::ErrataMarkers(TextView& view, const RfcDocument& document, const ViewHost& host)
    : m_view(view)
    , m_document(document)
    , m_host(host)
{
}

void ErrataMarkers::mark()
{
    m_view.freezeUpdates();
    {
        EditBlock block(m_view);
        apply();
    }
    m_view.thawUpdates();
    m_view.makeReadOnly();
    m_view.clearModified();
}

void ErrataMarkers::apply()
{
    if (m_document.text().isIndex)
        return;
    const std::vector<ErratumRun>& marks = runs();
    // The tints of an earlier filter go first; nothing else in the text has
    // a background of its own.
    QTextCharFormat clear;
    clear.setBackground(QBrush());
    m_view.setSelection(0, -1);
    m_view.applyFormat(clear);
    const TextFormat format =
        m_host.settings().categoryFormat(kFormatErrata).value_or(defaultFormat(kFormatErrata));
    const QColor tint(int(format.colour & 0xFF), int((format.colour >> 8) & 0xFF),
                      int((format.colour >> 16) & 0xFF));
    QTextCharFormat editorial;
    editorial.setBackground(tint);
    QTextCharFormat technical;
    technical.setBackground(strongerTint(tint));
    for (const ErratumRun& run : marks) {
        m_view.setSelection(run.start, run.end);
        m_view.applyFormat(run.technical ? technical : editorial);
    }
    m_view.setSelection(0, 0);
}

const std::vector<ErratumRun>& ErrataMarkers::runs()
{
    // The runs count characters of the text as it stands: a cut or a
    // separator moves them, so they are composed again after any edit.
    const int revision = m_view.document()->revision();
    if (revision != m_revision) {
        // The raw text ends each line with a paragraph separator; the marks
        // count lines by their line feeds.
        QString shown = m_view.document()->toRawText();
        shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        m_runs = composeErrataMarks(m_document.text(), m_document.cuts(), shown, m_document.errata(),
                                    m_host.settings());
        m_revision = revision;
    }
    return m_runs;
}

int ErrataMarkers::erratumAt(const QPoint& point)
{
    if (m_document.errata().empty() || m_document.text().isIndex)
        return -1;
    return erratumAtPosition(runs(), m_view.cursorForPosition(point).position());
}

} // namespace parchly

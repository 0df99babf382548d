#include "view/errata_marks.h"

#include "analysis/rfc_text.h"
#include "settings/settings.h"

#include <QStringList>

#include <algorithm>

namespace parchly {

namespace {

// A tooltip shows this many lines of a long corrected text at most.
constexpr int kToolTipLines = 20;

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

bool shownByErrataFilter(const Erratum& erratum, const RfcSettings& settings)
{
    switch (erratumStatus(erratum.status)) {
    case ErratumStatus::Verified:
        return settings.ErrataShowVerified;
    case ErratumStatus::Held:
        return settings.ErrataShowHeld;
    case ErratumStatus::Rejected:
        return settings.ErrataShowRejected;
    case ErratumStatus::Reported:
    case ErratumStatus::Other:
        break;
    }
    return settings.ErrataShowReported;
}

std::vector<ErratumRun> composeErrataMarks(const RfcText& text, const LineCuts& cuts,
                                           const QString& shownText, const std::vector<PlacedErratum>& errata,
                                           const RfcSettings& settings)
{
    std::vector<int> lineStarts{0};
    for (qsizetype at = shownText.indexOf(QLatin1Char('\n')); at >= 0;
         at = shownText.indexOf(QLatin1Char('\n'), at + 1))
        lineStarts.push_back(int(at) + 1);
    const auto lineEnd = [&](std::size_t line) {
        return line + 1 < lineStarts.size() ? lineStarts[line + 1] - 1 : int(shownText.size());
    };
    std::vector<ErratumRun> runs;
    for (const bool technical : {false, true}) {
        for (std::size_t i = 0; i < errata.size(); ++i) {
            const PlacedErratum& placed = errata[i];
            if (isTechnical(placed.erratum) != technical || !shownByErrataFilter(placed.erratum, settings))
                continue;
            for (int32_t file = placed.placement.firstLine; file <= placed.placement.lastLine; ++file) {
                const ShownLine at = shownLineOf(text, cuts, FileLine::atIndex(file));
                const int32_t shown = at.index();
                // A cut line maps to the line shown in its place.
                if (shown < 0 || std::size_t(shown) >= lineStarts.size()
                    || fileLineOf(text, cuts, at) != FileLine::atIndex(file))
                    continue;
                int start = lineStarts[std::size_t(shown)];
                int end = lineEnd(std::size_t(shown));
                while (start < end && shownText[start].isSpace())
                    ++start;
                while (end > start && shownText[end - 1].isSpace())
                    --end;
                if (start < end)
                    runs.push_back({start, end, int(i), technical});
            }
        }
    }
    return runs;
}

int erratumAtPosition(const std::vector<ErratumRun>& runs, int position)
{
    int found = -1;
    for (const ErratumRun& run : runs) {
        if (position >= run.start && position < run.end)
            found = run.erratum; // a later run is a Technical one
    }
    return found;
}

QString erratumToolTip(const Erratum& erratum)
{
    // Rich text, so that a corrected text holding "<" or "&" shows as it is
    // and keeps its columns.
    QString tip = QStringLiteral("<p><b>Erratum %1</b>: %2, %3</p>")
                      .arg(fromUtf8(erratum.id).toHtmlEscaped(), fromUtf8(erratum.status).toHtmlEscaped(),
                           fromUtf8(erratum.type).toHtmlEscaped());
    QString corrected = fromUtf8(erratum.correctedText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!corrected.trimmed().isEmpty()) {
        QStringList lines = corrected.split(QLatin1Char('\n'));
        if (lines.size() > kToolTipLines) {
            lines = lines.mid(0, kToolTipLines);
            lines.append(QStringLiteral("[...]"));
        }
        tip += QStringLiteral("<p>Corrected text:</p><pre>") + lines.join(QLatin1Char('\n')).toHtmlEscaped()
            + QStringLiteral("</pre>");
    }
    return tip;
}

} // namespace parchly

// Formatting the text of an RFC shown afresh by category: the formats are
// the document's composition (text_composition.h), the view merges them in.
#include "settings/settings.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/text_composition.h"
#include "view/view_host.h"

#include <QTextBlock>
#include <QTextDocument>

#include <array>
#include <optional>

namespace parchly {

namespace {

TextFormat underlined(TextFormat format, Underline underline)
{
    if (underline == Underline::Added) {
        format.mask |= kMaskUnderline;
        format.effects |= kEffectUnderline;
    } else if (underline == Underline::Untouched) {
        format.mask &= ~kMaskUnderline;
    }
    return format;
}

} // namespace

void ReadingView::formatRfcText()
{
    const RfcSettings& options = settings();
    freezeUpdates();
    setNoWordWrap();
    {
        EditBlock block(*this);
        const TextFormat format =
            options.categoryFormat(kFormatDefault).value_or(defaultFormat(kFormatDefault));
        // The whole text starts from "Default" alone, as streamed text does.
        setSelection(0, -1);
        setSelectionFormat(charFormat(format));
        setSelection(0, 0);
        if (options.UseOnlyDefaultText)
            session().contentLinksOff = true;
        else
            applyComposedFormats(m_document->composition());
        m_errataMarkers.apply();
    }
    thawUpdates();
    makeReadOnly();
    clearModified();
}

void ReadingView::applyComposedFormats(const ComposedFormats& composed)
{
    // A long RFC has thousands of runs over a handful of categories: each
    // category's format is converted once, not once per run.
    const RfcSettings& options = settings();
    constexpr int kUnderlines = 3;
    std::array<std::optional<QTextCharFormat>, kFormatCategoryCount * kUnderlines> converted;
    for (const FormatRun& run : composed.runs) {
        if (run.category < 0 || run.category >= kFormatCategoryCount)
            continue;
        std::optional<QTextCharFormat>& chars =
            converted[static_cast<std::size_t>(run.category * kUnderlines + static_cast<int>(run.underline))];
        if (!chars) {
            const TextFormat format =
                options.categoryFormat(run.category).value_or(defaultFormat(run.category));
            chars = charFormat(underlined(format, run.underline));
        }
        setSelection(run.start, run.end);
        applyFormat(*chars);
    }
}

} // namespace parchly

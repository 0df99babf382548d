#include "view/shown_formats.h"

#include "platform/text_view.h"
#include "settings/settings.h"
#include "view/text_composition.h"

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

void applyComposedFormats(TextView& view, const ComposedFormats& composed, const RfcSettings& settings)
{
    // A long RFC has thousands of runs over a handful of categories: each
    // category's format is converted once, not once per run.
    constexpr int kUnderlines = 3;
    std::array<std::optional<QTextCharFormat>, kFormatCategoryCount * kUnderlines> converted;
    for (const FormatRun& run : composed.runs) {
        if (run.category < 0 || run.category >= kFormatCategoryCount)
            continue;
        std::optional<QTextCharFormat>& chars =
            converted[static_cast<std::size_t>(run.category * kUnderlines + static_cast<int>(run.underline))];
        if (!chars) {
            const TextFormat format =
                settings.categoryFormat(run.category).value_or(defaultFormat(run.category));
            chars = view.charFormat(underlined(format, run.underline));
        }
        view.setSelection(run.start, run.end);
        view.applyFormat(*chars);
    }
}

} // namespace

void formatShownText(TextView& view, const ComposedFormats& composition, const RfcSettings& settings)
{
    view.freezeUpdates();
    view.setNoWordWrap();
    {
        EditBlock block(view);
        const TextFormat format =
            settings.categoryFormat(kFormatDefault).value_or(defaultFormat(kFormatDefault));
        // The whole text starts from "Default" alone, as streamed text does.
        view.setSelection(0, -1);
        view.setSelectionFormat(view.charFormat(format));
        view.setSelection(0, 0);
        if (!settings.UseOnlyDefaultText)
            applyComposedFormats(view, composition, settings);
    }
    view.thawUpdates();
    view.makeReadOnly();
    view.clearModified();
}

} // namespace parchly

// Formatting the freshly streamed text of an RFC by category: the formats
// come from composeFormats (text_composition.h), the view merges them in.
#include "settings/settings.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/text_composition.h"
#include "view/view_host.h"

#include <QTextBlock>
#include <QTextDocument>

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

ShownText ReadingView::shownText() const
{
    ShownText shown;
    const int lines = lineCount();
    shown.lines.reserve(lines);
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        shown.lines.push_back(block.text());
    shown.latin1Lines = streamedLatin1Lines();
    return shown;
}

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
            applyComposedFormats(composeFormats(rfc(), cuts(), shownText(), options, m_host->indexStatus()));
    }
    thawUpdates();
    makeReadOnly();
    clearModified();
}

void ReadingView::applyComposedFormats(const ComposedFormats& composed)
{
    const RfcSettings& options = settings();
    for (const FormatRun& run : composed.runs) {
        const TextFormat format = options.categoryFormat(run.category).value_or(defaultFormat(run.category));
        setSelection(run.start, run.end);
        applyFormat(charFormat(underlined(format, run.underline)));
    }
    // The view finds a reference's number where a reader clicks it.
    std::vector<ReferenceEntry>& references = rfc().references;
    for (const ReferenceNumberPlace& place : composed.referenceNumbers) {
        ReferenceEntry& entry = references[place.reference];
        entry.linkLine = place.line;
        entry.linkStart = place.start;
        entry.linkEnd = place.end;
    }
}

} // namespace parchly

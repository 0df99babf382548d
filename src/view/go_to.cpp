#include "view/go_to.h"

#include "analysis/rfc_text.h"
#include "platform/dialogs.h"
#include "platform/shown_lines.h"
#include "view/go_to_dialog.h"
#include "view/line_placement.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <algorithm>

namespace parchly {

void askAndGoTo(ReadingView& view)
{
    const RfcDocument& document = *view.rfcDocument();
    const RfcText& text = document.text();
    // Lines are the file's, counted from 1, whatever is hidden.
    const int fileLines = std::max(1, std::max(int(text.lineCount), text.isIndex ? view.lineCount() : 0));
    ReadingSession& session = view.host()->session();
    GoToDialog dialog(goToKinds(fileLines, text.pageCount, text.isIndex), session.lastGoToChoice, &view);
    const int answer = dialogs().runModal(dialog);
    view.setFocus();
    if (answer != QDialog::Accepted)
        return;
    const GoToChoice choice = dialog.choice();
    int line = 0;
    if (choice.kind == kGoToLine) {
        line = std::clamp(document.shownLineOf(FileLine::atNumber(choice.number)).index(), 0,
                          std::max(view.lineCount() - 1, 0));
    } else {
        const std::vector<int32_t>& boundaries = shownPageEnds(text, document.cuts());
        if (choice.number < 1 || choice.number > static_cast<int>(text.pageEnds.size())
            || choice.number > static_cast<int>(boundaries.size()))
            return;
        line = boundaries[choice.number - 1] + 1;
    }
    putLineAtTop(view, line);
    view.caretMoved();
}

} // namespace parchly

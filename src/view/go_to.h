// Go To: asks for a line of the file or a page and takes the reader there.
#ifndef PARCHLY_VIEW_GO_TO_H
#define PARCHLY_VIEW_GO_TO_H

namespace parchly {

class ReadingView;

// Asks with the Go To dialog (the last choice offered again) and puts the
// chosen line, or the first line of the chosen page, at the top; lines are
// the file's, counted from 1, whatever is hidden.
void askAndGoTo(ReadingView& view);

} // namespace parchly

#endif

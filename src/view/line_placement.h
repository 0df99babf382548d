// Where the program puts a line it takes the reader to: at the top of the
// view, or in its upper third, where the eye looks first.
#ifndef PARCHLY_VIEW_LINE_PLACEMENT_H
#define PARCHLY_VIEW_LINE_PLACEMENT_H

namespace parchly {

class TextView;

// Scrolls so that `line` is the first visible line and puts the caret at
// its start.
void putLineAtTop(TextView& view, int line);

// Scrolls `line` to the top unless it already stands in the upper third of
// the view.
void bringIntoUpperThird(TextView& view, int line);

} // namespace parchly

#endif

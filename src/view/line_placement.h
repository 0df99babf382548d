// Lines and columns of a reading view's text: where the program puts a line
// it takes the reader to (at the top of the view, or in its upper third,
// where the eye looks first), and the character column of a byte column.
#ifndef PARCHLY_VIEW_LINE_PLACEMENT_H
#define PARCHLY_VIEW_LINE_PLACEMENT_H

namespace parchly {

class RfcDocument;
class TextView;

// Scrolls so that `line` is the first visible line and puts the caret at
// its start.
void putLineAtTop(TextView& view, int line);

// Scrolls `line` to the top unless it already stands in the upper third of
// the view.
void bringIntoUpperThird(TextView& view, int line);

// The character column in shown line `shownLine` of byte column
// `byteColumn` of the file line shown there: a line the file holds in
// Latin-1 counts a character per byte, a UTF-8 line does not.
int charColumnOf(const TextView& view, const RfcDocument& document, int shownLine, int byteColumn);

} // namespace parchly

#endif

// Where things stand in the reading view's text control: the line under a
// point and the columns of a line's text. Shared by the links of an RFC and
// those of the RFC index.
#ifndef PARCHLY_PLATFORM_TEXT_GEOMETRY_H
#define PARCHLY_PLATFORM_TEXT_GEOMETRY_H

#include <QPoint>
#include <QString>

namespace parchly {

class TextView;

// The shown line under vertical position `y`: the first visible line when
// its top is at or below y, else the last following line whose top lies
// above y (lines scrolled out above the view are never taken).
int lineFromPoint(const TextView& view, int y);

// Whether `point` lies in the control's formatting rectangle (never for an
// empty one). Every hit test asks this first.
bool inFormatRect(const TextView& view, const QPoint& point);

// The length of `line` without its line end.
int lengthWithoutLineEnd(const QString& line);

} // namespace parchly

#endif

// The zoom of a reading view: the text of every format scaled together by a
// number of steps (0: the formats' own sizes), each a tenth more or less, as
// in the usual viewers.
#ifndef PARCHLY_VIEW_TEXT_ZOOM_H
#define PARCHLY_VIEW_TEXT_ZOOM_H

#include "view/command_target.h"

#include <QtGlobal>

namespace parchly {

class TextView;

// The scale of the text at `steps` zoom steps (1 at 0).
qreal zoomScale(int steps);

class TextZoom : public CommandTarget {
public:
    explicit TextZoom(TextView& view);

    int steps() const { return m_steps; }
    // Scales the text shown to `steps`, held within the settings' limits.
    void setSteps(int steps);
    // The text was shown afresh in the formats' own sizes: it takes the
    // current steps.
    void scaleFreshText();

    // Zoom In, Zoom Out and Reset Zoom.
    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

private:
    void scaleBy(qreal factor);

    TextView& m_view;
    int m_steps = 0;
};

} // namespace parchly

#endif

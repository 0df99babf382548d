#include "view/text_zoom.h"

#include "platform/text_view.h"
#include "settings/settings.h"
#include "view/command_ids.h"

#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <vector>

namespace parchly {

qreal zoomScale(int steps)
{
    return std::pow(1.1, steps);
}

TextZoom::TextZoom(TextView& view)
    : m_view(view)
{
}

void TextZoom::setSteps(int steps)
{
    steps = std::clamp(steps, kZoomOutLimit, kZoomInLimit);
    if (steps == m_steps)
        return;
    // The factor goes from the old scale to the new one.
    const qreal factor = zoomScale(steps) / zoomScale(m_steps);
    m_steps = steps;
    scaleBy(factor);
}

void TextZoom::scaleFreshText()
{
    if (m_steps != 0)
        scaleBy(zoomScale(m_steps));
}

bool TextZoom::updateCommand(int id, CommandState& state)
{
    switch (id) {
    case kCmdZoomIn:
        state.enabled = m_steps < kZoomInLimit;
        return true;
    case kCmdZoomOut:
        state.enabled = m_steps > kZoomOutLimit;
        return true;
    case kCmdZoomReset:
        state.enabled = m_steps != 0;
        return true;
    default:
        return false;
    }
}

bool TextZoom::runCommand(int id)
{
    switch (id) {
    case kCmdZoomIn:
        setSteps(m_steps + 1);
        return true;
    case kCmdZoomOut:
        setSteps(m_steps - 1);
        return true;
    case kCmdZoomReset:
        setSteps(0);
        return true;
    default:
        return false;
    }
}

void TextZoom::scaleBy(qreal factor)
{
    const int top = m_view.firstVisibleLine();
    QTextDocument* text = m_view.document();
    QFont font = text->defaultFont();
    font.setPointSizeF(font.pointSizeF() * factor);
    text->setDefaultFont(font);
    // The formats that carry a size of their own scale with the default;
    // the runs are listed first, as changing them rearranges the fragments.
    struct Run {
        int start;
        int end;
        qreal size;
    };
    std::vector<Run> runs;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment part = fragment.fragment();
            const QTextCharFormat format = part.charFormat();
            if (format.hasProperty(QTextFormat::FontPointSize))
                runs.push_back({part.position(), part.position() + part.length(), format.fontPointSize()});
        }
    }
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        QTextCharFormat scaled;
        scaled.setFontPointSize(run.size * factor);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(scaled);
    }
    cursor.endEditBlock();
    m_view.clearModified();
    m_view.scrollLines(top - m_view.firstVisibleLine());
}

} // namespace parchly

// The RFC index as the reading view shows it: all text in "Default", and
// only the current entry (the one holding the caret) live, its title and
// the RFC numbers of its groups shown in "Subtitles" and underlined.
#ifndef PARCHLY_INDEX_INDEX_VIEW_H
#define PARCHLY_INDEX_INDEX_VIEW_H

#include "settings/formats.h"

#include <QPoint>
#include <QStringList>
#include <string>
#include <vector>

namespace parchly {

class TextView;
struct LimitsBlock;
struct RfcSettings;
struct RfcText;

// A run of columns [start, end) on one line.
struct ColumnSpan {
    int start = 0;
    int end = 0;
};

// Where the title of an entry stands in its shown lines (`lines` from its
// first line, each with its line end): one span per line of the title. The
// title starts after the number and the blanks after it, continues on the
// following non-blank lines after their indentation, and ends before the
// first "." that a blank or the line end follows.
std::vector<ColumnSpan> indexTitleSpans(const QStringList& lines);

// The entry's shown lines as one text for parseIndexEntry, one byte per
// character (characters beyond ASCII become "?"), so that an offset in the
// parsed text is an offset in characters from the entry's first line.
std::string indexEntryParseText(const QStringList& lines);

// The entry of `index` whose line range holds line `line` (0-based; the
// index is shown whole); -1 when none does.
int indexEntryAtLine(const RfcText& index, int line);

class RfcIndexView {
public:
    RfcIndexView(TextView& view, RfcText& index, const RfcSettings& settings, const LimitsBlock& limits);

    // Composes the freshly streamed index: all "Default", the first entry
    // at the top and current.
    void formatRfcIndex();

    // Makes the entry of shown line `line` (-1: the caret's line) current.
    void updateCurrentIndexEntry(int line);

    // Entry `entry` in `format`: with its title and numbers underlined when
    // `on`, the whole entry without underline when not.
    void decorateIndexEntry(int entry, const TextFormat& format, bool on);

    // The index of the entry whose title `point` lies on, else -1.
    int hitIndexTitle(const QPoint& point) const;
    // The RFC number under `point` in an entry's groups, else -1.
    int hitIndexNumber(const QPoint& point) const;

    // The entry whose line range holds shown line `line` (0-based); -1.
    int entryAtLine(int line) const { return indexEntryAtLine(m_index, line); }

    // The height of the line under the pointer at the last number hit test.
    int lineHeight() const { return m_lineHeight; }

private:
    QStringList entryLines(int entry) const;
    TextFormat format(int category) const;

    TextView& m_view;
    RfcText& m_index;
    const RfcSettings& m_settings;
    const LimitsBlock& m_limits;
    mutable int m_lineHeight = 0;
};

} // namespace parchly

#endif

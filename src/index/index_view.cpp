#include "index/index_view.h"

#include "analysis/rfc_text.h"
#include "settings/settings.h"
#include "index/index_entry.h"
#include "platform/text_view.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <QScrollBar>
#include <algorithm>

namespace parchly {

namespace {

// The numbers of one entry that are underlined and answer the pointer: far
// more than any real entry lists, while an entry of 170,000 numbers would
// take seconds each time it became current.
constexpr std::size_t kLiveNumberLimit = 2000;

bool endsTitle(const QString& line, int dot)
{
    if (dot + 1 >= line.size())
        return true;
    const QChar next = line[dot + 1];
    return next == QLatin1Char(' ') || next == QLatin1Char('\t') || next == QLatin1Char('\r')
        || next == QLatin1Char('\n');
}

// The number of decimal digits at `offset`.
int digitRun(const std::string& text, std::size_t offset)
{
    std::size_t end = offset;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    return static_cast<int>(end - offset);
}

TextFormat withUnderline(TextFormat format, bool on)
{
    format.mask |= kMaskUnderline;
    if (on)
        format.effects |= kEffectUnderline;
    else
        format.effects &= ~kEffectUnderline;
    return format;
}

// Keeps the scroll position while the caret is restored, so that a changed
// decoration never pulls an off-screen caret into view.
class ScrollKeeper {
public:
    explicit ScrollKeeper(TextView& view)
        : m_view(view)
        , m_vertical(view.verticalScrollBar()->value())
        , m_horizontal(view.horizontalScrollBar()->value())
    {
    }
    ~ScrollKeeper()
    {
        m_view.verticalScrollBar()->setValue(m_vertical);
        m_view.horizontalScrollBar()->setValue(m_horizontal);
    }

private:
    TextView& m_view;
    int m_vertical;
    int m_horizontal;
};

} // namespace

std::vector<ColumnSpan> indexTitleSpans(const QStringList& lines)
{
    std::vector<ColumnSpan> spans;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i > 0 && atLineEnd(line, skipBlanks(line, 0)))
            break;
        int start = 0;
        if (i == 0) {
            while (start < line.size() && line[start].isDigit())
                ++start;
            start = skipBlanks(line, start);
        } else {
            start = skipBlanks(line, 0);
        }
        const int length = lengthWithoutLineEnd(line);
        for (int dot = line.indexOf(QLatin1Char('.'), start); dot >= 0 && dot < length;
             dot = line.indexOf(QLatin1Char('.'), dot + 1)) {
            if (endsTitle(line, dot)) {
                spans.push_back({start, dot});
                return spans;
            }
        }
        spans.push_back({start, std::max(start, length)});
    }
    return spans;
}

std::string indexEntryParseText(const QStringList& lines)
{
    std::string text;
    for (const QString& line : lines)
        for (QChar c : line)
            text += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    return text;
}

RfcIndexView::RfcIndexView(TextView& view, RfcText& index, const RfcSettings& settings,
                           const LimitsBlock& limits)
    : m_view(view)
    , m_index(index)
    , m_settings(settings)
    , m_limits(limits)
{
}

TextFormat RfcIndexView::format(int category) const
{
    return m_settings.categoryFormat(category).value_or(defaultFormat(category));
}

QStringList RfcIndexView::entryLines(int entry) const
{
    QStringList lines;
    const RfcIndexEntry& item = m_index.indexEntries[entry];
    const int count = m_view.lineCount();
    for (int line = item.firstLine - 1; line <= item.lastLine - 1 && line < count; ++line)
        lines << m_view.lineText(line);
    return lines;
}

int indexEntryAtLine(const RfcText& index, int line)
{
    const auto& entries = index.indexEntries;
    auto after =
        std::upper_bound(entries.begin(), entries.end(), line + 1,
                         [](int number, const RfcIndexEntry& entry) { return number < entry.firstLine; });
    if (after == entries.begin())
        return -1;
    const auto holder = std::prev(after);
    return line + 1 <= holder->lastLine ? static_cast<int>(holder - entries.begin()) : -1;
}

void RfcIndexView::formatRfcIndex()
{
    m_view.freezeUpdates();
    m_view.setNoWordWrap();
    m_view.setSelection(0, -1);
    m_view.applyFormat(format(kFormatDefault));
    m_view.setSelection(0, 0);
    if (!m_index.indexEntries.empty()) {
        // The caret goes to the first entry itself, not to whatever line is
        // on top: a view not laid out yet cannot scroll.
        const int firstLine = m_index.indexEntries.front().firstLine - 1;
        m_view.scrollLines(firstLine - m_view.firstVisibleLine());
        m_view.setSelection(m_view.lineStart(firstLine), m_view.lineStart(firstLine));
        updateCurrentIndexEntry(firstLine);
    }
    m_view.thawUpdates();
    m_view.makeReadOnly();
    m_view.clearModified();
}

void RfcIndexView::updateCurrentIndexEntry(int line)
{
    if (!m_index.isIndex)
        return;
    if (line == -1)
        line = m_view.lineFromPosition(m_view.selectedRange().end);
    const auto& entries = m_index.indexEntries;
    auto after =
        std::upper_bound(entries.begin(), entries.end(), line + 1,
                         [](int number, const RfcIndexEntry& entry) { return number < entry.firstLine; });
    if (after == entries.begin())
        return;
    const int entry = static_cast<int>(std::prev(after) - entries.begin());
    if (entry == m_index.currentEntry)
        return;
    decorateIndexEntry(entry, format(kFormatSubtitles), true);
    decorateIndexEntry(m_index.currentEntry, format(kFormatDefault), false);
    m_index.currentEntry = entry;
}

void RfcIndexView::decorateIndexEntry(int entry, const TextFormat& textFormat, bool on)
{
    if (entry < 0 || entry >= static_cast<int>(m_index.indexEntries.size()))
        return;
    const RfcIndexEntry& item = m_index.indexEntries[entry];
    const int first = item.firstLine - 1;
    if (first < 0 || first >= m_view.lineCount())
        return;
    const int p = m_view.lineStart(first);

    ScrollKeeper scroll(m_view);
    m_view.setSelectionHidden(true);
    const TextSelection kept = m_view.selectedRange();
    {
        EditBlock block(m_view);
        if (!on) {
            m_view.setSelection(p, m_view.lineStart(item.lastLine));
            m_view.applyFormat(withUnderline(textFormat, false));
        } else {
            const std::string text = indexEntryParseText(entryLines(entry));
            IndexEntryFields fields;
            parseIndexEntry(text, m_limits, fields);
            const TextFormat linkFormat = withUnderline(textFormat, true);

            const int titleStart = p + fields.titleStart;
            const int titleEnd = titleStart + static_cast<int>(fields.title.size());
            for (int line = first; line < m_view.lineCount(); ++line) {
                const int lineStart = m_view.lineStart(line);
                if (lineStart >= titleEnd)
                    break;
                const int from = std::max(lineStart + skipBlanks(m_view.lineText(line), 0), titleStart);
                const int nextStart = m_view.lineStart(line + 1);
                const int to = std::min(nextStart < 0 ? titleEnd : nextStart, titleEnd);
                if (from < to) {
                    m_view.setSelection(from, to);
                    m_view.applyFormat(linkFormat);
                }
            }
            std::size_t live = 0;
            for (const IndexNumberList* group :
                 {&fields.obsoletes, &fields.obsoletedBy, &fields.updates, &fields.updatedBy, &fields.also})
                for (std::size_t k = 0; k < group->offsets.size() && live < kLiveNumberLimit; ++k, ++live) {
                    const int32_t offset = group->offsets[k];
                    m_view.setSelection(p + offset, p + offset + digitRun(text, offset));
                    m_view.applyFormat(linkFormat);
                }
        }
        m_view.setSelection(kept.start, kept.end);
    }
    m_view.clearModified();
    m_view.setSelectionHidden(false);
}

int RfcIndexView::hitIndexTitle(const QPoint& point) const
{
    if (!inFormatRect(m_view, point) || !m_index.isIndex)
        return -1;
    const int line = lineFromPoint(m_view, point.y());
    // Any entry's title and numbers follow on a single click, not only the
    // current one's: a first click that only made the entry current was
    // lost on the user.
    const int entry = entryAtLine(line);
    if (entry < 0)
        return -1;
    const std::vector<ColumnSpan> spans = indexTitleSpans(entryLines(entry));
    const int row = line - (m_index.indexEntries[entry].firstLine - 1);
    if (row < 0 || row >= static_cast<int>(spans.size()))
        return -1;
    const int lineStart = m_view.lineStart(line);
    const int left = m_view.positionToPoint(lineStart + spans[row].start).x();
    const int right = m_view.positionToPoint(lineStart + spans[row].end).x();
    return left <= point.x() && point.x() <= right ? entry : -1;
}

int RfcIndexView::hitIndexNumber(const QPoint& point) const
{
    const int line = lineFromPoint(m_view, point.y());
    const int lineStart = m_view.lineStart(line);
    const int nextStart = m_view.lineStart(line + 1);
    if (lineStart < 0 || nextStart < 0)
        return -1;
    m_lineHeight = m_view.positionToPoint(nextStart).y() - m_view.positionToPoint(lineStart).y();
    if (!inFormatRect(m_view, point) || !m_index.isIndex)
        return -1;
    const int entry = entryAtLine(line);
    if (entry < 0)
        return -1;

    const std::string text = indexEntryParseText(entryLines(entry));
    IndexEntryFields fields;
    parseIndexEntry(text, m_limits, fields);
    const int p = m_view.lineStart(m_index.indexEntries[entry].firstLine - 1);
    std::size_t live = 0;
    for (const IndexNumberList* group :
         {&fields.obsoletes, &fields.obsoletedBy, &fields.updates, &fields.updatedBy, &fields.also})
        for (std::size_t k = 0; k < group->offsets.size() && live < kLiveNumberLimit; ++k, ++live) {
            const int offset = group->offsets[k];
            const QPoint first = m_view.positionToPoint(p + offset);
            const int right = m_view.positionToPoint(p + offset + digitRun(text, offset)).x();
            if (first.x() <= point.x() && point.x() <= right && first.y() <= point.y()
                && point.y() <= first.y() + m_lineHeight)
                return group->numbers[k];
        }
    return -1;
}

} // namespace parchly

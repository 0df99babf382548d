// The back and forward history of one reading view: the selections the
// reader jumped from and to, kept in the file's line numbering so that they
// stay valid while headers and footers are hidden or shown.
#ifndef PARCHLY_VIEW_HISTORY_H
#define PARCHLY_VIEW_HISTORY_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace parchly {

struct HistoryEntry {
    HistoryEntry() = default;
    HistoryEntry(int32_t startLine_, int32_t startColumn_, int32_t endLine_, int32_t endColumn_,
                 std::string document_ = std::string())
        : startLine(startLine_)
        , startColumn(startColumn_)
        , endLine(endLine_)
        , endColumn(endColumn_)
        , document(std::move(document_))
    {
    }

    int32_t startLine = 0; // file line (0-based) of the selection's start
    int32_t startColumn = 0; // offset of the start in its shown line
    int32_t endLine = 0; // file line of the selection's end
    int32_t endColumn = 0; // offset of the end in its shown line
    // The file line shown at the top of the view when the entry was made;
    // -1 when unknown. Not part of the place: the same selection seen
    // scrolled elsewhere is the same entry, which keeps the latest view.
    int32_t topLine = -1;
    // Empty: a position in this view. Otherwise the path of the document a
    // link in another window came from: going back to the entry brings
    // that window forward at the position.
    std::string document;

    bool operator==(const HistoryEntry& other) const
    {
        return startLine == other.startLine && startColumn == other.startColumn && endLine == other.endLine
            && endColumn == other.endColumn && document == other.document;
    }
};

class PositionHistory {
public:
    // Appends `entry` after the current position, dropping every entry
    // ahead of it; when it equals the current entry, only takes its top line.
    void record(const HistoryEntry& entry);
    // Puts `entry` just ahead of the current position, dropping whatever was
    // ahead, so that going forward leads to it (the window the reader went
    // back from).
    void recordAhead(const HistoryEntry& entry);

    bool canGoBack() const;
    bool canGoForward() const;

    // Moves the position and gives the entry to restore; null when the move
    // is not possible.
    const HistoryEntry* goBack();
    const HistoryEntry* goForward();

    // -1 while empty, otherwise the index of the current entry.
    int32_t position() const { return m_position; }
    const std::vector<HistoryEntry>& entries() const { return m_entries; }

private:
    std::vector<HistoryEntry> m_entries;
    int32_t m_position = -1;
};

} // namespace parchly

#endif

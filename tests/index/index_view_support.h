// An RFC index read and shown the way the reading view shows it, without
// the windows around the view.
#ifndef PARCHLY_TESTS_INDEX_INDEX_VIEW_SUPPORT_H
#define PARCHLY_TESTS_INDEX_INDEX_VIEW_SUPPORT_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "app/settings.h"
#include "index/index_reader.h"
#include "index/index_view.h"
#include "platform/text_view.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

namespace parchly::test {

struct ShownIndex {
    TextView view;
    RfcText index;
    RfcSettings settings;
    LimitsBlock limits;
    RfcIndexView part{view, index, settings, limits};

    // Reads and shows the index file at `path`; false when it cannot be read.
    bool load(const std::string& path)
    {
        std::string bytes;
        std::optional<LineReader> reader = LineReader::open(path);
        if (!reader || !readTextModeFile(path, bytes))
            return false;
        readIndex(index, &*reader, limits);
        view.resize(900, 500);
        view.show();
        bool delivered = false;
        view.StreamInPlainText([&] {
            std::string chunk = delivered ? std::string() : bytes;
            delivered = true;
            return chunk;
        });
        part.FormatRfcIndex();
        return true;
    }

    // The position of the first occurrence of `text` at or after `from`.
    int find(const QString& text, int from = 0) const
    {
        return view.document()->toPlainText().indexOf(text, from);
    }

    bool underlined(int position) const
    {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().fontUnderline();
    }

    // Whether every character of [start, end) is underlined (or none is).
    bool allUnderlined(int start, int end, bool expected = true) const
    {
        for (int position = start; position < end; ++position)
            if (underlined(position) != expected)
                return false;
        return true;
    }

    // A point inside the character at `position`.
    QPoint pointAt(int position) const { return view.PositionToPoint(position) + QPoint(2, 3); }

    void placeCaret(int position)
    {
        view.SetSelection(position, position);
        part.UpdateCurrentIndexEntry(-1);
    }
};

} // namespace parchly::test

#endif

// The reading view's text control: a read-only QPlainTextEdit without word
// wrap and without undo, with the operations the view performs on it.
// Positions are UTF-16 character positions of the shown text; lines are
// 0-based and each is exactly one line of the text as streamed in.
#ifndef PARCHLY_PLATFORM_TEXT_VIEW_H
#define PARCHLY_PLATFORM_TEXT_VIEW_H

#include "platform/char_format.h"
#include "platform/text_decoding.h"
#include "settings/formats.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <functional>
#include <string>
#include <vector>

namespace parchly {

struct TextSelection {
    int start = 0;
    int end = 0;
};

class TextView : public QPlainTextEdit {
    Q_OBJECT
public:
    // Hands over the next bytes of the source; empty when there are no more.
    using ReadCallback = std::function<std::string()>;

    explicit TextView(QWidget* parent = nullptr);

    // Replaces the whole content with the bytes the callback delivers, as
    // plain text (decoded as decodeRfcText does).
    void streamInPlainText(const ReadCallback& source);
    // Shows text decoded already (decodeRfcText), as streaming its bytes would.
    void showDecodedText(const DecodedText& decoded);

    // 0-based lines of the text as last streamed in that were shown byte for
    // byte because they are not valid UTF-8 (see byteColumnToCharColumn).
    const std::vector<int32_t>& streamedLatin1Lines() const { return m_latin1Lines; }

    void setDefaultFormat(const TextFormat& format);

    // The format as a character format, converted once for this view.
    QTextCharFormat charFormat(const TextFormat& format) { return m_charFormats.charFormat(format); }

    // `end` -1 means the end of the text; both are clamped to the text.
    void setSelection(int start, int end);
    TextSelection selectedRange() const;

    // Merges the format into the selection: attributes outside the format's
    // mask stay as they are.
    void applyFormat(const TextFormat& format);
    void applyFormat(const QTextCharFormat& format);

    // Gives the selection exactly this format: every attribute it does not
    // set goes back to the text's default. Much faster than merging over a
    // long text whose characters carry no format of their own yet.
    void setSelectionFormat(const QTextCharFormat& format);

    // Replaces the selection (an empty text deletes it); no undo record.
    void replaceSelection(const QString& text);

    int lineCount() const;
    int firstVisibleLine() const;
    // How many whole lines the viewport holds (at least 1).
    int visibleLineCount() const;
    // The positions from the start of the first line in view to the end of
    // the last one (at least partly in view).
    TextSelection visibleRange() const;
    int lineStart(int line) const; // -1 when there is no such line
    int lineFromPosition(int position) const;
    // The line's text with its line end ("\n"; none on the last line).
    QString lineText(int line) const;

    QPoint positionToPoint(int position) const;
    QRect formatRect() const;
    void scrollLines(int count);
    void setSelectionHidden(bool hide);
    void makeReadOnly();
    void clearModified();
    void setNoWordWrap();

    // While frozen the view does not repaint, so that its text can be
    // rebuilt without flicker; thawing repaints it once. The view stays
    // visible throughout (this is not QWidget::hide()).
    void freezeUpdates();
    void thawUpdates();
    bool updatesFrozen() const { return m_updatesFrozen; }

    // Batches every change between the two into one document edit, so that
    // the layout follows once instead of after each step. Selections set in
    // between reach the visible caret at the end. Calls nest.
    void beginEditBlock();
    void endEditBlock();

private:
    QTextCursor m_work;
    CharFormatCache m_charFormats;
    std::vector<int32_t> m_latin1Lines;
    int m_batchDepth = 0;
    bool m_updatesFrozen = false;
    bool m_selectionHidden = false;
};

// Opens an edit block for the lifetime of the object.
class EditBlock {
public:
    explicit EditBlock(TextView& view)
        : m_view(view)
    {
        m_view.beginEditBlock();
    }
    ~EditBlock() { m_view.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    TextView& m_view;
};

} // namespace parchly

#endif

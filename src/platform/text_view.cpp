#include "platform/text_view.h"

#include "platform/char_format.h"
#include "platform/text_decoding.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace parchly {

TextView::TextView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setUndoRedoEnabled(false);
    setNoWordWrap();
    makeReadOnly();
    m_work = textCursor();
}

void TextView::streamInPlainText(const ReadCallback& source)
{
    DecodedText decoded;
    {
        // The first piece is taken over, not copied: a caller that hands
        // over the whole file at once costs no second copy of a big file.
        std::string bytes = source();
        if (!bytes.empty()) {
            for (std::string chunk = source(); !chunk.empty(); chunk = source())
                bytes += chunk;
        }
        decoded = decodeRfcText(bytes);
    }
    showDecodedText(decoded);
}

void TextView::showDecodedText(const DecodedText& decoded)
{
    m_latin1Lines = decoded.latin1Lines;
    setPlainText(decoded.text);
    m_work = textCursor();
}

void TextView::setDefaultFormat(const TextFormat& format)
{
    const QTextCharFormat chars = charFormat(format);
    QFont font = document()->defaultFont();
    if (chars.hasProperty(QTextFormat::FontFamilies)) {
        font.setFamilies(chars.fontFamilies().toStringList());
        if (chars.hasProperty(QTextFormat::FontFixedPitch)) {
            font.setStyleHint(QFont::TypeWriter);
            font.setFixedPitch(true);
        }
    }
    if (chars.hasProperty(QTextFormat::FontPointSize))
        font.setPointSizeF(chars.fontPointSize());
    if (chars.hasProperty(QTextFormat::FontWeight))
        font.setBold(chars.fontWeight() >= QFont::Bold);
    if (chars.hasProperty(QTextFormat::FontItalic))
        font.setItalic(chars.fontItalic());
    if (chars.hasProperty(QTextFormat::TextUnderlineStyle))
        font.setUnderline(chars.fontUnderline());
    if (chars.hasProperty(QTextFormat::FontStrikeOut))
        font.setStrikeOut(chars.fontStrikeOut());
    setFont(font);
    if (chars.hasProperty(QTextFormat::ForegroundBrush)) {
        QPalette colours = palette();
        colours.setColor(QPalette::Text, chars.foreground().color());
        setPalette(colours);
    }
}

void TextView::setSelection(int start, int end)
{
    const int last = std::max(0, document()->characterCount() - 1);
    if (end < 0 || end > last)
        end = last;
    start = std::clamp(start, 0, last);
    m_work.setPosition(start);
    m_work.setPosition(end, QTextCursor::KeepAnchor);
    if (m_batchDepth == 0)
        setTextCursor(m_work);
}

TextSelection TextView::selectedRange() const
{
    const QTextCursor cursor = m_batchDepth > 0 ? m_work : textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void TextView::applyFormat(const TextFormat& format)
{
    applyFormat(charFormat(format));
}

void TextView::applyFormat(const QTextCharFormat& format)
{
    if (m_batchDepth == 0)
        m_work = textCursor();
    m_work.mergeCharFormat(format);
}

void TextView::setSelectionFormat(const QTextCharFormat& format)
{
    if (m_batchDepth == 0)
        m_work = textCursor();
    m_work.setCharFormat(format);
}

void TextView::replaceSelection(const QString& text)
{
    if (m_batchDepth == 0)
        m_work = textCursor();
    if (text.isEmpty())
        m_work.removeSelectedText();
    else
        m_work.insertText(text);
    if (m_batchDepth == 0)
        setTextCursor(m_work);
}

int TextView::lineCount() const
{
    return document()->blockCount();
}

int TextView::firstVisibleLine() const
{
    return firstVisibleBlock().blockNumber();
}

int TextView::visibleLineCount() const
{
    const QTextBlock top = firstVisibleBlock();
    const qreal height = top.isValid() ? blockBoundingRect(top).height() : 0;
    return height > 0 ? std::max(1, int(viewport()->height() / height)) : 1;
}

TextSelection TextView::visibleRange() const
{
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return {};
    const int first = block.position();
    const QPointF offset = contentOffset();
    const int height = viewport()->height();
    int last = first;
    for (; block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(offset).top() > height)
            break;
        last = block.position() + block.length();
    }
    return {first, last};
}

int TextView::lineStart(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

int TextView::lineFromPosition(int position) const
{
    return document()->findBlock(std::max(0, position)).blockNumber();
}

QString TextView::lineText(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return QString();
    return block.next().isValid() ? block.text() + QLatin1Char('\n') : block.text();
}

QPoint TextView::positionToPoint(int position) const
{
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(position, 0, std::max(0, document()->characterCount() - 1)));
    return cursorRect(cursor).topLeft();
}

QRect TextView::formatRect() const
{
    return viewport()->rect();
}

void TextView::scrollLines(int count)
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + count);
}

void TextView::setSelectionHidden(bool hide)
{
    if (hide == m_selectionHidden)
        return;
    m_selectionHidden = hide;
    QPalette colours = palette();
    if (hide) {
        colours.setColor(QPalette::Highlight, colours.color(QPalette::Base));
        colours.setColor(QPalette::HighlightedText, colours.color(QPalette::Text));
    } else {
        const QPalette standard = QPalette();
        colours.setColor(QPalette::Highlight, standard.color(QPalette::Highlight));
        colours.setColor(QPalette::HighlightedText, standard.color(QPalette::HighlightedText));
    }
    setPalette(colours);
}

void TextView::makeReadOnly()
{
    setReadOnly(true);
    // Keyboard selection and the caret stay available in a read-only view.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TextView::clearModified()
{
    document()->setModified(false);
}

void TextView::setNoWordWrap()
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
}

void TextView::thawUpdates()
{
    m_updatesFrozen = false;
    setUpdatesEnabled(true);
    viewport()->update();
}

void TextView::freezeUpdates()
{
    m_updatesFrozen = true;
    setUpdatesEnabled(false);
}

void TextView::beginEditBlock()
{
    if (m_batchDepth++ == 0) {
        m_work = textCursor();
        m_work.beginEditBlock();
    }
}

void TextView::endEditBlock()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    m_work.endEditBlock();
    setTextCursor(m_work);
}

} // namespace parchly

// What Copy puts on the clipboard from the reading view.
#include "view/reading_view.h"

#include "analysis/line_mapping.h"
#include "view/rfc_document.h"

#include <QMimeData>
#include <QTextDocumentFragment>

namespace parchly {

QMimeData* ReadingView::createMimeDataFromSelection() const
{
    const QTextDocumentFragment fragment(textCursor());
    QString plain = fragment.toPlainText();
    QString html = fragment.toHtml();
    // With the headers or footers cut, the page break the form feed made is
    // gone from view: a reader copying across it wants the text around it,
    // not a control character that editors show as a box or a page break.
    if (m_document->cuts().headers || m_document->cuts().footers) {
        plain.remove(QLatin1Char('\f'));
        html.remove(QLatin1Char('\f'));
    }
    auto* data = new QMimeData;
    data->setText(plain);
    data->setHtml(html);
    return data;
}

} // namespace parchly

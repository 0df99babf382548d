#include "view/printing.h"

#include "platform/dialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

namespace parchly {

QPrinter& applicationPrinter()
{
    // Made on first use and kept until the process ends: the printer must not
    // outlive the application object in a static destructor.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

void setPrintMargins(QPrinter& printer)
{
    printer.setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
}

void printText(const QPlainTextEdit& edit, QPrinter* printer)
{
    setPrintMargins(*printer);
    std::unique_ptr<QTextDocument> pages(edit.document()->clone());
    pages->documentLayout()->setPaintDevice(printer);
    pages->setDocumentMargin(0);
    QTextOption option = pages->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    pages->setDefaultTextOption(option);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    pages->setPageSize(page.size());

    QPainter painter(printer);
    if (!painter.isActive())
        return;
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, edit.palette().color(QPalette::Text));
    for (int index = 0; index < pages->pageCount(); ++index) {
        if (index > 0)
            printer->newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        painter.setClipRect(shown);
        context.clip = shown;
        pages->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

void printView(QPlainTextEdit& edit)
{
    QPrinter& printer = applicationPrinter();
    setPrintMargins(printer);
    if (dialogs().printDialog(&edit, printer))
        printText(edit, &printer);
}

void printPreviewView(QPlainTextEdit& edit)
{
    QPrinter& printer = applicationPrinter();
    setPrintMargins(printer);
    dialogs().printPreview(&edit, printer, [&edit](QPrinter* target) { printText(edit, target); });
}

void printSetup(QWidget* parent)
{
    QPrinter& printer = applicationPrinter();
    setPrintMargins(printer);
    dialogs().pageSetup(parent, printer);
}

} // namespace parchly

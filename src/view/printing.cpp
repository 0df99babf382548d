#include "view/printing.h"
#include "view/view_host.h"

#include "analysis/line_mapping.h"
#include "analysis/line_reader.h"
#include "platform/char_format.h"
#include "platform/dialogs.h"
#include "platform/text_decoding.h"
#include "settings/settings.h"
#include "view/reading_session.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace parchly {

namespace {

// What the fit may lose to rounding: a size computed to fill the area
// exactly must still give the full number of rows and columns.
constexpr qreal kFitTolerance = 1e-6;

// The rows of text on a sheet of a text without pages: an RFC page's.
constexpr int kTextRows = 56;

bool isBlankChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\f');
}

// Where the text of `line` starts after the form feed that ends a page, or
// -1 when no form feed stands before its first other character.
int textAfterFormFeed(const QString& line)
{
    int position = 0;
    bool formFeed = false;
    for (; position < line.size() && isBlankChar(line[position]); ++position)
        formFeed = formFeed || line[position] == QLatin1Char('\f');
    return formFeed ? position : -1;
}

// The length of `line` from `start` without its trailing blanks: they print
// as nothing and must not make the font smaller.
int printedLength(const QString& line, int start)
{
    int end = line.size();
    while (end > start && isBlankChar(line[end - 1]))
        --end;
    return end - start;
}

using Page = std::vector<PrintRow>;

// The file's pages as whole lines, and whether a form feed made them.
std::vector<Page> splitPages(const QStringList& lines, bool& paginated)
{
    std::vector<Page> pages(1);
    paginated = false;
    for (int index = 0; index < lines.size(); ++index) {
        const QString& line = lines[index];
        int start = textAfterFormFeed(line);
        if (start >= 0) {
            paginated = true;
            pages.emplace_back();
            if (start == line.size())
                continue; // the line holds the page break alone
        } else {
            start = 0;
        }
        pages.back().push_back({index, start, printedLength(line, start)});
    }
    // Blank lines at the end of the text print nothing, not even a sheet.
    while (!pages.empty() && !pages.back().empty() && pages.back().back().length == 0)
        pages.back().pop_back();
    pages.erase(std::remove_if(pages.begin(), pages.end(), [](const Page& page) { return page.empty(); }),
                pages.end());
    return pages;
}

int fitting(qreal room, qreal step)
{
    return std::max(1, int(std::floor(room / step + kFitTolerance)));
}

} // namespace

SheetLayout layOutSheets(const QStringList& lines, const QSizeF& area, const PrintFontShape& shape,
                         const PrintFloor& floor)
{
    SheetLayout layout;
    bool paginated = false;
    const std::vector<Page> pages = splitPages(lines, paginated);

    int rowsNeeded = std::max(1, floor.rows);
    int columnsNeeded = std::max(1, floor.columns);
    for (const Page& page : pages) {
        if (paginated)
            rowsNeeded = std::max(rowsNeeded, int(page.size()));
        for (const PrintRow& row : page)
            columnsNeeded = std::max(columnsNeeded, row.length);
    }
    layout.pointSize = std::max(kMinPrintPointSize,
                                std::min(area.width() / (columnsNeeded * shape.advance),
                                         area.height() / (rowsNeeded * shape.lineSpacing)));
    layout.columns = fitting(area.width(), layout.pointSize * shape.advance);
    layout.rowsPerSheet = fitting(area.height(), layout.pointSize * shape.lineSpacing);

    // Without form feeds the text is one page, cut where the sheets end.
    for (const Page& page : pages) {
        layout.sheets.emplace_back();
        for (const PrintRow& line : page) {
            int start = line.start;
            const int end = line.start + line.length;
            do {
                if (int(layout.sheets.back().size()) == layout.rowsPerSheet)
                    layout.sheets.emplace_back();
                const int length = std::min(layout.columns, end - start);
                layout.sheets.back().push_back({line.line, start, length});
                start += length;
            } while (start < end);
        }
    }
    return layout;
}

namespace {

// The lines of `text`: one per line end, the empty remainder after the
// last line end being no line.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The colour runs of a shown block: its foreground and background only, so
// that every line prints in the one font the fit chose.
QVector<QTextLayout::FormatRange> colourRuns(const QTextBlock& block)
{
    QVector<QTextLayout::FormatRange> runs;
    for (const QTextLayout::FormatRange& range : block.textFormats()) {
        QTextLayout::FormatRange run;
        run.start = range.start;
        run.length = range.length;
        if (range.format.hasProperty(QTextFormat::ForegroundBrush))
            run.format.setForeground(range.format.foreground());
        if (range.format.hasProperty(QTextFormat::BackgroundBrush))
            run.format.setBackground(range.format.background());
        runs.push_back(run);
    }
    return runs;
}

QString familyOf(const QPlainTextEdit& edit)
{
    return QFontInfo(edit.document()->defaultFont()).family();
}

} // namespace

PrintedText printedTextOf(const QPlainTextEdit& edit)
{
    PrintedText printed;
    printed.lines = linesOf(edit.document()->toPlainText());
    printed.fontFamily = familyOf(edit);
    return printed;
}

PrintedText printedTextOf(const ReadingView& view, const RfcSettings& settings)
{
    std::string bytes;
    const RfcDocument* document = view.rfcDocument();
    if (!document || !readTextModeFile(QFile::encodeName(document->pathName()).toStdString(), bytes))
        return printedTextOf(static_cast<const QPlainTextEdit&>(view));

    PrintedText printed;
    printed.lines = linesOf(decodeRfcText(bytes).text);
    printed.fontFamily = familyOf(view);
    const RfcText& analysed = document->text();
    if (analysed.rfcNumber > 0) {
        printed.rfcName = QStringLiteral("RFC %1").arg(analysed.rfcNumber);
        printed.rfcTitle = QString::fromStdString(analysed.title).simplified();
        printed.running = analysed.pageEnds.size() <= 1;
    }
    if (!settings.PrintScreenColours)
        return printed;

    printed.paper = view.palette().color(QPalette::Base);
    printed.ink = view.palette().color(QPalette::Text);
    // Lines the view hides are headers and footers, or blank.
    const int hiddenCategory = settings.UseOnlyDefaultText ? kFormatDefault : kFormatHeadersFooters;
    QTextLayout::FormatRange hidden;
    hidden.start = 0;
    hidden.format.setForeground(toCharFormat(settings.Formats[hiddenCategory]).foreground());
    printed.colours.resize(printed.lines.size());
    for (int index = 0; index < printed.lines.size(); ++index) {
        const FileLine line = FileLine::atIndex(index);
        const ShownLine shown = document->shownLineOf(line);
        const QTextBlock block = view.document()->findBlockByNumber(shown.index());
        if (document->fileLineOf(shown) == line) {
            // A page separator stands on a blank line: the file's line is printed.
            if (block.isValid() && block.text() == printed.lines[index])
                printed.colours[index] = colourRuns(block);
        } else {
            hidden.length = printed.lines[index].size();
            printed.colours[index] = {hidden};
        }
    }
    return printed;
}

QPrinter& sessionPrinter(ReadingSession& session)
{
    if (!session.printer)
        session.printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    return *session.printer;
}

void setPrintMargins(QPrinter& printer)
{
    printer.setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
}

namespace {

QFont printFont(const QString& family)
{
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // A proportional face would not keep the columns of the text.
    if (family.isEmpty() || !QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Hinting would round each size's advance differently on screen-like devices.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The shape of `font` at its own size, per point.
PrintFontShape shapeOf(const QFont& font, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    return {metrics.horizontalAdvance(QLatin1Char('M')) / font.pointSizeF(),
            metrics.lineSpacing() / font.pointSizeF()};
}

// Draws one row at `baseline`, run by run in the colours of its line.
void drawRow(QPainter& painter, const PrintedText& text, const PrintRow& row, qreal baseline, qreal advance,
             const QFontMetricsF& metrics)
{
    const QString& line = text.lines[row.line];
    const auto draw = [&](int from, int to, const QTextCharFormat* format) {
        if (from >= to)
            return;
        const QRectF cell((from - row.start) * advance, baseline - metrics.ascent(), (to - from) * advance,
                          metrics.height());
        if (format && format->hasProperty(QTextFormat::BackgroundBrush))
            painter.fillRect(cell, format->background());
        painter.setPen(format && format->hasProperty(QTextFormat::ForegroundBrush)
                           ? format->foreground().color()
                           : text.ink);
        painter.drawText(QPointF(cell.left(), baseline), line.mid(from, to - from));
    };
    const int end = row.start + row.length;
    int position = row.start;
    if (size_t(row.line) < text.colours.size()) {
        for (const QTextLayout::FormatRange& run : text.colours[row.line]) {
            const int from = std::max(position, run.start);
            const int to = std::min(end, run.start + run.length);
            if (to <= from)
                continue;
            draw(position, from, nullptr);
            draw(from, to, &run.format);
            position = to;
        }
    }
    draw(position, end, nullptr);
}

} // namespace

PrintJob preparePrint(const PrintedText& text, QPaintDevice* device, const QSizeF& area)
{
    PrintJob job;
    job.font = printFont(text.fontFamily);
    job.font.setPointSizeF(100);
    job.shape = shapeOf(job.font, device);
    // A font does not scale quite linearly; when the chosen size is wider or
    // taller than foreseen, the layout is made again with its own shape.
    // A running header and footer take four of the rows of a sheet: the
    // header, a blank row, a blank row and the footer.
    const QSizeF textArea =
        !text.running ? area : QSizeF(area.width(), area.height() * kTextRows / (kTextRows + 4));
    for (int round = 0; round < 3; ++round) {
        job.layout = layOutSheets(text.lines, textArea, job.shape);
        job.font.setPointSizeF(job.layout.pointSize);
        const PrintFontShape actual = shapeOf(job.font, device);
        if (actual.advance <= job.shape.advance && actual.lineSpacing <= job.shape.lineSpacing)
            break;
        job.shape = {std::max(actual.advance, job.shape.advance),
                     std::max(actual.lineSpacing, job.shape.lineSpacing)};
    }
    return job;
}

void paintSheet(QPainter& painter, const PrintedText& text, const PrintJob& job, int sheet,
                const QRectF& paper)
{
    if (text.paper.isValid())
        painter.fillRect(paper, text.paper);
    painter.setFont(job.font);
    // The font's own steps, so that runs drawn apart keep their columns.
    const QFontMetricsF metrics(job.font, painter.device());
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('M'));
    const qreal lineSpacing = metrics.lineSpacing();
    const std::vector<PrintRow>& rows = job.layout.sheets.at(sheet);
    const RunningLines running = runningLines(text, sheet, int(job.layout.sheets.size()), job.layout.columns);
    const int top = running.header.isEmpty() ? 0 : 2;
    for (size_t row = 0; row < rows.size(); ++row)
        drawRow(painter, text, rows[row], (top + row) * lineSpacing + metrics.ascent(), advance, metrics);
    if (!running.header.isEmpty()) {
        painter.setPen(text.ink);
        painter.drawText(QPointF(0, metrics.ascent()), running.header);
        const int footerRow = top + job.layout.rowsPerSheet + 1;
        painter.drawText(QPointF(0, footerRow * lineSpacing + metrics.ascent()), running.footer);
    }
}

RunningLines runningLines(const PrintedText& text, int sheet, int sheets, int columns)
{
    if (!text.running)
        return {};
    RunningLines lines;
    // The title gives way to the name where the row is short.
    const int room = std::max(0, columns - int(text.rfcName.size()) - 2);
    const QString title = text.rfcTitle.left(room);
    const int gap = std::max(2, columns - int(text.rfcName.size()) - int(title.size()));
    lines.header = text.rfcName + QString(gap, QLatin1Char(' ')) + title;
    const QString page = QStringLiteral("Page %1 of %2").arg(sheet + 1).arg(sheets);
    lines.footer = QString(std::max(0, (columns - int(page.size())) / 2), QLatin1Char(' ')) + page;
    return lines;
}

void nameThePrint(QPrinter& printer, QString& namedFile, const PrintedText& text,
                  const QString& documentsFolder)
{
    if (text.rfcName.isEmpty())
        return;
    printer.setDocName(text.rfcTitle.isEmpty() ? text.rfcName
                                               : text.rfcName + QStringLiteral(": ") + text.rfcTitle);
    const QString file = QDir(documentsFolder)
                             .absoluteFilePath(QString(text.rfcName).remove(QLatin1Char(' ')).toLower()
                                               + QStringLiteral(".pdf"));
    // Without a printer a PDF is all there is; with one, naming a file would
    // turn the print into one. A file the reader chose stays; one named here
    // follows the document.
    const QString current = printer.outputFileName();
    const bool named = !namedFile.isEmpty() && namedFile == current;
    if (QPrinterInfo::availablePrinterNames().isEmpty() && (current.isEmpty() || named)) {
        printer.setOutputFileName(file);
        namedFile = file;
    }
}

int printText(const PrintedText& text, QPrinter* printer)
{
    setPrintMargins(*printer);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const PrintJob job = preparePrint(text, printer, page.size());
    if (job.layout.sheets.empty())
        return 0;
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    // The painter starts at the printable area; the paper reaches beyond it.
    const QRectF paper = printer->paperRect(QPrinter::DevicePixel).translated(-page.topLeft());
    for (size_t sheet = 0; sheet < job.layout.sheets.size(); ++sheet) {
        if (sheet > 0)
            printer->newPage();
        paintSheet(painter, text, job, int(sheet), paper);
    }
    painter.end();
    return int(job.layout.sheets.size());
}

void printView(ReadingView& view, const RfcSettings& settings)
{
    QPrinter& printer = sessionPrinter(view.host()->session());
    setPrintMargins(printer);
    const PrintedText text = printedTextOf(view, settings);
    nameThePrint(printer, view.host()->session().namedPrintFile, text,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (dialogs().printDialog(&view, printer))
        printText(text, &printer);
    // The reader goes on reading: the keys act on the text at once.
    view.setFocus(Qt::OtherFocusReason);
}

void printPreviewView(ReadingView& view, const RfcSettings& settings)
{
    QPrinter& printer = sessionPrinter(view.host()->session());
    setPrintMargins(printer);
    const PrintedText text = printedTextOf(view, settings);
    dialogs().printPreview(&view, printer, [text](QPrinter* target) { printText(text, target); });
    view.setFocus(Qt::OtherFocusReason);
}

} // namespace parchly

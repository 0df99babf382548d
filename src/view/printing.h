// Printing a document: one RFC page on each sheet, as the file holds it
// (headers and footers included whatever the view hides, no page
// separators), so that sheet N is page N. A form feed starts a new sheet;
// a text without form feeds is cut into sheets that fill the printable
// area. One font size serves the whole document: the largest at which its
// longest page and its widest line fit. Black on white unless Print Setup
// asks for the screen colours. Margins are half an inch on every side.
#ifndef PARCHLY_VIEW_PRINTING_H
#define PARCHLY_VIEW_PRINTING_H

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QStringList>
#include <QTextLayout>
#include <QVector>
#include <vector>

class QPaintDevice;
class QPainter;
class QPlainTextEdit;
class QPrinter;
class QWidget;

namespace parchly {

class ReadingView;
struct ReadingSession;
struct RfcSettings;

// A printed row: `length` characters of line `line` from `start`. A line
// wider than a sheet holds continues on the next rows.
struct PrintRow {
    int line = 0;
    int start = 0;
    int length = 0;

    bool operator==(const PrintRow& other) const
    {
        return line == other.line && start == other.start && length == other.length;
    }
};

// The print font's advance of one character and its line spacing at one
// point, in the units of the printable area.
struct PrintFontShape {
    qreal advance = 0.6;
    qreal lineSpacing = 1.2;
};

// What a page is at least taken to hold, so that a short or narrow text is
// not printed in a giant font, and what a text without form feeds is
// fitted to (an RFC page: 72 characters, 56 lines).
struct PrintFloor {
    int columns = 72;
    int rows = 56;
};

struct SheetLayout {
    qreal pointSize = 0;
    int columns = 0; // characters a row holds at that size
    int rowsPerSheet = 0;
    std::vector<std::vector<PrintRow>> sheets;
};

// The smallest size printed; a page or a line that would need less runs
// over onto further sheets or rows instead.
constexpr qreal kMinPrintPointSize = 4;

// Lays `lines` out on sheets of `area`. A line whose first character after
// blanks is a form feed ends the page before it; what follows the form
// feed on that line starts the next page. Pages that hold no line and the
// blank lines at the end of the text are not printed.
SheetLayout layOutSheets(const QStringList& lines, const QSizeF& area, const PrintFontShape& shape,
                         const PrintFloor& floor = PrintFloor());

// What is printed: the lines, and with the screen colours the colour runs
// of each line and the paper's colour.
struct PrintedText {
    QStringList lines;
    std::vector<QVector<QTextLayout::FormatRange>> colours; // empty: black on white
    QColor paper;
    QColor ink = Qt::black;
    QString fontFamily;
    // An RFC's name ("RFC 9110") and title; empty for other texts.
    QString rfcName;
    QString rfcTitle;
    // A text without pages of its own (every RFC since 8650) gets a running
    // header, the name left and the title right, and "Page N of M" below each
    // sheet; a paged RFC's pages carry their own.
    bool running = false;
};

// The running header and footer of sheet `sheet` (0-based) of `sheets`,
// `columns` characters wide; both empty without a running header.
struct RunningLines {
    QString header;
    QString footer;
};
RunningLines runningLines(const PrintedText& text, int sheet, int sheets, int columns);

// What the printer is given for the document: the PDF's title ("RFC 9110:
// HTTP Semantics"), and the file a PDF goes to unless the reader chose
// another: rfcNNNN.pdf in the documents folder.
// `namedFile` is the file named here last (empty before).
void nameThePrint(QPrinter& printer, QString& namedFile, const PrintedText& text,
                  const QString& documentsFolder);

// The lines of the view's file (its shown text when the file cannot be
// read), coloured as the view shows them when the settings ask for the
// screen colours; lines the view hides take the headers' colour.
PrintedText printedTextOf(const ReadingView& view, const RfcSettings& settings);
// The shown lines of a plain text control, black on white.
PrintedText printedTextOf(const QPlainTextEdit& edit);

// The session's printer, chosen and set up by Print Setup and used by Print
// and Print Preview for the whole run.
QPrinter& sessionPrinter(ReadingSession& session);

// Half an inch (720 twips) on every side.
void setPrintMargins(QPrinter& printer);

// The text laid out for a paint device: the font the fit chose, its shape
// and the sheets.
struct PrintJob {
    QFont font;
    PrintFontShape shape;
    SheetLayout layout;
};
PrintJob preparePrint(const PrintedText& text, QPaintDevice* device, const QSizeF& area);

// Paints sheet `sheet` with `painter`, whose origin is the corner of the
// printable area; with the screen colours `paper` is filled first.
void paintSheet(QPainter& painter, const PrintedText& text, const PrintJob& job, int sheet,
                const QRectF& paper);

// Prints `text` onto `printer`; the number of sheets printed.
int printText(const PrintedText& text, QPrinter* printer);

// Print (after the print dialog) and Print Preview of a reading view.
void printView(ReadingView& view, const RfcSettings& settings);
void printPreviewView(ReadingView& view, const RfcSettings& settings);

} // namespace parchly

#endif

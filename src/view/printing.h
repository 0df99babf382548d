// Printing the reading view: the shown text with its formats, on pages with
// margins of half an inch on every side, through the program's printer.
#ifndef PARCHLY_VIEW_PRINTING_H
#define PARCHLY_VIEW_PRINTING_H

class QPlainTextEdit;
class QPrinter;
class QWidget;

namespace parchly {

// The program's printer, chosen and set up by Print Setup and used by Print
// and Print Preview for the whole run.
QPrinter& applicationPrinter();

// Half an inch (720 twips) on every side.
void setPrintMargins(QPrinter& printer);

// Draws the text of `edit`, with its formats, page by page onto `printer`.
void printText(const QPlainTextEdit& edit, QPrinter* printer);

// Print (after the print dialog), Print Preview and Print Setup.
void printView(QPlainTextEdit& edit);
void printPreviewView(QPlainTextEdit& edit);
void printSetup(QWidget* parent);

} // namespace parchly

#endif

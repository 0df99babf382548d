// Print Setup: the printer and page (through the system's page setup) and
// whether to print in the colours of the screen or in black on white.
#ifndef PARCHLY_VIEW_PRINT_SETUP_DIALOG_H
#define PARCHLY_VIEW_PRINT_SETUP_DIALOG_H

#include <QDialog>

class QCheckBox;
class QPrinter;
class QPushButton;

namespace parchly {

class PrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrintSetupDialog(QPrinter& printer, bool screenColours, QWidget* parent = nullptr);

    bool screenColours() const;

    QCheckBox* screenColoursBox() const { return m_screenColours; }
    QPushButton* pageButton() const { return m_page; }

private:
    QPrinter& m_printer;
    QCheckBox* m_screenColours;
    QPushButton* m_page;
};

} // namespace parchly

#endif

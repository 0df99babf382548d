#include "view/print_setup_dialog.h"

#include "platform/dialogs.h"
#include "view/printing.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

PrintSetupDialog::PrintSetupDialog(QPrinter& printer, bool screenColours, QWidget* parent)
    : QDialog(parent)
    , m_printer(printer)
    , m_screenColours(new QCheckBox(QStringLiteral("Print in screen colours"), this))
    , m_page(new QPushButton(QStringLiteral("&Printer and Page..."), this))
{
    setWindowTitle(QStringLiteral("Print Setup"));
    m_screenColours->setChecked(screenColours);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addWidget(m_screenColours);
    layout->addWidget(buttons);

    connect(m_page, &QPushButton::clicked, this, [this] {
        setPrintMargins(m_printer);
        dialogs().pageSetup(this, m_printer);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool PrintSetupDialog::screenColours() const
{
    return m_screenColours->isChecked();
}

} // namespace parchly

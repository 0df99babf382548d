#include "download/rfc_number_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "platform/dialogs.h"

namespace parchly {

RfcNumberDialog::RfcNumberDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Download RFC"));
    auto* layout = new QFormLayout(this);
    m_number = new QSpinBox(this);
    m_number->setObjectName(QStringLiteral("rfcNumber"));
    m_number->setRange(1, 99999);
    layout->addRow(QStringLiteral("&RFC number:"), m_number);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
    m_number->selectAll();
}

int32_t RfcNumberDialog::number() const
{
    return m_number->value();
}

void RfcNumberDialog::setNumber(int32_t number)
{
    m_number->setValue(number);
}

std::optional<int32_t> askRfcNumber(QWidget* parent)
{
    RfcNumberDialog dialog(parent);
    if (dialogs().runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.number();
}

} // namespace parchly

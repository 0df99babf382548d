#include "frame/open_rfc_dialog.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>

namespace parchly {

int rfcNumberOfTypedText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(?:rfc\\s*)?0*(\\d{1,6})(?:\\s|$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

OpenRfcDialog::OpenRfcDialog(const std::map<int32_t, std::string>& titles, QWidget* parent)
    : QDialog(parent)
    , m_number(new QLineEdit(this))
    , m_completer(new QCompleter(this))
{
    setWindowTitle(QStringLiteral("Open RFC by Number"));
    QStringList entries;
    entries.reserve(int(titles.size()));
    for (const auto& [rfc, title] : titles)
        entries << QStringLiteral("%1  %2").arg(rfc).arg(
            QString::fromUtf8(title.data(), qsizetype(title.size())));
    // A word of the title finds its RFC as well as the number's first digits.
    m_completer->setModel(new QStringListModel(entries, m_completer));
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(15);
    m_number->setCompleter(m_completer);
    m_number->setPlaceholderText(titles.empty() ? QStringLiteral("9110")
                                                : QStringLiteral("9110, or words of its title"));
    m_number->setMinimumWidth(420);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    m_open = buttons->button(QDialogButtonBox::Open);
    m_open->setEnabled(false);
    connect(m_number, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_open->setEnabled(rfcNumberOfTypedText(text) > 0); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chosenNumber() > 0)
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&RFC:"), m_number);
    layout->addRow(buttons);
}

int OpenRfcDialog::chosenNumber() const
{
    return rfcNumberOfTypedText(m_number->text());
}

} // namespace parchly

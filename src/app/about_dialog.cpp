#include "app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace parchly {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
    , m_name(new QLabel(QStringLiteral("Parchly Standard Edition"), this))
    , m_version(new QLabel(QString::asprintf("%d.%d", kVersionMajor, kVersionMinor), this))
{
    setWindowTitle(QStringLiteral("About Parchly"));
    auto* icon = new QLabel(this);
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull())
        programIcon = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    icon->setPixmap(programIcon.pixmap(32, 32));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_name, 0, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Version"), this), 1, 1);
    layout->addWidget(m_version, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::programName() const
{
    return m_name->text();
}

QString AboutDialog::versionText() const
{
    return m_version->text();
}

} // namespace parchly

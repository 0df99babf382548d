#include "app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace parchly {

AboutDialog::AboutDialog(const QString& homepage, QWidget* parent)
    : QDialog(parent)
    , m_name(new QLabel(QStringLiteral("Parchly Standard Edition"), this))
    , m_version(new QLabel(QString::asprintf("%d.%d", kVersionMajor, kVersionMinor), this))
    , m_copyright(new QLabel(QStringLiteral("Copyright (c) 2026 Parchly developers"), this))
    , m_licence(new QLabel(QStringLiteral("Free software under the MIT License: use, copy, change and "
                                          "pass it on, keeping this notice; it comes with no warranty."),
                           this))
    , m_homepage(new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(homepage.toHtmlEscaped()), this))
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
    m_licence->setWordWrap(true);
    m_licence->setMinimumWidth(320);
    m_homepage->setTextFormat(Qt::RichText);
    m_homepage->setOpenExternalLinks(true);
    m_homepage->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(m_copyright, 2, 1, 1, 2);
    layout->addWidget(m_licence, 3, 1, 1, 2);
    layout->addWidget(m_homepage, 4, 1, 1, 2);
    layout->addWidget(buttons, 5, 0, 1, 3);
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

QString AboutDialog::copyrightText() const
{
    return m_copyright->text();
}

QString AboutDialog::licenceText() const
{
    return m_licence->text();
}

QString AboutDialog::homepageText() const
{
    return m_homepage->text();
}

} // namespace parchly

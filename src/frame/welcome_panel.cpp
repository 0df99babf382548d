#include "frame/welcome_panel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

WelcomePanel::WelcomePanel(QWidget* parent)
    : QFrame(parent)
    , m_updateCollection(new QPushButton(QStringLiteral("Update the RFC collection..."), this))
    , m_downloadIndex(new QPushButton(QStringLiteral("Download the RFC index"), this))
    , m_chooseFolder(new QPushButton(QStringLiteral("Choose a folder of RFCs..."), this))
    , m_openFile(new QPushButton(QStringLiteral("Open an RFC file..."), this))
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("<h2>Welcome to Parchly</h2>"), this);
    auto* text = new QLabel(QStringLiteral("The local RFC folder has no RFC index yet."), this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    m_updateCollection->setObjectName(QStringLiteral("updateCollectionButton"));
    for (QPushButton* button : {m_updateCollection, m_downloadIndex, m_chooseFolder, m_openFile})
        layout->addWidget(button);
    connect(m_updateCollection, &QPushButton::clicked, this, &WelcomePanel::updateCollectionRequested);
    connect(m_downloadIndex, &QPushButton::clicked, this, &WelcomePanel::downloadIndexRequested);
    connect(m_chooseFolder, &QPushButton::clicked, this, &WelcomePanel::chooseFolderRequested);
    connect(m_openFile, &QPushButton::clicked, this, &WelcomePanel::openFileRequested);
}

} // namespace parchly

#include "ui/tip_dialog.h"

#include "platform/dialogs.h"
#include "settings/profile.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <cctype>
#include <ctime>
#include <sys/stat.h>

namespace parchly {

namespace {

constexpr const char* kSection = "Tip";
const char* const kTroubleReading = "Trouble reading the tips file";
const char* const kNoTipInFile = "The tips file holds no tip.";

// A tip is at most 999 characters, with its line end.
constexpr int kTipBufferSize = 1000;

// Lines starting with a blank, a line end or ";" are comments or spacing.
bool isTipLine(const char* line)
{
    switch (line[0]) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case ';':
    case '\0':
        return false;
    default:
        return true;
    }
}

// The file's modification time as ctime renders it, without its line end:
// a changed file gives a changed text.
std::string modificationStamp(std::FILE* file)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0)
        return std::string();
    char text[64] = {};
    if (!ctime_r(&status.st_mtime, text))
        return std::string();
    std::string stamp(text);
    while (!stamp.empty() && std::isspace(static_cast<unsigned char>(stamp.back())))
        stamp.pop_back();
    return stamp;
}

// The white area with the picture and the heading "Did you know...".
class TipPictureArea : public QWidget {
public:
    explicit TipPictureArea(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("tipPicture"));
        setMinimumSize(80, 48);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const QPixmap bulb = style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32);
        painter.drawPixmap(8, 8, bulb);
        QFont heading = font();
        heading.setBold(true);
        heading.setPointSizeF(heading.pointSizeF() * 1.4);
        painter.setFont(heading);
        painter.drawText(QRect(bulb.width() + 16, 8, width() - bulb.width() - 16, bulb.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QStringLiteral("Did you know..."));
    }
};

} // namespace

TipDialog::TipDialog(const std::string& appDirectory, Profile& profile, QWidget* parent)
    : QDialog(parent)
    , m_profile(profile)
{
    buildWidgets();
    m_showAtStartUp = m_profile.readInt(kSection, "StartUp", 0) == 0;
    m_startUp->setChecked(m_showAtStartUp);
    long position = m_profile.readInt(kSection, "FilePos", 0);

    m_file = std::fopen((appDirectory + "tips.txt").c_str(), "rb");
    if (!m_file) {
        // Name the folder so that a user can put the file where it is looked for.
        m_tip->setText(QStringLiteral("The tips file tips.txt does not exist in %1")
                           .arg(QDir::toNativeSeparators(QString::fromStdString(appDirectory))));
        m_next->setEnabled(false);
        return;
    }
    const std::string stamp = modificationStamp(m_file);
    if (stamp != m_profile.readString(kSection, "TimeStamp", "")) {
        position = 0;
        m_profile.writeString(kSection, "TimeStamp", stamp);
    }
    if (std::fseek(m_file, position, SEEK_SET) != 0)
        dialogs().message(this, QString::fromLatin1(kTroubleReading));
    else
        readTip();
}

TipDialog::~TipDialog()
{
    // The check box and the position go out in one write of the file.
    ProfileBatch batch(m_profile);
    if (result() == QDialog::Accepted)
        m_profile.writeInt(kSection, "StartUp", m_startUp->isChecked() ? 0 : 1);
    if (m_file) {
        m_profile.writeInt(kSection, "FilePos", static_cast<int>(std::ftell(m_file)));
        std::fclose(m_file);
    }
}

void TipDialog::buildWidgets()
{
    setWindowTitle(QStringLiteral("Tip of the Day"));

    m_tip = new QLabel(this);
    m_tip->setObjectName(QStringLiteral("tipText"));
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tip->setMargin(8);
    m_tip->setAutoFillBackground(true);
    QPalette white = m_tip->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_tip->setPalette(white);
    m_tip->setMinimumHeight(90);

    m_startUp = new QCheckBox(QStringLiteral("&Show tips at start-up"), this);
    m_startUp->setObjectName(QStringLiteral("startUpCheck"));
    m_next = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    m_next->setAutoDefault(false);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setDefault(true);

    auto* framed = new QFrame(this);
    framed->setFrameShape(QFrame::Box);
    auto* inside = new QVBoxLayout(framed);
    inside->setContentsMargins(1, 1, 1, 1);
    inside->setSpacing(0);
    inside->addWidget(new TipPictureArea(framed));
    inside->addWidget(m_tip, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startUp);
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(framed, 1);
    layout->addLayout(buttons);
    resize(440, 240);

    connect(m_next, &QPushButton::clicked, this, &TipDialog::nextTip);
    connect(m_close, &QPushButton::clicked, this, &TipDialog::accept);
}

QString TipDialog::tipText() const
{
    return m_tip->text();
}

void TipDialog::nextTip()
{
    if (m_file)
        readTip();
}

// Reads on to the next tip line, going back to the top at the end of the
// file; a second end without any tip means the file holds none.
void TipDialog::readTip()
{
    char line[kTipBufferSize];
    bool wrapped = false;
    for (;;) {
        if (std::fgets(line, sizeof line, m_file)) {
            if (isTipLine(line)) {
                m_tip->setText(QString::fromUtf8(line).trimmed());
                return;
            }
            continue;
        }
        if (wrapped) {
            m_tip->setText(QString::fromLatin1(kNoTipInFile));
            m_next->setEnabled(false);
            return;
        }
        wrapped = true;
        if (std::fseek(m_file, 0, SEEK_SET) != 0) {
            dialogs().message(this, QString::fromLatin1(kTroubleReading));
            return;
        }
    }
}

void showStartUpTip(const std::string& appDirectory, Profile& profile, QWidget* parent)
{
    TipDialog tip(appDirectory, profile, parent);
    if (tip.showAtStartUp())
        dialogs().runModal(tip);
}

} // namespace parchly

#include "frame/index_bar.h"

#include "index/index_status.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QStringList>

namespace parchly {

namespace {

QString numberLinks(const std::vector<int32_t>& numbers)
{
    QStringList links;
    for (const int32_t number : numbers)
        links << QStringLiteral("<a href=\"rfc:%1\">RFC %1</a>").arg(number);
    return links.join(QStringLiteral(", "));
}

QString colourName(uint32_t colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

// The colour and style of a display format; its face and size stay the
// bar's, which reads as part of the window rather than of the text.
QString styleSheetOf(const TextFormat& format)
{
    QString style;
    if (format.mask & kMaskColour)
        style += QStringLiteral("color: %1; ").arg(colourName(format.colour));
    if ((format.mask & kMaskBold) && (format.effects & kEffectBold))
        style += QStringLiteral("font-weight: bold; ");
    if ((format.mask & kMaskItalic) && (format.effects & kEffectItalic))
        style += QStringLiteral("font-style: italic; ");
    return QStringLiteral("QLabel { %1}").arg(style);
}

} // namespace

QString indexBarHtml(const IndexStatusEntry& entry)
{
    QStringList parts;
    if (!entry.status.empty())
        parts << QString::fromStdString(entry.status).toHtmlEscaped();
    if (!entry.obsoletedBy.empty())
        parts << QStringLiteral("Obsoleted by ") + numberLinks(entry.obsoletedBy);
    if (!entry.updatedBy.empty())
        parts << QStringLiteral("Updated by ") + numberLinks(entry.updatedBy);
    QStringList series;
    for (const auto& [name, number] : entry.also)
        series << QStringLiteral("%1 %2").arg(QString::fromStdString(name)).arg(number);
    if (!series.isEmpty())
        parts << QStringLiteral("Also ") + series.join(QStringLiteral(", "));
    return parts.join(QStringLiteral(" &nbsp;&middot;&nbsp; "));
}

int rfcNumberOfFileName(const QString& path)
{
    const QRegularExpression name(QStringLiteral("^rfc0*([1-9][0-9]{0,5})\\.txt$"),
                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = name.match(QFileInfo(path).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

IndexBar::IndexBar(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("indexBar"));
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setContentsMargins(6, 2, 6, 2);
    // One line at any width: a narrow window cuts it at the right (the tool
    // tip holds all of it) rather than stacking its words.
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    hide();
    connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
        if (link.startsWith(QLatin1String("rfc:")))
            emit rfcChosen(link.mid(4).toInt());
        else if (link == QLatin1String("errata:"))
            emit errataChosen();
    });
}

void IndexBar::showStatus(const RfcIndexStatus* index, int number, const TextFormat& obsoleted,
                          const QString& errata)
{
    const IndexStatusEntry* entry = index && number > 0 ? index->entry(number) : nullptr;
    QString html = entry ? indexBarHtml(*entry) : QString();
    if (!errata.isEmpty())
        html += (html.isEmpty() ? QString() : QStringLiteral(" &nbsp;&middot;&nbsp; "))
            + QStringLiteral("<a href=\"errata:\">Errata: %1</a>").arg(errata.toHtmlEscaped());
    if (html.isEmpty()) {
        hide();
        clear();
        return;
    }
    setStyleSheet(!entry || entry->obsoletedBy.empty() ? QString() : styleSheetOf(obsoleted));
    setText(html);
    setToolTip(QTextDocumentFragment::fromHtml(html).toPlainText());
    show();
}

} // namespace parchly

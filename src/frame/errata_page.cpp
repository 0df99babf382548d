#include "frame/errata_page.h"

#include "settings/settings.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace parchly {

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A text of the database as the pane shows it: its lines kept, as the RFC
// wrote them.
QString preformatted(const std::string& text)
{
    QString lines = fromUtf8(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return QStringLiteral("<pre>%1</pre>").arg(lines.toHtmlEscaped());
}

} // namespace

QString erratumPageUrl(const std::string& id)
{
    return QStringLiteral("https://www.rfc-editor.org/errata/eid%1").arg(fromUtf8(id));
}

ErrataPage::ErrataPage(QWidget* parent, RfcSettings& settings)
    : QWidget(parent)
    , m_settings(settings)
    , m_note(new QLabel(this))
    , m_verified(new QCheckBox(QStringLiteral("Verified"), this))
    , m_held(new QCheckBox(QStringLiteral("Held"), this))
    , m_reported(new QCheckBox(QStringLiteral("Reported"), this))
    , m_rejected(new QCheckBox(QStringLiteral("Rejected"), this))
    , m_list(new QTreeWidget(this))
    , m_details(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("errataPage"));
    m_held->setToolTip(QStringLiteral("Held for Document Update"));
    auto* filter = new QGridLayout;
    filter->setContentsMargins(2, 0, 2, 0);
    filter->addWidget(m_verified, 0, 0);
    filter->addWidget(m_held, 0, 1);
    filter->addWidget(m_reported, 1, 0);
    filter->addWidget(m_rejected, 1, 1);
    syncFilter();
    for (QCheckBox* box : {m_verified, m_held, m_reported, m_rejected})
        connect(box, &QCheckBox::toggled, this, &ErrataPage::filterToggled);

    m_list->setColumnCount(5);
    m_list->setHeaderLabels({QStringLiteral("Id"), QStringLiteral("Status"), QStringLiteral("Type"),
                             QStringLiteral("Section"), QStringLiteral("Date")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_note->setWordWrap(true);
    m_details->setOpenLinks(false);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_list);
    split->addWidget(m_details);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addLayout(filter);
    column->addWidget(m_note);
    column->addWidget(split, 1);

    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showDetails(item); });
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            emit erratumActivated(item->data(0, kIndexRole).toInt());
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, &ErrataPage::showContextMenu);
}

void ErrataPage::fill(const std::vector<PlacedErratum>& errata, const QString& note)
{
    m_errata = errata;
    m_emptyNote = note;
    const int selected = m_list->currentItem() ? m_list->currentItem()->data(0, kIndexRole).toInt() : -1;
    m_list->clear();
    m_details->clear();
    int hidden = 0;
    for (std::size_t i = 0; i < errata.size(); ++i) {
        const Erratum& erratum = errata[i].erratum;
        if (!shownByErrataFilter(erratum, m_settings)) {
            ++hidden;
            continue;
        }
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, fromUtf8(erratum.id));
        item->setText(1, fromUtf8(erratum.status));
        item->setText(2, fromUtf8(erratum.type));
        item->setText(3, fromUtf8(erratum.section).simplified());
        item->setText(4, fromUtf8(erratum.submitDate));
        item->setData(0, kIndexRole, int(i));
        item->setToolTip(3, item->text(3));
    }
    if (!note.isEmpty())
        m_note->setText(note);
    else if (errata.empty())
        m_note->setText(QStringLiteral("No errata are reported for this RFC."));
    else if (hidden > 0)
        m_note->setText(
            QStringLiteral("%1 errata, %2 hidden by the status filter.").arg(errata.size()).arg(hidden));
    else
        m_note->setText(QStringLiteral("%1 errata.").arg(errata.size()));
    if (selected >= 0)
        selectErratum(selected);
}

bool ErrataPage::selectErratum(int index)
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_list->topLevelItem(row);
        if (item->data(0, kIndexRole).toInt() == index) {
            m_list->setCurrentItem(item);
            m_list->scrollToItem(item);
            return true;
        }
    }
    return false;
}

void ErrataPage::showDetails(QTreeWidgetItem* item)
{
    if (!item) {
        m_details->clear();
        return;
    }
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || index >= int(m_errata.size()))
        return;
    const Erratum& erratum = m_errata[std::size_t(index)].erratum;
    QString html =
        QStringLiteral("<p><b>Erratum %1</b>: %2, %3; section %4</p>")
            .arg(fromUtf8(erratum.id).toHtmlEscaped(), fromUtf8(erratum.status).toHtmlEscaped(),
                 fromUtf8(erratum.type).toHtmlEscaped(), fromUtf8(erratum.section).toHtmlEscaped());
    html += QStringLiteral("<p><b>Original text</b></p>") + preformatted(erratum.originalText);
    html += QStringLiteral("<p><b>Corrected text</b></p>") + preformatted(erratum.correctedText);
    if (!erratum.notes.empty())
        html += QStringLiteral("<p><b>Notes</b></p>") + preformatted(erratum.notes);
    html +=
        QStringLiteral("<p>Reported by %1 on %2</p>")
            .arg(fromUtf8(erratum.submitter).toHtmlEscaped(), fromUtf8(erratum.submitDate).toHtmlEscaped());
    m_details->setHtml(html);
}

void ErrataPage::showContextMenu(const QPoint& point)
{
    QTreeWidgetItem* item = m_list->itemAt(point);
    if (!item)
        return;
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || index >= int(m_errata.size()))
        return;
    const std::string id = m_errata[std::size_t(index)].erratum.id;
    QMenu menu(this);
    QAction* go = menu.addAction(QStringLiteral("&Go to Erratum"));
    QAction* open = menu.addAction(QStringLiteral("&Open Erratum on the RFC Editor's Site"));
    open->setEnabled(!id.empty());
    QAction* chosen = menu.exec(m_list->viewport()->mapToGlobal(point));
    if (chosen == go)
        emit erratumActivated(index);
    else if (chosen == open)
        QDesktopServices::openUrl(QUrl(erratumPageUrl(id)));
}

void ErrataPage::syncFilter()
{
    const std::pair<QCheckBox*, bool> boxes[] = {{m_verified, m_settings.ErrataShowVerified},
                                                 {m_held, m_settings.ErrataShowHeld},
                                                 {m_reported, m_settings.ErrataShowReported},
                                                 {m_rejected, m_settings.ErrataShowRejected}};
    bool changed = false;
    for (const auto& [box, checked] : boxes) {
        changed = changed || box->isChecked() != checked;
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    if (changed)
        fill(m_errata, m_emptyNote);
}

void ErrataPage::filterToggled()
{
    m_settings.ErrataShowVerified = m_verified->isChecked();
    m_settings.ErrataShowHeld = m_held->isChecked();
    m_settings.ErrataShowReported = m_reported->isChecked();
    m_settings.ErrataShowRejected = m_rejected->isChecked();
    fill(m_errata, m_emptyNote);
    emit filterChanged();
}

} // namespace parchly

// The page of the Navigator's "Errata" tab: the errata of the document's
// RFC that the status filter shows (id, status, type, section, date), the
// original text, corrected text and notes of the one selected, the filter
// itself, and the way to where an erratum applies and to its page on the
// RFC Editor's site.
#ifndef PARCHLY_FRAME_ERRATA_PAGE_H
#define PARCHLY_FRAME_ERRATA_PAGE_H

#include "view/errata_marks.h"

#include <QString>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace parchly {

struct RfcSettings;

// The address of an erratum's page on the RFC Editor's site.
QString erratumPageUrl(const std::string& id);

class ErrataPage : public QWidget {
    Q_OBJECT
public:
    ErrataPage(QWidget* parent, RfcSettings& settings);

    // Lists the errata the filter shows; `note` says why there are none
    // (no errata file, a damaged one) when it is not empty.
    void fill(const std::vector<PlacedErratum>& errata, const QString& note);
    // Selects erratum `index` of the list given to fill(); false when the
    // filter hides it.
    bool selectErratum(int index);
    // Takes the status filter from the settings again, after another
    // window changed it.
    void syncFilter();

    QTreeWidget* list() const { return m_list; }
    QTextBrowser* details() const { return m_details; }
    QLabel* note() const { return m_note; }

signals:
    // A double-click, or Enter, on an erratum: go to where it applies.
    void erratumActivated(int index);
    // The user changed the status filter (already stored in the settings).
    void filterChanged();

private:
    void showDetails(QTreeWidgetItem* item);
    void showContextMenu(const QPoint& point);
    void filterToggled();

    RfcSettings& m_settings;
    std::vector<PlacedErratum> m_errata;
    QString m_emptyNote;
    QLabel* m_note;
    QCheckBox* m_verified;
    QCheckBox* m_held;
    QCheckBox* m_reported;
    QCheckBox* m_rejected;
    QTreeWidget* m_list;
    QTextBrowser* m_details;
};

} // namespace parchly

#endif

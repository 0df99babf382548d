// The list of new RFCs a check found (the status bar's "7 new RFCs"), from
// which one RFC, the selected ones or all of them are fetched and opened.
#ifndef PARCHLY_DOWNLOAD_NEW_RFCS_DIALOG_H
#define PARCHLY_DOWNLOAD_NEW_RFCS_DIALOG_H

#include <QDialog>

#include <atomic>
#include <memory>
#include <vector>

#include "update/https_update.h"
#include "update/index_listing.h"

class QLabel;
class QPushButton;
class QThread;

namespace parchly {

class RfcList;

class NewRfcsDialog : public QDialog {
    Q_OBJECT

public:
    NewRfcsDialog(const std::vector<ListedRfc>& rfcs, const HttpsOptions& fetchOptions,
                  QWidget* parent = nullptr);
    ~NewRfcsDialog() override;

    // Fetches the RFCs of the selected rows (all rows when `all`) that the
    // folder lacks; the dialog stays usable and shows the outcome.
    void fetch(bool all);
    bool fetching() const { return m_thread != nullptr; }

signals:
    void openRfc(int32_t number);
    // Files arrived in the folder.
    void fetched();

private:
    void open();
    void fetchEnded();

    HttpsOptions m_options;
    std::atomic<bool> m_cancel{false};
    std::shared_ptr<std::vector<UpdateFailure>> m_failures;
    QThread* m_thread = nullptr;
    std::vector<int32_t> m_openAfterFetch;
    RfcList* m_list;
    QLabel* m_status;
    QPushButton* m_fetch;
    QPushButton* m_fetchAll;
};

} // namespace parchly

#endif

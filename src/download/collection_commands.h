// The commands that keep the collection current: Update RFC Collection,
// the fetch of a missing RFC that a link needs, and the check for new RFCs
// with its list.
#ifndef PARCHLY_DOWNLOAD_COLLECTION_COMMANDS_H
#define PARCHLY_DOWNLOAD_COLLECTION_COMMANDS_H

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "settings/settings.h"
#include "update/new_rfcs.h"

class QThread;
class QWidget;

namespace parchly {

using OpenRfc = std::function<void(int32_t number)>;

// "Update RFC &Collection...": a .zip or .tar.gz collection address runs
// the Download dialog as before; any other runs the update in the
// Download dialog, whose new RFCs `open` opens. Refused with a message when
// the collection address is empty.
void updateRfcCollection(QWidget* parent, const RfcSettings& settings, const OpenRfc& open);

// A link needs RFC `number`, which the folder lacks: asks whether to fetch
// it (unless FetchMissingRfcOnLink), fetches it with a progress dialog that
// can cancel, and tells why when it could not. True when the file is there.
bool fetchMissingRfc(QWidget* parent, const RfcSettings& settings, int32_t number);

// The list of new RFCs a check found, run modally; `open` opens one.
void showNewRfcs(QWidget* parent, const RfcSettings& settings, const std::vector<ListedRfc>& rfcs,
                 const OpenRfc& open);

// Runs checkForNewRfcs on a worker thread and reports on the GUI thread.
class NewRfcChecker : public QObject {
    Q_OBJECT

public:
    explicit NewRfcChecker(QObject* parent = nullptr);
    ~NewRfcChecker() override;

    // Starts a check; false when one is running.
    bool start(const RfcSettings& settings);
    bool running() const { return m_thread != nullptr; }

signals:
    void checked(const parchly::NewRfcs& result);

private:
    std::atomic<bool> m_cancel{false};
    std::shared_ptr<NewRfcs> m_result;
    QThread* m_thread = nullptr;
};

} // namespace parchly

#endif

// The status bar's "7 new RFCs": the check for new RFCs, run at start-up
// when Options switch it on and are due, or when the reader asks; a click
// on the notice lists them to fetch and open.
#ifndef PARCHLY_FRAME_NEW_RFCS_NOTICE_H
#define PARCHLY_FRAME_NEW_RFCS_NOTICE_H

#include <QObject>

#include <cstdint>
#include <vector>

#include "update/new_rfcs.h"

class QPushButton;
class QStatusBar;

namespace parchly {

class FrameHost;
class NewRfcChecker;

class NewRfcsNotice : public QObject {
    Q_OBJECT

public:
    NewRfcsNotice(QStatusBar& bar, FrameHost& host, QWidget* window);

    // A check the reader asked for: its outcome is always told.
    void checkNow();
    // The start-up check: runs only when Options switch it on and the last
    // one is a day (or a week) old at `now` (seconds since 1970); nothing
    // goes over the network otherwise.
    void checkIfDue(int64_t now);

    QPushButton* button() const { return m_button; }
    const std::vector<ListedRfc>& newRfcs() const { return m_rfcs; }
    // The list of new RFCs, modally.
    void showList();

private:
    void checked(const NewRfcs& result);

    QStatusBar& m_bar;
    FrameHost& m_host;
    QWidget* m_window;
    NewRfcChecker* m_checker;
    QPushButton* m_button;
    std::vector<ListedRfc> m_rfcs;
    bool m_asked = false;
};

} // namespace parchly

#endif

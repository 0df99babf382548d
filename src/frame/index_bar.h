// The slim bar above an RFC's text with what the RFC index says of it:
// status, the RFCs that obsolete and update it, the series it belongs to.
// Its RFC numbers are links; an obsoleted RFC's bar takes the "Obsoleted
// RFC" display format so that it stands out.
#ifndef PARCHLY_FRAME_INDEX_BAR_H
#define PARCHLY_FRAME_INDEX_BAR_H

#include "settings/formats.h"

#include <QLabel>
#include <QString>

namespace parchly {

struct IndexStatusEntry;
class RfcIndexStatus;

// The bar's text as rich text, each RFC number a link "rfc:<number>";
// empty when the entry says nothing.
QString indexBarHtml(const IndexStatusEntry& entry);

// The RFC number a file name names ("rfc2616.txt": 2616), 0 otherwise.
int rfcNumberOfFileName(const QString& path);

class IndexBar : public QLabel {
    Q_OBJECT
public:
    explicit IndexBar(QWidget* parent = nullptr);

    // Shows what `index` says of RFC `number`; hidden without an index, an
    // entry, or anything to say. `obsoleted` is the format of an
    // obsoleted RFC's bar. `errata` ("3 verified, 1 held"), when not empty,
    // follows as "Errata: 3 verified, 1 held", a link to the Errata tab.
    void showStatus(const RfcIndexStatus* index, int number, const TextFormat& obsoleted,
                    const QString& errata = QString());

signals:
    // A click on an RFC number of the bar.
    void rfcChosen(int number);
    // A click on the errata counts.
    void errataChosen();
};

} // namespace parchly

#endif

// What a reading view needs of the windows around it. The frame implements
// this interface; the view knows nothing else of the frame classes.
#ifndef PARCHLY_VIEW_VIEW_HOST_H
#define PARCHLY_VIEW_VIEW_HOST_H

#include <QString>

namespace parchly {

struct ReadingSession;
struct RfcSettings;
class RfcDocument;
class ReadingView;
class RfcIndexStatus;

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // The application's settings record, read in place at the moment of use.
    virtual const RfcSettings& settings() const = 0;

    // What the views of the window share while the program runs.
    virtual ReadingSession& session() = 0;

    // The selected tab of the window's Navigator (0 Structure, 1 Page), for
    // the context menu's Structure and Page; 0 without a Navigator.
    virtual int navigatorTab() const { return 0; }

    // Pane 2 (position: "Ln %d, Col %d") of the main frame's status bar.
    virtual void setPositionPane(const QString& text) = 0;

    // The main frame's DocumentTabBar: append a tab for the view (its data
    // is the view) and select it; remove the first tab whose data is the
    // view. The host must outlive every view it holds.
    virtual void addDocumentTab(const QString& title, ReadingView* view) = 0;
    virtual void removeDocumentTab(ReadingView* view) = 0;

    // Opens "<RfcRootPath>/rfc<number>.txt" through the application's
    // openDocumentFile; null when it was not opened.
    virtual RfcDocument* openRfcNumber(int number) = 0;

    // Runs a command of the frame (Structure, Page, Index) as its menu
    // item would; the view's context menu offers them.
    virtual void runFrameCommand(int id) = 0;

    // A passing note in the status bar (find wrapped round, not found).
    virtual void showStatusMessage(const QString& /*text*/) { }
    // Keeps the zoom the user chose for the program (RfcSettings::TextZoom).
    virtual void storeZoomSteps(int /*steps*/) { }

    // Links across RFCs. The view of RFC `number`, opened or brought
    // forward as a link opens it (its local file, fetched first when the
    // reader agrees, else its entry in the RFC index, else a message); null
    // when no view shows it.
    virtual ReadingView* openRfcView(int number)
    {
        openRfcNumber(number);
        return nullptr;
    }
    // RFC `number` is not in the folder and a link needs it: offers to fetch
    // it (or fetches it, as Options say); true when its file is there now.
    virtual bool fetchMissingRfc(int /*number*/) { return false; }
    // The view of the document at `path`, its window brought forward (and
    // opened again when it was closed); null when it cannot be shown.
    virtual ReadingView* showDocumentView(const QString& /*path*/) { return nullptr; }
    // What the RFC index says of each RFC; null without an index.
    virtual const RfcIndexStatus* indexStatus() const { return nullptr; }

    // A click on the marker of erratum `index` of the document: the host
    // selects it in the Navigator's "Errata" tab.
    virtual void erratumChosen(int /*index*/) { }

    // "3 verified, 1 held": the errata the database holds of RFC `number`;
    // empty when it holds none or is not read.
    virtual QString errataCountsOf(int /*number*/) const { return QString(); }
};

} // namespace parchly

#endif

// parchly-screenshot FILE IMAGE: starts the program with a scratch settings
// file, opens FILE through openDocumentFile as the File menu does, lets the
// window settle and saves a picture of the main window to IMAGE. For the
// RFC index, a third argument RFC makes that RFC's entry the live one; for
// an RFC, a third argument is found with the find bar, except "Requirements":
// the RFC's folder is the RFC folder (its index bar shows) and the
// Navigator shows the Requirements tab; "Errata" likewise, with the
// folder's errata.json read, the Navigator on the Errata tab and the text at
// the first Technical erratum placed at its text.
// parchly-screenshot --find-in-rfcs FOLDER IMAGE TEXT: the Find in RFCs dock
// with the hits of TEXT in the RFCs of FOLDER, the first RFC open at its hit.
#include "frame/document_window.h"
#include "frame/errata_page.h"
#include "frame/errata_service.h"
#include "frame/command_icons.h"
#include "frame/find_in_rfcs_dock.h"
#include "frame/main_window.h"
#include "frame/navigator_bar.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "view/rfc_document.h"
#include "view/command_ids.h"
#include "view/find.h"
#include "view/reading_view.h"
#include "unattended_app.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parchly"));
    QApplication::setWindowIcon(parchly::programIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == QStringLiteral("--find-in-rfcs")) {
        // Paths first: the unattended program works in a scratch folder.
        const QString folder = QFileInfo(arguments[2]).absoluteFilePath();
        const QString picture = QFileInfo(arguments[3]).absoluteFilePath();
        parchly::UnattendedApp unattended;
        if (!unattended.app())
            return 1;
        parchly::ParchlyApplication& app = *unattended.app();
        app.settings().RfcRootPath = QFile::encodeName(folder).toStdString();
        app.mainWindow()->showNormal();
        app.mainWindow()->setGeometry(0, 0, 1200, 860);
        app.mainWindow()->routeCommand(parchly::kCmdFindInRfcs);
        parchly::FindInRfcsDock* dock = app.mainWindow()->findInRfcsDock();
        if (!dock)
            return 1;
        dock->textEdit()->setText(arguments[4]);
        QEventLoop searching;
        QObject::connect(dock, &parchly::FindInRfcsDock::searchFinished, &searching, &QEventLoop::quit);
        dock->startSearch();
        searching.exec();
        dock->setOrder(parchly::FindInRfcsDock::Order::ByHits);
        app.mainWindow()->resizeDocks({dock}, {460}, Qt::Vertical);
        if (QTreeWidgetItem* first = dock->results()->topLevelItem(0))
            dock->openHit(first->child(0));
        QEventLoop settle;
        QTimer::singleShot(1500, &settle, &QEventLoop::quit);
        settle.exec();
        return app.mainWindow()->grab().save(picture) ? 0 : 1;
    }
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fprintf(stderr, "usage: parchly-screenshot FILE IMAGE [RFC|TEXT]\n");
        return 2;
    }
    const QString file = QFileInfo(arguments[1]).absoluteFilePath();
    const QString image = QFileInfo(arguments[2]).absoluteFilePath();

    parchly::UnattendedApp unattended;
    if (!unattended.app())
        return 1;
    parchly::ParchlyApplication& app = *unattended.app();
    // Without a window manager a maximised window keeps its normal size.
    app.mainWindow()->showNormal();
    app.mainWindow()->setGeometry(0, 0, 1200, 760);
    const bool requirements = arguments.size() == 4 && arguments[3] == QLatin1String("Requirements");
    const bool errata = arguments.size() == 4 && arguments[3] == QLatin1String("Errata");
    if (requirements || errata) {
        app.settings().RfcRootPath = QFile::encodeName(QFileInfo(file).absolutePath()).toStdString();
        app.reloadIndexStatus();
    }
    if (!app.openDocumentFile(file))
        return 1;
    // Read from the top, as a reader starts with Ctrl+Home.
    if (parchly::DocumentWindow* child = app.mainWindow()->activeDocumentWindow()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Home, Qt::ControlModifier);
        QApplication::sendEvent(child->viewWidget(), &press);
        QApplication::sendEvent(child->viewWidget(), &release);
        // Activation brings the status panes up to date.
        app.mainWindow()->activateDocumentWindow(child);
        if (requirements) {
            parchly::NavigatorBar* navigator = child->navigatorBar();
            navigator->tabs()->selectTab(parchly::kRequirementsTab);
            navigator->showNavigatorTab(parchly::kRequirementsTab);
            navigator->requirementsTree()->expandAll();
        } else if (errata && child->errataPage()) {
            parchly::ErrataService& service = app.mainWindow()->errata();
            if (!service.data()) {
                QEventLoop reading;
                QObject::connect(&service, &parchly::ErrataService::dataChanged, &reading, &QEventLoop::quit);
                QTimer::singleShot(20000, &reading, &QEventLoop::quit);
                reading.exec();
            }
            child->navigatorBar()->showPage(child->errataPage());
            // Wide enough for the list's columns.
            child->setNavigatorWidth(420);
            const auto& placed = child->document()->errata();
            for (std::size_t i = 0; i < placed.size(); ++i) {
                if (placed[i].placement.placedBy == parchly::PlacedBy::Text && isTechnical(placed[i].erratum)
                    && child->errataPage()->selectErratum(int(i))) {
                    child->document()->goToErratum(int(i));
                    break;
                }
            }
        } else if (arguments.size() == 4 && child->view() && !child->document()->text().isIndex) {
            // For an RFC the third argument is a text to find: the find bar
            // open below the text with every match highlighted.
            app.mainWindow()->routeCommand(parchly::kCmdFind);
            if (parchly::FindBar* bar = child->view()->finder().bar()) {
                bar->textEdit()->setText(arguments[3]);
                for (int jump = 0; jump < 3; ++jump)
                    emit bar->searchRequested(true);
            }
        } else if (arguments.size() == 4 && child->view()) {
            const int number = arguments[3].toInt();
            const auto& entries = child->document()->text().indexEntries;
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (entries[i].number == number) {
                    child->document()->goToContentsEntry(static_cast<int>(i));
                    break;
                }
        }
    }

    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    if (!app.mainWindow()->grab().save(image)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(image));
        return 1;
    }
    return 0;
}

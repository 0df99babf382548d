// The errata in the windows: the Navigator's Errata tab lists what the
// status filter shows, the filter is stored, a double-click goes to the
// erratum's lines, the index bar counts the errata, and a damaged or
// missing errata.json neither loses what was read nor goes unexplained.
#include "app_fixture.h"

#include "frame/document_window.h"
#include "frame/errata_page.h"
#include "frame/errata_service.h"
#include "frame/index_bar.h"
#include "support/fixture_cases.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>

namespace parchly {
namespace {

// Errata of the fixture RFC 9999 of each status, and one of an RFC the
// folder lacks.
const std::string kErrata = test::readFixture("errata/rfc9999-windows.json");

class ErrataWindows : public test::AppFixture {
protected:
    // Opens the fixture RFC with `errata` as the folder's errata.json (none
    // when null) and waits until the errata are read.
    DocumentWindow* openWithErrata(const std::string* errata)
    {
        if (errata)
            test::writeFile(pathOf(QStringLiteral("errata.json")).toStdString(), *errata);
        const QString rfc = copyFixture("rfc9999.txt", "rfc9999.txt", "errata");
        makeApp();
        EXPECT_NE(app->openDocumentFile(rfc), nullptr);
        DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
        ErrataService& service = app->mainWindow()->errata();
        if (!service.data()) {
            QSignalSpy read(&service, &ErrataService::dataChanged);
            EXPECT_TRUE(read.wait(20000));
        }
        return child;
    }

    static QStringList listedIds(const DocumentWindow& child)
    {
        QStringList ids;
        const QTreeWidget* list = child.errataPage()->list();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            ids << list->topLevelItem(row)->text(0);
        return ids;
    }

    static QCheckBox* filterBox(const DocumentWindow& child, const QString& label)
    {
        for (QCheckBox* box : child.errataPage()->findChildren<QCheckBox*>())
            if (box->text() == label)
                return box;
        return nullptr;
    }
};

TEST_F(ErrataWindows, TabListsVerifiedAndHeldErrataAndTheBarCountsAllButRejected)
{
    DocumentWindow* child = openWithErrata(&kErrata);
    ASSERT_NE(child, nullptr);
    ASSERT_NE(child->errataPage(), nullptr);
    EXPECT_EQ(listedIds(*child), QStringList({"101", "102"}));
    EXPECT_TRUE(child->indexBar()->text().contains(QStringLiteral("Errata: 1 verified, 1 held, 1 reported")))
        << child->indexBar()->text().toStdString();
    EXPECT_TRUE(child->indexBar()->isVisibleTo(child));
}

TEST_F(ErrataWindows, FilterShowsReportedErrataAndIsStoredAtOnce)
{
    DocumentWindow* child = openWithErrata(&kErrata);
    ASSERT_NE(child, nullptr);
    QCheckBox* reported = filterBox(*child, QStringLiteral("Reported"));
    ASSERT_NE(reported, nullptr);
    reported->setChecked(true);
    EXPECT_EQ(listedIds(*child), QStringList({"101", "102", "103"}));
    QFile ini(pathOf(QStringLiteral("Parchly.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains(
        "[ErrataFilter]\nShowVerified=1\nShowHeld=1\nShowReported=1\nShowRejected=0\n"));
}

TEST_F(ErrataWindows, ActivatingAnErratumGoesToTheLinesOfItsText)
{
    DocumentWindow* child = openWithErrata(&kErrata);
    ASSERT_NE(child, nullptr);
    const std::vector<PlacedErratum>& placed = child->document()->errata();
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[0].placement.placedBy, PlacedBy::Text);
    EXPECT_EQ(placed[0].placement.firstLine, 38);
    QTreeWidget* list = child->errataPage()->list();
    emit list->itemActivated(list->topLevelItem(0), 0);
    EXPECT_EQ(test::caretOf(*child->view()).first, 38);
}

TEST_F(ErrataWindows, DamagedFileKeepsTheErrataReadBeforeAndSaysWhy)
{
    DocumentWindow* child = openWithErrata(&kErrata);
    ASSERT_NE(child, nullptr);
    test::writeFile(pathOf(QStringLiteral("errata.json")).toStdString(), "<html>502 Bad Gateway</html>");
    ErrataService& service = app->mainWindow()->errata();
    QSignalSpy read(&service, &ErrataService::dataChanged);
    service.reload();
    ASSERT_TRUE(read.wait(20000));
    EXPECT_EQ(listedIds(*child), QStringList({"101", "102"}));
    ASSERT_TRUE(service.data());
    EXPECT_TRUE(service.data()->problem.contains(QStringLiteral("not a JSON file")))
        << service.data()->problem.toStdString();
}

TEST_F(ErrataWindows, WithoutAnErrataFileTheTabSaysHowToGetOne)
{
    DocumentWindow* child = openWithErrata(nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(listedIds(*child).isEmpty());
    EXPECT_TRUE(child->errataPage()->note()->text().contains(QStringLiteral("Update Errata")))
        << child->errataPage()->note()->text().toStdString();
    EXPECT_FALSE(child->indexBar()->text().contains(QStringLiteral("Errata")));
}

TEST_F(ErrataWindows, ErratumPageAddressNamesItsId)
{
    EXPECT_EQ(erratumPageUrl("5483"), QStringLiteral("https://www.rfc-editor.org/errata/eid5483"));
}

} // namespace
} // namespace parchly

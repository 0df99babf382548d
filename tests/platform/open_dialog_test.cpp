// The file-open dialog lists a folder of RFCs in the order of their numbers.
#include "platform/dialogs.h"
#include "platform/natural_order.h"
#include "support/fixture_cases.h"
#include <QTemporaryDir>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace parchly {
namespace {

// The names the dialog's list shows, from the top.
QStringList listedNames(QFileDialog& dialog)
{
    QStringList names;
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (!list || !list->model())
        return names;
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row)
        names << list->model()->index(row, 0, root).data().toString();
    return names;
}

TEST(NaturalOrder, NumbersInNamesCompareByValue)
{
    for (const test::FixtureCase& c : test::readFixtureCases("platform/natural-order.txt")) {
        SCOPED_TRACE(c.title);
        EXPECT_TRUE(naturalLess(QString::fromStdString(c["before"]), QString::fromStdString(c["after"])));
        EXPECT_FALSE(naturalLess(QString::fromStdString(c["after"]), QString::fromStdString(c["before"])));
    }
    EXPECT_FALSE(naturalLess("rfc1.txt", "rfc1.txt"));
}

TEST(OpenDialog, ListsRfcsInTheOrderOfTheirNumbers)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* name : {"rfc10.txt", "rfc2.txt", "rfc1.txt", "rfc100.txt", "rfc9.txt"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::unique_ptr<QFileDialog> dialog(newOpenFileDialog(
        nullptr, QStringLiteral("Open"), folder.path(), QStringLiteral("RFC files (rfc*.txt)")));
    dialog->show();
    const QStringList expected = {"rfc1.txt", "rfc2.txt", "rfc9.txt", "rfc10.txt", "rfc100.txt"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return listedNames(*dialog) == expected; }, 5000))
        << listedNames(*dialog).join(' ').toStdString();
}

} // namespace
} // namespace parchly

// Files that are not RFCs: shown as plain text in the Default format alone,
// with "Not recognised as an RFC" in the status bar while their window is
// active; RFCs, classic or modern, keep their formats.
#include "reading_fixture.h"
#include "support/temp_folder.h"

#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace parchly {
namespace {

const char* const kReadme = "Parchly notes\n=============\n\nContents\n\n1. Introduction ........ 1\n\n"
                            "1. Introduction\n\n   The key words are those of RFC 2119 [RFC2119].\n\n"
                            "[RFC2119] Bradner, S., \"Key words\", RFC 2119, March 1997.\n";

// As RFCs since 8650 are: no form feeds, no page headers or footers.
const char* const kModernRfc = "Internet Engineering Task Force (IETF)                        A. Author\n"
                               "Request for Comments: 9998                                  Example Org\n"
                               "Category: Standards Track                                    March 2024\n"
                               "ISSN: 2070-1721\n\n\n                        A Modern Test Protocol\n\n"
                               "Abstract\n\n   This document has no form feeds.\n";

// How many formats the shown text uses.
int formatsShown(const ReadingView& view)
{
    std::set<std::tuple<QString, int, bool, bool>> formats;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            formats.insert({format.foreground().color().name(), format.fontWeight(), format.fontItalic(),
                            format.fontUnderline()});
        }
    return int(formats.size());
}

class PlainTextTest : public test::ReadingFixture {
protected:
    QString notice() { return app->mainWindow()->statusBar()->findChild<QLabel*>("noticePane")->text(); }
};

TEST_F(PlainTextTest, OnlyRfcsAreFormattedAndTheOthersSaySoWhileActive)
{
    makeApp();
    copyReading("../view/rfc9990.txt", "rfc9990.txt");
    const struct {
        QString name;
        const char* text; // none: the file is there already
        bool recognised;
    } cases[] = {
        {QStringLiteral("README"), kReadme, false},
        {QStringLiteral("rfc9990.txt"), nullptr, true},
        {QStringLiteral("rfc9998.txt"), kModernRfc, true},
    };
    std::vector<DocumentWindow*> windows;
    for (const auto& item : cases) {
        SCOPED_TRACE(item.name.toStdString());
        if (item.text)
            test::writeFile(pathOf(item.name).toStdString(), item.text);
        if (!item.name.endsWith(QLatin1String(".txt")))
            dialogs.answers.push_back(
                MessageAnswer::Ok); // "It seems that ... is not in txt format, continue?"
        ReadingView* view = open(pathOf(item.name));
        ASSERT_NE(view, nullptr);
        windows.push_back(app->mainWindow()->activeDocumentWindow());
        EXPECT_EQ(notice(), item.recognised ? QString() : QStringLiteral("Not recognised as an RFC"));
        EXPECT_EQ(formatsShown(*view) > 1, item.recognised) << "formats beyond the Default one";
        EXPECT_EQ(view->document()->toPlainText(), test::expectedShownText(pathOf(item.name)));
    }
    // The note follows the active window.
    app->mainWindow()->activateDocumentWindow(windows[0]);
    EXPECT_EQ(notice(), "Not recognised as an RFC");
    app->mainWindow()->activateDocumentWindow(windows[2]);
    EXPECT_EQ(notice(), "");
}

} // namespace
} // namespace parchly

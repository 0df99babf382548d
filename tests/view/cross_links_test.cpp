// Links across RFCs in the running program: every link shape of the links
// fixture followed by a click, Back across windows, and the index bar.
#include "frame/index_bar.h"
#include "frame/navigator_bar.h"
#include "platform/char_format.h"
#include "reading_fixture.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QTextDocumentFragment>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class CrossLinksTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        ReadingFixture::SetUp();
        makeApp();
        app->mainWindow()->resize(1000, 700);
        // The links text is the golden analysis case's input. RFC 9110 is
        // there (the same text), RFC 2119 only in the index.
        copyReading("../links/rfc-index.txt", "rfc-index.txt");
        rfcPath = copyReading("../../analysis/golden/links.txt", "rfc9995.txt");
        copyReading("../../analysis/golden/links.txt", "rfc9110.txt");
        app->reloadIndexStatus();
    }

    QString activeFile() const
    {
        DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
        return child ? QFileInfo(child->path()).fileName() : QString();
    }

    static QString caretLineText(const ReadingView& view) { return view.lineText(caretLine(view)).trimmed(); }

    QString rfcPath;
};

TEST_F(CrossLinksTest, EachLinkShapeLeadsWhereItNames)
{
    struct Case {
        const char* text; // clicked at its second character
        const char* file; // the active window afterwards
        const char* caretLine; // the start of the caret's line there; null: not moved
        bool link;
    };
    const Case cases[] = {
        {"[RFC6961] in one line", "rfc9995.txt", "[RFC6961]  Pettersen", true}, // second on its line
        {"[3], and a list", "rfc9995.txt", "[3]        Postel", true},
        {"Section 2.1, Sections", "rfc9995.txt", "2.1.  Details", true},
        {" 3, Appendix A.1", "rfc9995.txt", "3.  Security Considerations", true},
        {"Appendix A.1 and", "rfc9995.txt", "A.1.  Sub-example", true},
        {"RFC 9110, Section 8.3", "rfc9110.txt", nullptr, true},
        {"Section 4 and Section 5.1", "rfc9110.txt", "4.  References", true},
        {"RFC 7231 by number", "rfc9995.txt", nullptr, true}, // missing, not indexed: a message
        {"BCP 14, STD 97", "rfc-index.txt", "2119 Key words", true}, // missing: its index entry
        {"FYI 36;", "rfc9995.txt", nullptr, false}, // the index names no RFC for it
        {"RFC-Editor and", "rfc9995.txt", nullptr, false},
        {"Section 9 (which", "rfc9995.txt", nullptr, false},
        {"10.17487/RFC9110, not", "rfc9995.txt", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ReadingView* view = open(rfcPath);
        ASSERT_NE(view, nullptr);
        const int at = find(*view, QString::fromLatin1(c.text));
        ASSERT_GE(at, 0);
        view->scrollLines(view->lineFromPosition(at) - 5 - view->firstVisibleLine());
        const int line = view->lineFromPosition(at);
        EXPECT_EQ(pointerAt(*view, pointAt(*view, at + 1)),
                  c.link ? Qt::PointingHandCursor : Qt::IBeamCursor);
        const size_t messages = dialogs.messages.size();
        clickAt(*view, at + 1);
        EXPECT_EQ(activeFile(), QString::fromLatin1(c.file));
        ReadingView* shown = app->mainWindow()->activeDocumentWindow()->view();
        if (c.caretLine) {
            EXPECT_TRUE(caretLineText(*shown).startsWith(QString::fromLatin1(c.caretLine)))
                << caretLineText(*shown).toStdString();
        } else if (shown == view) {
            EXPECT_EQ(caretLine(*view), line);
        }
        EXPECT_EQ(dialogs.messages.size() - messages,
                  QString::fromLatin1(c.text).startsWith("RFC 7231") ? 1u : 0u);
        for (DocumentWindow* child : std::vector<DocumentWindow*>(app->mainWindow()->documentWindows()))
            child->close();
        QApplication::processEvents();
    }
}

TEST_F(CrossLinksTest, BackInTheOpenedRfcBringsTheFirstForwardAtItsLine)
{
    ReadingView* first = open(rfcPath);
    ASSERT_NE(first, nullptr);
    const int seriesAt = find(*first, "BCP 14, STD") + 1;
    first->scrollLines(first->lineFromPosition(seriesAt) - 5);
    const QPoint series = pointAt(*first, seriesAt);
    EXPECT_EQ(pointerAt(*first, series), Qt::PointingHandCursor);
    EXPECT_EQ(first->viewport()->toolTip(), QStringLiteral("BCP 14: RFC 2119, RFC 8174, RFC 9995"));

    // Enter follows the link at the caret as a click does.
    const int link = find(*first, "Section 4 and");
    first->setSelection(link + 2, link + 2);
    const int from = caretLine(*first);
    QTest::keyClick(first, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(activeFile(), QStringLiteral("rfc9110.txt"));
    ReadingView* second = app->mainWindow()->activeDocumentWindow()->view();
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    QApplication::processEvents();
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9995.txt"));
    EXPECT_EQ(caretLine(*first), from);
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 2u) << "Back closes nothing";
    // Forward in the second window goes to its heading again.
    app->mainWindow()->activateDocumentWindow(app->mainWindow()->documentWindows().back());
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoForward));
    EXPECT_TRUE(caretLineText(*second).startsWith(QStringLiteral("4.  References")));
}

TEST_F(CrossLinksTest, TheIndexBarSaysWhatTheIndexSaysUnlessTurnedOff)
{
    ReadingView* view = open(rfcPath);
    ASSERT_NE(view, nullptr);
    DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
    IndexBar* bar = child->indexBar();
    const auto barText = [bar] { return QTextDocumentFragment::fromHtml(bar->text()).toPlainText(); };
    EXPECT_TRUE(bar->isVisibleTo(child));
    for (const char* part :
         {"PROPOSED STANDARD", "Obsoleted by RFC 9996, RFC 9997", "Updated by RFC 9998", "Also BCP 14"})
        EXPECT_TRUE(barText().contains(QString::fromLatin1(part)))
            << part << " in " << barText().toStdString();
    // Obsoleted: the bar takes the format's colour.
    EXPECT_TRUE(bar->styleSheet().contains(
        toCharFormat(app->settings().Formats[kFormatObsoleted]).foreground().color().name()));
    // A successor's link opens it.
    ASSERT_TRUE(bar->text().contains(QStringLiteral("href=\"rfc:9996\">RFC 9996<")));
    copyReading("../../analysis/golden/links.txt", "rfc9996.txt");
    emit bar->linkActivated(QStringLiteral("rfc:9996"));
    QApplication::processEvents();
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9996.txt"));
    // Not obsoleted: the window's own look.
    ASSERT_NE(open(pathOf("rfc9110.txt")), nullptr);
    EXPECT_TRUE(app->mainWindow()->activeDocumentWindow()->indexBar()->styleSheet().isEmpty());

    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdIndexBar));
    EXPECT_FALSE(bar->isVisibleTo(child));
    RfcSettings stored;
    stored.loadSettings(app->profile());
    EXPECT_FALSE(stored.ShowIndexBar);
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdIndexBar));
    EXPECT_TRUE(bar->isVisibleTo(child));

    // The index's own window has none; without the index no window has one.
    ASSERT_NE(open(pathOf("rfc-index.txt")), nullptr);
    DocumentWindow* indexWindow = app->mainWindow()->activeDocumentWindow();
    EXPECT_FALSE(indexWindow->indexBar()->isVisibleTo(indexWindow));
    QFile::remove(pathOf("rfc-index.txt"));
    app->reloadIndexStatus();
    EXPECT_FALSE(bar->isVisibleTo(child));
}

// The colour of the character at `position`.
QColor colourAt(const TextView& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

TEST_F(CrossLinksTest, RequirementsTabKeywordsAndTheirCsv)
{
    ReadingView* view = open(rfcPath);
    ASSERT_NE(view, nullptr);
    DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
    NavigatorBar* navigator = child->navigatorBar();
    ASSERT_EQ(navigator->tabs()->count(), 4); // Cited by comes after
    navigator->tabs()->selectTab(kRequirementsTab);
    navigator->showNavigatorTab(kRequirementsTab);
    EXPECT_EQ(app->mainWindow()->modePane(), QStringLiteral("Requirements View"));

    // A leaf's click puts the caret at the start of its sentence.
    TreeView* tree = navigator->requirementsTree();
    tree->expandAll();
    QTreeWidgetItem* leaf = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it && !leaf; ++it)
        if ((*it)->text(0).startsWith(QStringLiteral("SHOULD NOT: ")))
            leaf = *it;
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(tree->itemText(tree->parentItem(leaf)), QStringLiteral("2. Protocol"));
    tree->scrollToItem(leaf);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(leaf).center());
    QApplication::processEvents();
    EXPECT_EQ(view->selectedRange().end, find(*view, "A server SHOULD NOT"));

    // The keyword in its own colour; "Default" around it.
    const int must = find(*view, "A client MUST send") + 9;
    const QColor keyword =
        toCharFormat(app->settings().Formats[kFormatRequirementKeywords]).foreground().color();
    EXPECT_EQ(colourAt(*view, must), keyword);
    EXPECT_NE(colourAt(*view, must - 3), keyword);

    const QString csv = pathOf("requirements.csv");
    dialogs.paths.push_back(csv);
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdExportRequirements));
    const QString written = QString::fromStdString(test::readFile(csv.toStdString()));
    EXPECT_TRUE(written.startsWith(QStringLiteral("RFC,Section,Section title,Keyword,Sentence,Line\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("9995,2,Protocol,SHOULD NOT,")));
}

} // namespace
} // namespace parchly

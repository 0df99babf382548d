// Files made to break a reader (one enormous line, NUL bytes, a contents
// table or page count of hundreds of thousands, an index entry of 1 MB),
// each made here, opened through the real window offscreen, and held to a
// memory ceiling; the time is held by the CTest timeout.
#include "frame/app_fixture.h"
#include "support/fixture_cases.h"
#include "frame/document_window.h"
#include "platform/tree_view.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QFile>
#include <QTextBlock>
#include <QTreeWidgetItemIterator>
#include <ostream>
#include <sys/resource.h>

namespace parchly {
namespace {

// What a hostile file may cost at most, the Qt application itself included.
// AddressSanitizer's shadow memory and quarantine raise every figure, so its
// builds (scripts/test --sanitize) allow twice as much.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakMemoryKiB = 600 * 1024;
#else
constexpr long kPeakMemoryKiB = 300 * 1024;
#endif
constexpr int kShownLineLimit = 1023;

// An RFC whose contents table lists `entries` sections.
QByteArray contentsOfEntries(int entries)
{
    QByteArray text = QByteArray::fromStdString(test::readFixture("pathological/contents-head.txt"));
    for (int i = 1; i <= entries; ++i) {
        QByteArray line = "   " + QByteArray::number(i) + ".  Section " + QByteArray::number(i) + " ";
        text += line + QByteArray(68 - line.size(), '.') + " " + QByteArray::number(i / 50 + 1) + "\n";
    }
    return text + "\n1.  Section 1\n\n   Text.\n";
}

// An index whose one entry names `numbers` RFCs (about 6 bytes each).
QByteArray indexWithHugeEntry(int numbers)
{
    QByteArray entry =
        "0001 Host Software. S. Crocker. April 1969. (Format: TXT=21088 bytes)\n     (Updated by";
    for (int i = 2; i < numbers + 2; ++i)
        entry += (i % 10 == 0 ? "\n     RFC" : " RFC") + QByteArray::number(i) + ",";
    entry.chop(1);
    return "RFC INDEX\n\n   RFC INDEX\n\n" + entry
        + ") (Status: UNKNOWN)\n\n0002 Host software. B. Duvall. April 1969.\n";
}

struct HostileFile {
    const char* name;
    std::function<QByteArray()> bytes;
    const char* refusal; // the message that refuses it, or nullptr when it opens
};

void PrintTo(const HostileFile& hostile, std::ostream* out)
{
    *out << hostile.name;
}

class Pathological : public test::AppFixture, public ::testing::WithParamInterface<HostileFile> {
protected:
    // The opened file is shown within the bounds: no line longer than the
    // limit, the lines the analysis counted (and an empty last one after a
    // final line end), trees of bounded size.
    void expectShownWithinBounds(const RfcDocument& document, const QByteArray& bytes)
    {
        DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
        ASSERT_NE(child, nullptr);
        ReadingView& view = *child->view();
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.length() - 1, kShownLineLimit) << "line " << block.blockNumber() + 1;
        if (!document.text().isIndex) {
            EXPECT_EQ(view.lineCount(), document.text().lineCount + (bytes.endsWith('\n') ? 1 : 0));
        }
        const NavigatorBar* navigator = child->navigatorBar();
        for (TreeView* tree : {navigator->firstTree(), navigator->secondTree()}) {
            int items = 0;
            for (QTreeWidgetItemIterator it(tree); tree && *it; ++it)
                ++items;
            EXPECT_LE(items, 5003);
        }
    }

    // The huge entry becomes current again after another one: it is
    // decorated afresh, within the same bounds.
    void expectHugeEntryDecoratedAgain(const RfcDocument& document)
    {
        const auto& entries = document.text().indexEntries;
        ASSERT_EQ(entries.size(), 2u);
        ReadingView& view = *app->mainWindow()->activeDocumentWindow()->view();
        for (int line : {entries.back().firstLine - 1, entries.front().firstLine - 1})
            view.updateCurrentIndexEntry(line);
        EXPECT_EQ(document.text().currentEntry, 0);
    }
};

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, Pathological,
    ::testing::Values(HostileFile{"rfc90001.txt", [] { return QByteArray(8 * 1024 * 1024, 'x') + "\n"; },
                                  nullptr},
                      HostileFile{"rfc90007.txt", [] { return QByteArray(50 * 1024 * 1024, 'x') + "\n"; },
                                  "rfc90007.txt is not an RFC text file: it holds more than 16 MB"},
                      HostileFile{"rfc90002.txt", [] { return QByteArray(10 * 1024 * 1024, '\0'); },
                                  "rfc90002.txt is not an RFC text file: it holds NUL bytes"},
                      HostileFile{"rfc90003.txt", [] { return contentsOfEntries(20000); }, nullptr},
                      HostileFile{"rfc90004.txt", [] { return QByteArray(1000000, '\n'); },
                                  "rfc90004.txt is not an RFC text file: it holds more than 200000 lines"},
                      HostileFile{"rfc90006.txt", [] { return QByteArray(100000, '\n'); }, nullptr},
                      HostileFile{"rfc90005.txt", [] { return QByteArray(200000, '\f'); }, nullptr},
                      HostileFile{"rfc-index.txt", [] { return indexWithHugeEntry(170000); }, nullptr}),
    [](const ::testing::TestParamInfo<HostileFile>& info) {
        return QString::fromLatin1(info.param.name)
            .remove(QLatin1Char('-'))
            .section(QLatin1Char('.'), 0, 0)
            .toStdString();
    });

TEST_P(Pathological, OpensWithinBoundsOrIsRefusedWithTheReason)
{
    const HostileFile& hostile = GetParam();
    const QString path = pathOf(QString::fromLatin1(hostile.name));
    const QByteArray bytes = hostile.bytes();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    makeApp();
    RfcDocument* document = app->openDocumentFile(path);
    QApplication::processEvents();
    if (hostile.refusal) {
        EXPECT_EQ(document, nullptr);
        EXPECT_EQ(dialogs.messages, QStringList{QString::fromLatin1(hostile.refusal)});
    } else {
        ASSERT_NE(document, nullptr);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        expectShownWithinBounds(*document, bytes);
        if (document->text().isIndex)
            expectHugeEntryDecoratedAgain(*document);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LE(usage.ru_maxrss, kPeakMemoryKiB);
}

} // namespace
} // namespace parchly

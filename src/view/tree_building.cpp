#include "view/tree_building.h"

#include "analysis/requirements.h"
#include "analysis/rfc_text.h"
#include "platform/text_decoding.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace parchly {

namespace {

constexpr size_t kTitleLimit = 256;
constexpr size_t kNumberLimit = 16;
constexpr std::string_view kAppendix = "Appendix ";

// Items a tree shows of a list at most: far above any real RFC's contents
// or pages, while a hostile file of 100,000 entries would take the tree
// seconds and a gigabyte. What is left is counted by one final item.
constexpr size_t kTreeItemLimit = 5000;
// The final item's data: past every entry and line, so that a click on it
// goes nowhere and the caret's walk stops at the last listed item.
constexpr int32_t kBeyondEverything = std::numeric_limits<int32_t>::max();

QString moreItemText(size_t count)
{
    return QStringLiteral("\u2026 %1 more").arg(count);
}

// At most `limit` bytes of `bytes`, cut between characters of UTF-8 text,
// decoded as the shown text is.
QString treeText(const std::string& bytes, size_t limit)
{
    size_t length = std::min(bytes.size(), limit);
    if (length < bytes.size() && isValidUtf8(bytes)) {
        while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80)
            --length;
    }
    return decodeRfcText(std::string_view(bytes).substr(0, length)).text;
}

// The start of a reference's title, cut after a whole word with "..." so
// that the label and the title's first words fit the Navigator.
constexpr int kReferenceTitleStart = 26;

QString referenceTitleStart(const std::string& title)
{
    const QString text = treeText(title, kTitleLimit).simplified();
    if (text.size() <= kReferenceTitleStart)
        return text;
    const qsizetype blank = text.lastIndexOf(QLatin1Char(' '), kReferenceTitleStart);
    return text.left(blank > 0 ? blank : kReferenceTitleStart) + QStringLiteral("...");
}

bool startsWithDigit(const std::string& text)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

// Whether section `parent` holds section `child`: its number followed by a
// "." (or the same number again).
bool holdsSection(const std::string& parent, const std::string& child)
{
    return !parent.empty() && child.compare(0, parent.size(), parent) == 0
        && (child.size() == parent.size() || child[parent.size()] == '.');
}

// The number by which an entry holds its subsections: its own, or for a
// paged contents line "Appendix A. Title", which keeps its words in the
// title, the "A" after "Appendix ".
std::string nestingNumber(const ContentEntry& entry)
{
    const std::string& title = entry.title;
    if (!entry.number.empty() || title.compare(0, kAppendix.size(), kAppendix) != 0)
        return entry.number;
    const size_t start = kAppendix.size();
    size_t end = start;
    while (end < title.size() && std::isalnum(static_cast<unsigned char>(title[end])))
        ++end;
    const bool ends = end < title.size() && (title[end] == '.' || title[end] == ' ' || title[end] == ':');
    return end > start && ends ? title.substr(start, end - start) : std::string();
}

// The entry's whole number before its title ("4.1.2. Title"), as its
// heading prints it: a subsection under its parent keeps the parent's part,
// so that the reader sees which section it is without walking up the tree.
QString entryLabel(const ContentEntry& entry)
{
    const QString title = treeText(entry.title, kTitleLimit);
    std::string number = entry.number;
    if (number.empty())
        return title;
    if (number.back() == '.')
        number.pop_back();
    return QStringLiteral("%1. %2").arg(treeText(number, kNumberLimit), title);
}

// Entries numbered 1, 2, 3, ... right after an entry with a (non-zero)
// number are its subsections, numbered relative to it: they get its number
// in front of theirs.
void renumberRelativeEntries(std::vector<ContentEntry>& contents, size_t first)
{
    if (first == 0 || contents[first].number != "1")
        return;
    const std::string base = contents[first - 1].number;
    if (!startsWithDigit(base) || std::atoi(base.c_str()) == 0)
        return;
    int expected = 1;
    for (size_t k = first; k < contents.size() && contents[k].number == std::to_string(expected);
         ++k, ++expected)
        contents[k].number = base + "." + contents[k].number;
}

int addNode(TreeModel& model, int parent, const QString& label, int32_t data)
{
    model.nodes.push_back(TreeNode{parent, label, data});
    return int(model.nodes.size()) - 1;
}

} // namespace

TreeModel structureTree(RfcText& text, bool hideInvalid)
{
    TreeModel model;
    int contentsNode = -1;
    int abstractNode = -1;

    if (!text.structureFromText) {
        for (size_t i = 0; i < text.headings.size(); ++i) {
            const std::string& title = text.headings[i].title;
            const int node = addNode(model, -1, treeText(title, kTitleLimit), int32_t(i));
            if (title == "Abstract")
                abstractNode = node;
            if (title == "Table of Contents") {
                contentsNode = node;
                break;
            }
        }
    }
    if (contentsNode < 0 && !text.contents.empty())
        contentsNode = addNode(model, -1, QStringLiteral("Table of Contents"), -1);

    int lastEntryNode = -1;
    bool firstEntry = true;
    size_t nextReference = 0;
    size_t items = 0;
    for (size_t k = 0; k < text.contents.size(); ++k) {
        if (hideInvalid && text.contents[k].headingLine < 1)
            continue;
        if (items++ == kTreeItemLimit) {
            const size_t more = size_t(std::count_if(
                text.contents.begin() + std::ptrdiff_t(k), text.contents.end(),
                [hideInvalid](const ContentEntry& rest) { return !hideInvalid || rest.headingLine >= 1; }));
            addNode(model, contentsNode, moreItemText(more), kBeyondEverything);
            break;
        }
        renumberRelativeEntries(text.contents, k);
        const ContentEntry& entry = text.contents[k];

        int parent = contentsNode;
        if (!entry.number.empty()) {
            for (int walk = lastEntryNode; walk >= 0 && walk != contentsNode;
                 walk = model.nodes[size_t(walk)].parent) {
                if (holdsSection(nestingNumber(text.contents[size_t(model.nodes[size_t(walk)].data)]),
                                 entry.number)) {
                    parent = walk;
                    break;
                }
            }
        }
        const int node = addNode(model, parent, entryLabel(entry), int32_t(k));
        lastEntryNode = node;
        if (firstEntry) {
            firstEntry = false;
            model.selections.push_back(node);
        }
        if (text.structureFromText && abstractNode < 0 && entry.title == "Abstract")
            abstractNode = node;

        size_t unlisted = 0;
        for (; nextReference < text.references.size() && text.references[nextReference].section == int32_t(k);
             ++nextReference) {
            if (items >= kTreeItemLimit) {
                ++unlisted;
                continue;
            }
            ++items;
            const ReferenceEntry& reference = text.references[nextReference];
            // Each entry shows its own title, whether or not others have one.
            QString label = treeText(reference.label, kTitleLimit);
            if (!reference.title.empty())
                label += QLatin1Char(' ') + referenceTitleStart(reference.title);
            addNode(model, node, label, int32_t(nextReference));
        }
        if (unlisted > 0)
            addNode(model, node, moreItemText(unlisted), kBeyondEverything);
    }
    if (const int chosen = abstractNode >= 0 ? abstractNode : contentsNode; chosen >= 0)
        model.selections.push_back(chosen);
    return model;
}

TreeModel requirementsTree(const RfcText& text)
{
    // A leaf shows this much of its sentence; the click shows the rest.
    constexpr size_t kSentenceStart = 60;
    TreeModel model;
    const auto leafText = [&text](size_t i) {
        const RequirementSentence& requirement = text.requirements[i];
        QString start = treeText(requirement.sentence, kSentenceStart);
        if (requirement.sentence.size() > kSentenceStart)
            start += QStringLiteral("...");
        return QStringLiteral("%1: %2").arg(QString::fromStdString(requirement.keyword), start);
    };
    for (size_t k = 0; k < kRequirementKeywords.size(); ++k) {
        const char* keyword = kRequirementKeywords[k];
        const auto count =
            std::count_if(text.requirements.begin(), text.requirements.end(),
                          [keyword](const RequirementSentence& r) { return r.keyword == keyword; });
        if (count == 0)
            continue;
        const int row = addNode(model, -1, QStringLiteral("%1 (%2)").arg(QLatin1String(keyword)).arg(count),
                                keywordRowData(k));
        for (size_t i = 0; i < text.requirements.size(); ++i)
            if (text.requirements[i].keyword == keyword)
                addNode(model, row, leafText(i), int32_t(i));
    }
    int sectionNode = -1;
    int32_t section = -2;
    for (size_t i = 0; i < text.requirements.size(); ++i) {
        const RequirementSentence& requirement = text.requirements[i];
        if (requirement.section != section || sectionNode < 0) {
            section = requirement.section;
            QString label = QStringLiteral("Before the first section");
            if (section >= 0 && size_t(section) < text.sectionAnchors.size()) {
                const SectionAnchor& anchor = text.sectionAnchors[size_t(section)];
                label = anchor.number.empty()
                    ? treeText(anchor.title, kTitleLimit)
                    : QStringLiteral("%1. %2").arg(treeText(anchor.number, kNumberLimit),
                                                   treeText(anchor.title, kTitleLimit));
            }
            sectionNode = addNode(model, -1, label, -1);
        }
        addNode(model, sectionNode, leafText(i), int32_t(i));
    }
    return model;
}

int32_t keywordRowData(size_t k)
{
    return -2 - int32_t(k);
}

const char* keywordOfRow(int32_t data)
{
    const int32_t k = -2 - data;
    return k >= 0 && size_t(k) < kRequirementKeywords.size() ? kRequirementKeywords[size_t(k)] : nullptr;
}

TreeModel pageTree(const RfcText& text)
{
    TreeModel model;
    const std::vector<int32_t>& pageEnds = text.pageEnds;
    const size_t pages = pageEnds.empty() ? 0 : pageEnds.size() - 1;
    for (size_t k = 0; k < std::min(pages, kTreeItemLimit); ++k)
        addNode(model, -1, QStringLiteral("Page %1").arg(k + 1), pageEnds[k] + 1);
    if (pages > kTreeItemLimit)
        addNode(model, -1, moreItemText(pages - kTreeItemLimit), kBeyondEverything);
    return model;
}

} // namespace parchly

#include "dumps.h"

#include <chrono>
#include <iomanip>

namespace parchly {

namespace {

// Each function adds the fields of one part of the record, in the order
// every dump has printed them.

void writeFrontMatter(Json& json, const RfcText& text)
{
    json["rfcNumber"] = text.rfcNumber;
    json["title"] = jsonText(text.title);
    json["titleLine"] = text.titleLine;
    json["category"] = jsonText(text.category);
    json["groupLine"] = jsonText(text.groupLine);
    json["updates"] = text.updates;
    json["obsoletes"] = text.obsoletes;
    json["day"] = text.day;
    json["month"] = jsonText(text.month);
    json["year"] = text.year;
    Json authors = Json::array();
    for (const AuthorEntry& author : text.authors)
        authors.push_back({{"name", jsonText(author.name)}, {"organisation", jsonText(author.organisation)}});
    json["authors"] = std::move(authors);
}

void writePages(Json& json, const RfcText& text)
{
    json["lineCount"] = text.lineCount;
    json["pageCount"] = text.pageCount;
    json["pageEnds"] = text.pageEnds;
    Json marks = Json::array();
    for (const PageMark& mark : text.pageMarks)
        marks.push_back({{"line", mark.line}, {"page", mark.page}, {"isHeader", mark.isHeader}});
    json["pageMarks"] = std::move(marks);
    json["linesBeforeHeader"] = text.linesBeforeHeader;
    json["linesFromFooter"] = text.linesFromFooter;
    json["blankAfterHeader"] = text.blankAfterHeader;
    json["blankBeforeFooter"] = text.blankBeforeFooter;
    json["pageEndsNoHeaders"] = text.pageEndsNoHeaders;
    json["pageEndsNoFooters"] = text.pageEndsNoFooters;
    json["pageEndsNoHeadersFooters"] = text.pageEndsNoHeadersFooters;
    json["headerLine"] = jsonText(text.headerLine);
    json["footerPrefix"] = jsonText(text.footerPrefix);
}

void writeContents(Json& json, const RfcText& text)
{
    Json contents = Json::array();
    for (const ContentEntry& entry : text.contents) {
        contents.push_back({{"firstLine", entry.firstLine},
                            {"lastLine", entry.lastLine},
                            {"number", jsonText(entry.number)},
                            {"title", jsonText(entry.title)},
                            {"page", entry.page},
                            {"headingLine", entry.headingLine},
                            {"matched", entry.matched}});
    }
    json["contents"] = std::move(contents);
    Json headings = Json::array();
    for (const SectionHeading& heading : text.headings)
        headings.push_back({{"line", heading.line}, {"number", jsonText(heading.number)}, {"title", jsonText(heading.title)}});
    json["headings"] = std::move(headings);
    json["structureFromText"] = text.structureFromText;
}

void writeReferences(Json& json, const RfcText& text)
{
    Json references = Json::array();
    for (const ReferenceEntry& reference : text.references) {
        references.push_back({{"rfc", reference.rfc},
                              {"firstLine", reference.firstLine},
                              {"lastLine", reference.lastLine},
                              {"label", jsonText(reference.label)},
                              {"title", jsonText(reference.title)},
                              {"section", reference.section}});
    }
    json["references"] = std::move(references);
    json["referencesWithoutTitles"] = text.referencesWithoutTitles;
    Json citations = Json::array();
    for (const CitationMark& citation : text.citations) {
        citations.push_back({{"line", citation.line},
                             {"startColumn", citation.startColumn},
                             {"endColumn", citation.endColumn},
                             {"reference", citation.reference}});
    }
    json["citations"] = std::move(citations);
}

// The full lists and the series numbers of the front matter.
void writeSeries(Json& json, const RfcText& text)
{
    json["obsoletesList"] = text.obsoletesList;
    json["updatesList"] = text.updatesList;
    json["std"] = text.std;
    json["bcp"] = text.bcp;
    json["fyi"] = text.fyi;
}

} // namespace

bool dumpRfc(const std::string& path, const AnalysisOptions& options, std::ostream& out,
             std::ostream* timing)
{
    const auto start = std::chrono::steady_clock::now();
    std::optional<LineReader> file = openFile(path, out);
    if (!file)
        return false;
    RfcText text;
    const bool ok = analyseText(text, &*file, LimitsBlock(), options);
    if (timing) {
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        *timing << path << ": " << std::fixed << std::setprecision(3) << elapsed.count() << " ms\n";
    }

    Json json = dumpHead(path, ok);
    writeFrontMatter(json, text);
    writePages(json, text);
    writeContents(json, text);
    writeReferences(json, text);
    writeSeries(json, text);
    writeLine(json, out);
    return true;
}

} // namespace parchly

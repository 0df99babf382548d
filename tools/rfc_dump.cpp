#include "dumps.h"

#include <chrono>
#include <filesystem>
#include <iomanip>
#include "analysis/errata_placement.h"
#include "analysis/links.h"
#include "errata/errata_file.h"
#include "analysis/requirements_csv.h"

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
        headings.push_back({{"line", heading.line},
                            {"number", jsonText(heading.number)},
                            {"title", jsonText(heading.title)}});
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
    json["std"] = text.stdNumber;
    json["bcp"] = text.bcpNumber;
    json["fyi"] = text.fyiNumber;
}

// The links and the requirement sentences, kept together at the end of
// the record.
void writeLinksAndRequirements(Json& json, const RfcText& text)
{
    Json links = Json::array();
    for (const LinkMark& link : text.links) {
        Json entry = {{"kind", linkKindName(link.kind)},
                      {"line", link.line},
                      {"startColumn", link.startColumn},
                      {"endColumn", link.endColumn},
                      {"targetRfc", link.targetRfc},
                      {"targetSection", jsonText(link.targetSection)},
                      {"targetReference", link.targetReference},
                      {"targetLine", link.targetLine}};
        if (link.kind == LinkKind::Series) {
            entry["series"] = jsonText(link.series);
            entry["seriesNumber"] = link.seriesNumber;
        }
        links.push_back(std::move(entry));
    }
    json["links"] = std::move(links);
    Json requirements = Json::array();
    for (const RequirementSentence& requirement : text.requirements) {
        const SectionAnchor* section = requirement.section >= 0
            ? &text.sectionAnchors[static_cast<std::size_t>(requirement.section)]
            : nullptr;
        requirements.push_back({{"keyword", jsonText(requirement.keyword)},
                                {"line", requirement.line},
                                {"column", requirement.column},
                                {"section", jsonText(section ? section->number : std::string())},
                                {"sectionTitle", jsonText(section ? section->title : std::string())},
                                {"sentence", jsonText(requirement.sentence)}});
    }
    json["requirements"] = std::move(requirements);
}

// The RFC a file holds: the number its front matter gives, else the one
// of its name ("rfc791.txt"), for an RFC whose first page is unusual.
int32_t rfcNumberOfFile(const RfcText& text, const std::string& path)
{
    if (text.rfcNumber > 0)
        return text.rfcNumber;
    const std::string name = std::filesystem::path(path).filename().string();
    return name.size() > 3 ? rfcNumberOfDocId(name.substr(0, name.find('.'))) : 0;
}

} // namespace

Json rfcRecord(const RfcText& text)
{
    Json json = Json::object();
    writeFrontMatter(json, text);
    writePages(json, text);
    writeContents(json, text);
    writeReferences(json, text);
    writeSeries(json, text);
    writeLinksAndRequirements(json, text);
    return json;
}

Json errataRecord(const RfcText& text, LineReader& file, const std::string& path,
                  const ErrataCatalogue& errata)
{
    const std::vector<Erratum> ofRfc = errata.errataOf(rfcNumberOfFile(text, path));
    const std::vector<ErratumPlacement> placements = placeErrata(text, file, ofRfc);
    Json list = Json::array();
    for (std::size_t i = 0; i < ofRfc.size(); ++i) {
        list.push_back({{"id", jsonText(ofRfc[i].id)},
                        {"status", jsonText(ofRfc[i].status)},
                        {"type", jsonText(ofRfc[i].type)},
                        {"firstLine", placements[i].firstLine},
                        {"lastLine", placements[i].lastLine},
                        {"placedBy", placedByName(placements[i].placedBy)}});
    }
    return list;
}

bool dumpRfc(const std::string& path, const AnalysisOptions& options, std::ostream& out, std::ostream* timing,
             const ErrataCatalogue* errata)
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
    json.update(rfcRecord(text));
    if (errata)
        json["errata"] = errataRecord(text, *file, path, *errata);
    writeLine(json, out);
    return true;
}

bool dumpRequirementsCsv(const std::string& path, std::ostream& out)
{
    std::optional<LineReader> file = openFile(path, out);
    if (!file)
        return false;
    RfcText text;
    analyseText(text, &*file, LimitsBlock(), AnalysisOptions());
    writeRequirementsCsv(text, out);
    return true;
}

} // namespace parchly

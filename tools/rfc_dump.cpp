#include "dumps.h"
#include "json_writer.h"

#include "analysis/analyse.h"

namespace parchly {

namespace {

void writeRecord(JsonWriter& json, const RfcText& text)
{
    json.field("rfcNumber", text.rfcNumber);
    json.field("title", text.title);
    json.field("titleLine", text.titleLine);
    json.field("category", text.category);
    json.field("groupLine", text.groupLine);
    json.field("updates", text.updates);
    json.field("obsoletes", text.obsoletes);
    json.field("day", text.day);
    json.field("month", text.month);
    json.field("year", text.year);
    json.key("authors").beginArray();
    for (const AuthorEntry& author : text.authors) {
        json.beginObject();
        json.field("name", author.name);
        json.field("organisation", author.organisation);
        json.endObject();
    }
    json.endArray();
    json.field("lineCount", text.lineCount);
    json.field("pageCount", text.pageCount);
    json.intArray("pageEnds", text.pageEnds);
    json.key("pageMarks").beginArray();
    for (const PageMark& mark : text.pageMarks) {
        json.beginObject();
        json.field("line", mark.line);
        json.field("page", mark.page);
        json.field("isHeader", mark.isHeader);
        json.endObject();
    }
    json.endArray();
    json.intArray("linesBeforeHeader", text.linesBeforeHeader);
    json.intArray("linesFromFooter", text.linesFromFooter);
    json.intArray("blankAfterHeader", text.blankAfterHeader);
    json.intArray("blankBeforeFooter", text.blankBeforeFooter);
    json.intArray("pageEndsNoHeaders", text.pageEndsNoHeaders);
    json.intArray("pageEndsNoFooters", text.pageEndsNoFooters);
    json.intArray("pageEndsNoHeadersFooters", text.pageEndsNoHeadersFooters);
    json.field("headerLine", text.headerLine);
    json.field("footerPrefix", text.footerPrefix);
    json.key("contents").beginArray();
    for (const ContentEntry& entry : text.contents) {
        json.beginObject();
        json.field("firstLine", entry.firstLine);
        json.field("lastLine", entry.lastLine);
        json.field("number", entry.number);
        json.field("title", entry.title);
        json.field("page", entry.page);
        json.field("headingLine", entry.headingLine);
        json.field("matched", entry.matched);
        json.endObject();
    }
    json.endArray();
    json.key("headings").beginArray();
    for (const SectionHeading& heading : text.headings) {
        json.beginObject();
        json.field("line", heading.line);
        json.field("number", heading.number);
        json.field("title", heading.title);
        json.endObject();
    }
    json.endArray();
    json.field("structureFromText", text.structureFromText);
    json.key("references").beginArray();
    for (const ReferenceEntry& reference : text.references) {
        json.beginObject();
        json.field("rfc", reference.rfc);
        json.field("firstLine", reference.firstLine);
        json.field("lastLine", reference.lastLine);
        json.field("label", reference.label);
        json.field("title", reference.title);
        json.field("section", reference.section);
        json.endObject();
    }
    json.endArray();
    json.field("referencesWithoutTitles", text.referencesWithoutTitles);
    json.key("citations").beginArray();
    for (const CitationMark& citation : text.citations) {
        json.beginObject();
        json.field("line", citation.line);
        json.field("startColumn", citation.startColumn);
        json.field("endColumn", citation.endColumn);
        json.field("reference", citation.reference);
        json.endObject();
    }
    json.endArray();
    // The full lists and the series numbers of the front matter.
    json.intArray("obsoletesList", text.obsoletesList);
    json.intArray("updatesList", text.updatesList);
    json.field("std", text.stdNumber);
    json.field("bcp", text.bcpNumber);
    json.field("fyi", text.fyiNumber);
}

} // namespace

void dumpRfc(const std::string& path, std::ostream& out)
{
    std::optional<LineReader> file = LineReader::open(path);
    RfcText text;
    const bool ok = analyseText(text, file ? &*file : nullptr, LimitsBlock(), AnalysisOptions());

    JsonWriter json(out);
    beginDump(json, path, ok);
    writeRecord(json, text);
    json.endObject();
    json.endLine();
}

} // namespace parchly

#include "dumps.h"
#include "json_writer.h"

#include "index/index_entry.h"
#include "index/index_reader.h"

#include <optional>

namespace parchly {

namespace {

void writeNumberList(JsonWriter& json, const std::string& name, const IndexNumberList& list)
{
    json.key(name).beginArray();
    for (std::size_t k = 0; k < list.numbers.size(); ++k) {
        json.beginObject();
        json.field("number", list.numbers[k]);
        json.field("offset", list.offsets[k]);
        json.endObject();
    }
    json.endArray();
}

void writeFields(JsonWriter& json, const IndexEntryFields& fields)
{
    json.field("number", fields.number);
    json.field("title", fields.title);
    json.field("titleStart", fields.titleStart);
    json.field("format", fields.format);
    json.field("formatStart", fields.formatStart);
    writeNumberList(json, "obsoletes", fields.obsoletes);
    writeNumberList(json, "obsoletedBy", fields.obsoletedBy);
    writeNumberList(json, "updates", fields.updates);
    writeNumberList(json, "updatedBy", fields.updatedBy);
    writeNumberList(json, "also", fields.also);
    json.field("status", fields.status);
}

} // namespace

void dumpIndex(const std::string& path, std::ostream& out)
{
    std::optional<LineReader> file = LineReader::open(path);
    RfcText index;
    const bool ok = file.has_value();
    if (file)
        readIndex(index, *file);

    JsonWriter json(out);
    beginDump(json, path, ok);
    json.field("lineCount", index.lineCount);
    json.intArray("pageEnds", index.pageEnds);
    json.key("indexEntries").beginArray();
    for (const RfcIndexEntry& entry : index.indexEntries) {
        json.beginObject();
        json.field("number", entry.number);
        json.field("firstLine", entry.firstLine);
        json.field("lastLine", entry.lastLine);
        json.field("title", entry.title);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.endLine();
}

bool dumpIndexEntry(const std::string& path, int number, std::ostream& out)
{
    std::optional<LineReader> file = LineReader::open(path);
    if (!file)
        return false;
    RfcText index;
    readIndex(index, *file);
    for (const RfcIndexEntry& entry : index.indexEntries) {
        if (entry.number != number)
            continue;
        file->rewind();
        const std::string text = indexEntryText(readIndexLines(*file), entry);
        IndexEntryFields fields;
        const bool ok = parseIndexEntry(text, LimitsBlock(), fields);

        JsonWriter json(out);
        beginDump(json, path, ok);
        json.field("firstLine", entry.firstLine);
        json.field("lastLine", entry.lastLine);
        writeFields(json, fields);
        json.endObject();
        json.endLine();
        return true;
    }
    return false;
}

} // namespace parchly

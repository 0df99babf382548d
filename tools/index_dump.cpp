#include "dumps.h"

#include "index/index_entry.h"
#include "index/index_reader.h"

#include <optional>

namespace parchly {

namespace {

Json numberList(const IndexNumberList& list)
{
    Json json = Json::array();
    for (std::size_t k = 0; k < list.numbers.size(); ++k)
        json.push_back({{"number", list.numbers[k]}, {"offset", list.offsets[k]}});
    return json;
}

void writeFields(Json& json, const IndexEntryFields& fields)
{
    json["number"] = fields.number;
    json["title"] = jsonText(fields.title);
    json["titleStart"] = fields.titleStart;
    json["format"] = jsonText(fields.format);
    json["formatStart"] = fields.formatStart;
    json["obsoletes"] = numberList(fields.obsoletes);
    json["obsoletedBy"] = numberList(fields.obsoletedBy);
    json["updates"] = numberList(fields.updates);
    json["updatedBy"] = numberList(fields.updatedBy);
    json["also"] = numberList(fields.also);
    json["status"] = jsonText(fields.status);
}

} // namespace

bool dumpIndex(const std::string& path, std::ostream& out)
{
    std::optional<LineReader> file = openFile(path, out);
    if (!file)
        return false;
    RfcText index;
    readIndex(index, *file);
    const bool ok = true;

    Json json = dumpHead(path, ok);
    json["lineCount"] = index.lineCount;
    json["pageEnds"] = index.pageEnds;
    Json entries = Json::array();
    for (const RfcIndexEntry& entry : index.indexEntries) {
        entries.push_back({{"number", entry.number},
                           {"firstLine", entry.firstLine},
                           {"lastLine", entry.lastLine},
                           {"title", jsonText(entry.title)}});
    }
    json["indexEntries"] = std::move(entries);
    writeLine(json, out);
    return true;
}

bool dumpIndexEntry(const std::string& path, int number, std::ostream& out)
{
    std::optional<LineReader> file = openFile(path, out);
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

        Json json = dumpHead(path, ok);
        json["firstLine"] = entry.firstLine;
        json["lastLine"] = entry.lastLine;
        writeFields(json, fields);
        writeLine(json, out);
        return true;
    }
    return false;
}

} // namespace parchly

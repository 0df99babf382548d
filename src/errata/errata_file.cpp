#include "errata/errata_file.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace parchly {

namespace {

using Json = nlohmann::json;

// A field as text, whatever the record holds there: an id written as a
// number reads as its digits, null or a missing key as nothing.
std::string textOf(const Json& record, const char* key)
{
    const auto field = record.find(key);
    if (field == record.end() || field->is_null())
        return {};
    if (field->is_string())
        return field->get<std::string>();
    if (field->is_number_integer())
        return std::to_string(field->get<long long>());
    if (field->is_number_unsigned())
        return std::to_string(field->get<unsigned long long>());
    return field->dump();
}

bool looksLikeErratum(const Json& object)
{
    return object.is_object() && (object.contains("errata_id") || object.contains("doc-id"));
}

Erratum erratumOf(const Json& record)
{
    Erratum erratum;
    erratum.id = textOf(record, "errata_id");
    erratum.rfc = rfcNumberOfDocId(textOf(record, "doc-id"));
    erratum.status = textOf(record, "errata_status_code");
    erratum.type = textOf(record, "errata_type_code");
    erratum.section = textOf(record, "section");
    erratum.originalText = textOf(record, "orig_text");
    erratum.correctedText = textOf(record, "correct_text");
    erratum.notes = textOf(record, "notes");
    erratum.submitDate = textOf(record, "submit_date");
    erratum.submitter = textOf(record, "submitter_name");
    erratum.verifier = textOf(record, "verifier_name");
    erratum.updateDate = textOf(record, "update_date");
    return erratum;
}

std::string megabytes(std::uint64_t bytes)
{
    std::ostringstream text;
    text << (bytes + 512 * 1024) / (1024 * 1024) << " MB";
    return text.str();
}

} // namespace

int32_t rfcNumberOfDocId(std::string_view docId)
{
    std::size_t at = 0;
    while (at < docId.size() && docId[at] == ' ')
        ++at;
    if (docId.size() - at >= 3 && (docId[at] == 'R' || docId[at] == 'r')
        && (docId[at + 1] == 'F' || docId[at + 1] == 'f') && (docId[at + 2] == 'C' || docId[at + 2] == 'c')) {
        at += 3;
        while (at < docId.size() && (docId[at] == ' ' || docId[at] == '-'))
            ++at;
    }
    int32_t number = 0;
    std::size_t digits = 0;
    for (; at < docId.size() && docId[at] >= '0' && docId[at] <= '9' && digits < 6; ++at, ++digits)
        number = number * 10 + (docId[at] - '0');
    return digits > 0 && (at == docId.size() || docId[at] == ' ') ? number : 0;
}

ErrataLoad parseErrata(std::string_view json, const std::string& name)
{
    ErrataLoad load;
    // The records are taken out as the parser finishes each one and dropped
    // from the document it builds, so that a file cut short keeps what came
    // before the cut and the whole file is never held twice.
    std::vector<Json::parse_event_t> open; // the containers being read, outermost first
    bool topIsObject = false;
    const auto take = [&](int /*depth*/, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            if (open.empty())
                topIsObject = event == Json::parse_event_t::object_start;
            open.push_back(event);
            return true;
        case Json::parse_event_t::array_end:
            open.pop_back();
            return true;
        case Json::parse_event_t::object_end: {
            open.pop_back();
            // An element of the top array, or of an array the top object
            // holds ({"errata": [...]}).
            const bool inList =
                !open.empty() && open.back() == Json::parse_event_t::array_start && open.size() <= 2;
            if (!inList)
                return true;
            if (looksLikeErratum(parsed)) {
                load.errata.push_back(erratumOf(parsed));
                if (load.errata.back().id.empty() && load.errata.back().rfc == 0) {
                    load.errata.pop_back();
                    ++load.skipped;
                }
            } else
                ++load.skipped;
            return false;
        }
        case Json::parse_event_t::value:
            if (open.size() == 1 && open.back() == Json::parse_event_t::array_start)
                ++load.skipped; // a string or number where a record belongs
            return true;
        case Json::parse_event_t::key:
            return true;
        }
        return true;
    };
    Json rest;
    try {
        rest = Json::parse(json.begin(), json.end(), take);
    } catch (const Json::parse_error& error) {
        std::ostringstream message;
        if (json.find_first_not_of(" \t\r\n") == std::string_view::npos)
            message << name << " is empty.";
        else if (error.byte >= json.size())
            message << name << " ends early, at byte " << json.size() << ": it was cut short. "
                    << (load.errata.empty() ? std::string("No erratum came before the cut.")
                                            : "The " + std::to_string(load.errata.size())
                                + " errata before the cut were read.");
        else if (load.errata.empty() && error.byte <= 1)
            message << name << " is not a JSON file: it does not start as one.";
        else {
            message << name << " is damaged at byte " << error.byte << " and was read only up to there ("
                    << load.errata.size() << " errata).";
        }
        load.error = message.str();
        return load;
    }
    // A single record on its own rather than in an array.
    if (topIsObject && load.errata.empty() && looksLikeErratum(rest)) {
        load.errata.push_back(erratumOf(rest));
        return load;
    }
    if (load.errata.empty() && (topIsObject || !rest.is_array()))
        load.error = name + " holds no errata: it should be an array of erratum records.";
    return load;
}

ErrataLoad readErrataFile(const std::string& path, std::uint64_t largest)
{
    const std::string name = std::filesystem::path(path).filename().string();
    ErrataLoad load;
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error) {
        load.error = name + " cannot be read: " + error.message() + ".";
        return load;
    }
    if (size > largest) {
        load.error = name + " is " + megabytes(size)
            + ", far larger than the errata database can be (at most " + megabytes(largest)
            + "); it was not read.";
        return load;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!file || !file.read(text.data(), static_cast<std::streamsize>(size))) {
        load.error = name + " cannot be read.";
        return load;
    }
    return parseErrata(text, name);
}

} // namespace parchly

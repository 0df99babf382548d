// The dumps of parchly-analyse, each writing one JSON object per line.
#ifndef PARCHLY_TOOLS_DUMPS_H
#define PARCHLY_TOOLS_DUMPS_H

#include "analysis/analyse.h"
#include "errata/errata_catalogue.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>

namespace parchly {

// Objects keep their fields in the order they were set, so that a dump
// reads the same from one run, or one version, to the next.
using Json = nlohmann::ordered_json;

// The bytes as UTF-8 for a JSON string: valid UTF-8 sequences stay, every
// other byte becomes the Latin-1 character of the same value (0xE9 gives
// U+00E9), as the reading view decodes a line that is not UTF-8.
std::string jsonText(const std::string& bytes);

// The opening fields of every dump: the file as named and the result.
Json dumpHead(const std::string& path, bool ok);

// Writes `record` as one compact line.
void writeLine(const Json& record, std::ostream& out);

// Every field of an analysed record, as dumpRfc writes it after the opening
// fields.
Json rfcRecord(const RfcText& text);

// Analyses an RFC file and writes every field of its record, or, when the
// file cannot be read, an object with "ok": false and an "error" text.
// False in that case. When `timing` is set, the time of the analysis goes
// there as "PATH: N ms". With `errata`, the record ends with an "errata"
// array: where each erratum of the RFC applies.
bool dumpRfc(const std::string& path, const AnalysisOptions& options, std::ostream& out, std::ostream* timing,
             const ErrataCatalogue* errata = nullptr);

// The errata of the analysed RFC `text` read from `file` (named `path`),
// each with the lines it was placed at.
Json errataRecord(const RfcText& text, LineReader& file, const std::string& path,
                  const ErrataCatalogue& errata);

// Reads an index file and writes its entries; false, with an "error" object
// written, when the file cannot be read.
bool dumpIndex(const std::string& path, std::ostream& out);

// Analyses an RFC file and writes its requirements as CSV; false, with an
// "error" object written, when the file cannot be read.
bool dumpRequirementsCsv(const std::string& path, std::ostream& out);

// Writes the fields of index entry `number`; false when the file holds no
// such entry (nothing written) or cannot be read (an "error" object).
bool dumpIndexEntry(const std::string& path, int number, std::ostream& out);

// Opens a file for a dump; when it cannot be read, writes the object
// {"file", "ok": false, "error"} and returns nothing.
std::optional<LineReader> openFile(const std::string& path, std::ostream& out);

} // namespace parchly

#endif

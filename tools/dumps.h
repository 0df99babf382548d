// The dumps of parchly-analyse, each writing one JSON object per line.
#ifndef PARCHLY_TOOLS_DUMPS_H
#define PARCHLY_TOOLS_DUMPS_H

#include <ostream>
#include <string>

namespace parchly {

// Analyses an RFC file and writes every field of its record.
void dumpRfc(const std::string& path, std::ostream& out);

// Analyses an RFC file and writes its requirements as CSV.
void dumpRequirementsCsv(const std::string& path, std::ostream& out);

// Reads an index file and writes its entries.
void dumpIndex(const std::string& path, std::ostream& out);

// Writes the fields of index entry `number`; false when the file holds no
// such entry or cannot be read.
bool dumpIndexEntry(const std::string& path, int number, std::ostream& out);

} // namespace parchly

#endif

#pragma once
// Checks of written Jet files by independent readers: the mdbtools programs and the npm
// package mdb-reader (through tests/node/read-mdb.mjs). Each check says why it cannot run
// when its reader is missing, so that the test skips with that reason.

#include "support/TestSupport.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace orv::test {

// Empty when the mdbtools programs are installed, else why not.
std::string MdbtoolsMissing();
// Empty when node and the mdb-reader package are installed, else why not.
std::string MdbReaderMissing();

// The rows mdb-export prints for a table (without the header line), each a list of
// fields; a NULL is nothing, a text is its value. Dates as "YYYY-MM-DD HH:MM:SS".
// Nothing when mdb-export fails.
std::optional<std::vector<std::vector<std::optional<std::string>>>> MdbExport(const std::string& file,
                                                                               const std::string& table);

// The JSON that read-mdb.mjs prints for the file ({password, tables: {name: {columns, rows}}}),
// or nothing with the reader's complaint in error.
std::optional<nlohmann::json> MdbReaderRead(const std::string& file, std::string& error);

}  // namespace orv::test
